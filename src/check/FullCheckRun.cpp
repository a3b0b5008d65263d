#include "check/FullCheckRun.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/LogLines.h"
#include "analysis/SectionExtractor.h"
#include "check/RecordLookup.h"
#include "check/RunWindow.h"
#include "platform/UserMessages.h"
#include "portal/DomRoutines.h"
#include "portal/PortalLogin.h"
#include "portal/TBrowser_Form.h"
#include "store/Dataset.h"
#include "store/RecordKind.h"
#include "store/TDM1.h"

#include <QCoreApplication>

#include <memory>

namespace veritam {

namespace {

struct PassTexts {
    const char* reset;
    const char* selection;
    const char* status; ///< followed by n "/" total
};

// The selection statements run as they stand (two blanks before "and" in the later two).
const PassTexts kPasses[] = {
    {"UPDATE parcely SET zmeny = 0",
     "SELECT parcely.* FROM parcely WHERE user_id = 1 and kontrolovat = true",
     "Průběh kontroly - hotovo parcel "},
    {"UPDATE stavby SET zmeny = 0",
     "SELECT stavby.* FROM stavby WHERE user_id = 1  and kontrolovat = true",
     "Průběh kontroly - parcely zcela hotové; stavby hotové "},
    {"UPDATE jednotky SET zmeny = 0",
     "SELECT jednotky.* FROM jednotky WHERE user_id = 1  and kontrolovat = true",
     "Průběh kontroly - parcely zcela hotové; stavby zcela hotové; jednotky hotové "},
};

} // namespace

FullCheckRun::FullCheckRun(TDM1& dm, TBrowser_Form& browserForm, TParseKatastr& sections,
                           RunWindow& window, bool& autoStartRequested, bool& autoRunActive)
    : m_dm(dm)
    , m_browserForm(browserForm)
    , m_sections(sections)
    , m_window(window)
    , m_autoStartRequested(autoStartRequested)
    , m_autoRunActive(autoRunActive) {}

void FullCheckRun::Kontrola_ButtonClick() {
    std::unique_ptr<PortalBrowser::Operation> operation;
    try {
        operation = std::make_unique<PortalBrowser::Operation>(m_browserForm.browser());
    } catch (const PortalError& e) {
        m_dm.messages().showMessage(e.message());
        return;
    }
    m_autoRunActive = m_autoStartRequested;
    m_autoStartRequested = false;
    m_running = true;
    m_changes = 0;
    m_window.setCheckButtonCaption(QStringLiteral("Kontroluji záznamy"));
    m_window.ZapnoutOvladaciZarizeni(false);
    m_window.clearSummary();
    InterruptRequested = false;
    m_window.normParcels();
    m_window.addLogLine(LogLines::runStarted());
    QCoreApplication::processEvents();

    m_browserForm.show();
    m_browserForm.hide();
    bool loggedIn = true;
    try {
        PortalLogin(m_browserForm.browser(), m_dm.dataFolder());
    } catch (const std::exception& e) {
        // The window must not stay locked after a failed login.
        m_dm.messages().showError(QString::fromUtf8(e.what()));
        loggedIn = false;
    }
    if (loggedIn) {
        try {
            pass(0, RecordKind::Parcel);
            pass(1, RecordKind::Building);
            pass(2, RecordKind::Unit);
        } catch (const std::exception&) {
            // A pass's own statements failed: the remaining passes are skipped quietly.
        }
    }
    m_window.addLogLine(LogLines::runEnded());
    m_window.setCheckButtonCaption(QStringLiteral("Zkontrolovat záznamy"));
    m_window.ZapnoutOvladaciZarizeni(true);
    m_running = false;
    operation.reset();
    if (m_window.summaryHasText())
        m_window.showSummary();
    else if (m_autoRunActive)
        m_window.quitApplication();
}

void FullCheckRun::pass(int index, RecordKind kind) {
    const PassTexts& texts = kPasses[index];
    Dataset& list = m_dm.recordQuery(kind);
    try {
        m_dm.ExecuteStatement(QString::fromUtf8(texts.reset));
        Dataset rows(m_dm.ADOConnection, QStringLiteral("Kontrola_Query"),
                     {QString::fromUtf8(texts.selection)});
        rows.open();
        const int total = rows.recordCount();
        int done = 0;
        for (rows.first(); !rows.eof(); rows.next()) {
            ClearSections(m_sections);
            if (InterruptRequested)
                break;
            m_window.addLogLine(LogLines::visiting(kind, rows));
            checkRecord(kind, rows);
            ++done;
            m_window.setStatus(QString::fromUtf8(texts.status) + QString::number(done) + u'/' +
                                   QString::number(total),
                               index, done, total);
        }
    } catch (...) {
        m_dm.Obnovit_Query(list);
        throw;
    }
    m_dm.Obnovit_Query(list);
    if (kind == RecordKind::Unit)
        m_window.setStatus(QString(), index, 0, 0);
}

void FullCheckRun::checkRecord(RecordKind kind, const Dataset& row) {
    ChangeRecorder::Progress progress;
    progress.changeLogged = [&] {
        ++m_changes;
        m_window.addSummaryLine(LogLines::summary(kind, row));
    };
    try {
        PortalBrowser& browser = m_browserForm.browser();
        searchRecord(kind, row, browser);
        if (kind != RecordKind::Unit)
            m_window.addLogLine(LogLines::pageLoaded());
        const QString page = DomRoutines::DocumentMarkup(browser);
        ExtractSections(page, m_sections);
        ChangeRecorder::CompareAndRecord(m_dm, kind, row, m_sections, page, &progress);
    } catch (const std::exception&) {
        // Reported only while nothing of a change has been written; the run goes on.
        if (!progress.contentMade)
            m_window.addLogLine(LogLines::failure(kind, row));
    }
}

} // namespace veritam
