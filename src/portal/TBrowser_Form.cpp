#include "portal/TBrowser_Form.h"

#include "portal/CzechContextMenu.h"
#include "portal/DomRoutines.h"
#include "store/RecordKind.h"

#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace veritam {

TBrowser_Form::TBrowser_Form(UserMessages& messages, const QString& dataFolder, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("Browser_Form"));
    setWindowTitle(QStringLiteral("Prohlížeč"));
    QMenu* save = menuBar()->addMenu(QStringLiteral("Uložit"));
    save->setObjectName(QStringLiteral("Pidat1"));
    const auto item = [&](const char* name, const char* caption, RecordKind kind) {
        QAction* action = save->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, kind] { emit captureRequested(kind); });
        return action;
    };
    Pidatzznam1 = item("Pidatzznam1", "Uložit parcelu", RecordKind::Parcel);
    Pidatstavbu1 = item("Pidatstavbu1", "Uložit stavbu", RecordKind::Building);
    Pidatjednotku1 = item("Pidatjednotku1", "Uložit jednotku", RecordKind::Unit);

    // Off the record: the login lives in memory for this process only.
    m_profile = new QWebEngineProfile(this);
    QWebEngineSettings* settings = m_profile->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);

    WB = new QWebEngineView(this);
    WB->setObjectName(QStringLiteral("WB"));
    WB->setPage(new QWebEnginePage(m_profile, WB));
    setCentralWidget(WB);
    CzechContextMenu::install(*WB);
    resize(886, 581 + menuBar()->sizeHint().height());

    m_browser = new PortalBrowser(*WB, messages, this);
    m_browser->setSettings(PortalSettings::load(dataFolder));
    connect(m_browser, &PortalBrowser::documentCompleted, this, &TBrowser_Form::WBDocumentComplete);
}

TBrowser_Form::~TBrowser_Form() {
    // The page must go before the profile it uses.
    delete WB;
}

void TBrowser_Form::WBDocumentComplete(const QUrl& url, const QString& failure, int httpStatus,
                                       bool unreachable) {
    if (!m_browser->settings().isPortal(url))
        return;
    if (!failure.isEmpty()) {
        // Forbidden, too many requests, unavailable: the portal refuses to be asked further.
        if (httpStatus == 403 || httpStatus == 429 || httpStatus == 503)
            m_browser->failLoad(QStringLiteral("Portál odmítl stránku %1 (%2).")
                                    .arg(url.toDisplayString(), failure),
                                PortalError::Cause::Refused);
        else if (unreachable)
            m_browser->failLoad(QStringLiteral("Portál není dostupný: stránku %1 se nepodařilo "
                                               "načíst (%2).")
                                    .arg(url.toDisplayString(), failure),
                                PortalError::Cause::Unreachable);
        else
            m_browser->failLoad(QStringLiteral("Stránku %1 se nepodařilo načíst (%2).")
                                    .arg(url.toDisplayString(), failure));
        return;
    }
    m_browser->PageLoaded = true;
    try {
        if (DomRoutines::ElementExists(*m_browser,
                                       QStringLiteral("ctl00_bodyPlaceHolder_typParcely_1")))
            DomRoutines::EnableSelectList(*m_browser,
                                          QStringLiteral("ctl00_bodyPlaceHolder_zdrojZE"));
        DomRoutines::TidyPortalPage(*m_browser);
    } catch (const PortalError&) {
        // The flag is set; the wait ends and the caller reads what the page holds.
    }
}

void TBrowser_Form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TBrowser_Form::FormShow() {
    m_browser->PageLoaded = false;
}

} // namespace veritam
