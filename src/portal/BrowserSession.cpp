#include "portal/BrowserSession.h"

#include "portal/DomRoutines.h"
#include "portal/PortalLogin.h"
#include "portal/SearchDrivers.h"
#include "portal/TBrowser_Form.h"
#include "store/RecordKind.h"

#include <QWebEngineView>

#include <utility>

namespace veritam {

BrowserSession::BrowserSession(TBrowser_Form& form, QString dataFolder)
    : m_form(form)
    , m_dataFolder(std::move(dataFolder)) {}

void BrowserSession::firstUse() {
    if (const std::function<void()> once = std::exchange(m_beforeFirstUse, {}))
        once();
}

LoginOutcome BrowserSession::login() {
    firstUse();
    PortalBrowser& browser = m_form.browser();
    browser.clearInterrupt();
    browser.setSettings(PortalSettings::load(m_dataFolder));
    m_form.show();
    m_form.hide();
    m_loggedIn = false;
    const LoginOutcome outcome = PortalLogin(browser, m_dataFolder);
    m_loggedIn = outcome == LoginOutcome::LoggedIn;
    return outcome;
}

void BrowserSession::search(RecordKind kind, const QStringList& values) {
    PortalBrowser& browser = m_form.browser();
    browser.clearInterrupt();
    const auto v = [&values](int i) { return values.value(i); };
    switch (kind) {
    case RecordKind::Parcel:
        SearchParcel(v(0), v(1), v(2), v(3), v(4), v(5), browser);
        break;
    case RecordKind::Building:
        SearchBuilding(v(0), v(1), v(2), v(3), browser);
        break;
    case RecordKind::Unit:
        SearchUnit(v(0), v(1), v(2), v(3), v(4), browser);
        break;
    }
}

PortalPage BrowserSession::lookup(RecordKind kind, const QStringList& values) {
    search(kind, values);
    PortalBrowser& browser = m_form.browser();
    return PortalPage::read(DomRoutines::DocumentMarkup(browser),
                            browser.view().url().toDisplayString());
}

void BrowserSession::showObject(RecordKind kind, const QStringList& values) {
    firstUse();
    m_form.show();
    m_form.raise();
    search(kind, values);
}

void BrowserSession::interrupt() {
    m_form.browser().interrupt();
}

} // namespace veritam
