#include "portal/BrowserSession.h"

#include "portal/DomRoutines.h"
#include "portal/PortalLogin.h"
#include "portal/SearchDrivers.h"
#include "portal/TBrowser_Form.h"
#include "store/WatchedRecord.h"

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

void BrowserSession::search(const WatchedRecord& record) {
    PortalBrowser& browser = m_form.browser();
    browser.clearInterrupt();
    const auto v = [&record](const char* column) {
        return record.value(QString::fromLatin1(column));
    };
    switch (record.kind) {
    case RecordKind::Parcel:
        SearchParcel(v("uzemi"), v("druh_cislovani"), v("typ_parcely"), v("puvod_parcely"),
                     v("cislo_1"), v("cislo_2"), browser);
        break;
    case RecordKind::Building:
        SearchBuilding(v("obec"), v("cast_obce"), v("typ_stavby"), v("cislo_stavby"), browser);
        break;
    case RecordKind::Unit:
        SearchUnit(v("obec"), v("cast_obce"), v("typ_stavby"), v("cislo_stavby"),
                   v("cislo_jednotky"), browser);
        break;
    }
}

PortalPage BrowserSession::lookup(const WatchedRecord& record) {
    search(record);
    PortalBrowser& browser = m_form.browser();
    return PortalPage::read(DomRoutines::DocumentMarkup(browser),
                            browser.view().url().toDisplayString());
}

void BrowserSession::showObject(const WatchedRecord& record) {
    firstUse();
    m_form.show();
    m_form.raise();
    search(record);
}

void BrowserSession::interrupt() {
    m_form.browser().interrupt();
}

} // namespace veritam
