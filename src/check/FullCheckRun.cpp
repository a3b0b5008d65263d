#include "check/FullCheckRun.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/LogLines.h"
#include "analysis/SectionExtractor.h"
#include "check/RunWindow.h"
#include "platform/UserMessages.h"
#include "portal/PageVerdict.h"
#include "portal/PortalSession.h"
#include "portal/PortalSettings.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"
#include "store/RecordKind.h"
#include "store/TDM1.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace veritam {

namespace {

/// Page waits in a row that may reach their time limit before the portal counts as gone.
constexpr int kTimeLimitsInARow = 3;

} // namespace

FullCheckRun::FullCheckRun(TDM1& dm, PortalSession& session, TParseKatastr& sections,
                           RunWindow& window, bool& autoStartRequested, bool& autoRunActive)
    : m_dm(dm)
    , m_session(session)
    , m_sections(sections)
    , m_window(window)
    , m_autoStartRequested(autoStartRequested)
    , m_autoRunActive(autoRunActive) {}

void FullCheckRun::Prerusit_ButtonClick() {
    InterruptRequested = true;
    if (!m_running)
        return;
    m_session.interrupt();
    if (m_pauseLoop)
        m_pauseLoop->quit();
}

void FullCheckRun::Kontrola_ButtonClick() {
    std::unique_ptr<PortalSession::Operation> operation;
    try {
        operation = std::make_unique<PortalSession::Operation>(m_session);
    } catch (const PortalError& e) {
        m_dm.messages().showMessage(e.message());
        return;
    }
    m_autoRunActive = m_autoStartRequested;
    m_autoStartRequested = false;
    m_running = true;
    m_tally = Tally();
    m_tally.pause = PortalSettings::load(m_dm.dataFolder()).pause;
    m_window.setCheckButtonCaption(QStringLiteral("Kontroluji záznamy"));
    m_window.ZapnoutOvladaciZarizeni(false);
    m_window.clearSummary();
    InterruptRequested = false;
    m_window.normParcels();
    m_window.addLogLine(LogLines::runStarted());
    QCoreApplication::processEvents();

    if (logIn()) {
        try {
            for (RecordKind kind : kAllRecordKinds)
                pass(kind);
        } catch (const std::exception& e) {
            // A pass's own statements failed: the remaining passes are skipped. The
            // database cannot be written (a full disk), so the run is no normal one.
            m_tally.writeFailure = errorText(e);
        }
    }
    if (!m_tally.refusal.isEmpty())
        m_window.addLogLine(LogLines::runRefused(m_tally.refusal));
    if (!m_tally.writeFailure.isEmpty())
        m_window.addLogLine(LogLines::runRefused(QStringLiteral("do databáze nelze zapisovat: ") +
                                                 m_tally.writeFailure));
    m_window.addLogLine(LogLines::runEnded());
    m_window.setCheckButtonCaption(QStringLiteral("Zkontrolovat záznamy"));
    m_window.ZapnoutOvladaciZarizeni(true);
    m_running = false;
    operation.reset();
    QStringList errors;
    if (!m_tally.refusal.isEmpty() && !m_tally.refusalTold)
        errors.append(QStringLiteral("Kontrola byla ukončena. ") + m_tally.refusal);
    if (!m_tally.writeFailure.isEmpty())
        errors.append(QStringLiteral("Kontrola skončila předčasně: do databáze nelze zapisovat "
                                     "(%1).")
                          .arg(m_tally.writeFailure));
    if (m_tally.unrecorded > 0)
        errors.append(QStringLiteral("Kontrola skončila s chybou: změny, které se nepodařilo "
                                     "zaznamenat: %1 (viz výpis). Příčina: %2.")
                          .arg(m_tally.unrecorded)
                          .arg(m_tally.unrecordedCause));
    if (recordingFailed())
        errors.append(QStringLiteral("Odstraňte příčinu (například uvolněte místo na disku) a "
                                     "spusťte kontrolu znovu; co se nezaznamenalo, kontrola "
                                     "najde znovu."));
    if (!errors.isEmpty())
        m_dm.messages().showError(errors.join(QStringLiteral("\n\n")));
    if (m_window.summaryHasText())
        m_window.showSummary();
    else if (m_autoRunActive)
        m_window.quitApplication();
}

void FullCheckRun::refuse(const QString& why, bool told) {
    if (!m_tally.refusal.isEmpty())
        return;
    m_tally.refusal = why;
    m_tally.refusalTold = told;
}

bool FullCheckRun::logIn() {
    try {
        switch (m_session.login()) {
        case LoginOutcome::LoggedIn:
            return true;
        case LoginOutcome::NoCredentials:
            // The login has told the user where to enter them.
            refuse(QStringLiteral("Chybí přihlašovací údaje k účtu na portálu."), true);
            return false;
        case LoginOutcome::Refused:
            refuse(loginRefusedText());
            return false;
        }
    } catch (const PortalError& e) {
        if (e.cause() != PortalError::Cause::Interrupted)
            refuse(QStringLiteral("Přihlášení k portálu se nezdařilo. ") + e.message() +
                   QStringLiteral(" Zkuste kontrolu později."));
    }
    return false;
}

void FullCheckRun::pass(RecordKind kind) {
    const KindTable& k = kindTable(kind);
    Dataset& list = m_dm.recordQuery(kind);
    try {
        m_dm.ExecuteStatement(k.resetStatement);
        Dataset rows(m_dm.ADOConnection, QStringLiteral("Kontrola_Query"), {k.selectionStatement});
        rows.open();
        const int total = rows.recordCount();
        int done = 0;
        for (rows.first(); !rows.eof(); rows.next()) {
            ClearSections(m_sections);
            pauseBeforeLookup();
            if (stopping())
                break;
            m_window.addLogLine(LogLines::visiting(kind, rows));
            checkRecord(kind, rows);
            if (stopping())
                break;
            ++done;
            m_window.setStatus(k.statusText + QString::number(done) + u'/' + QString::number(total),
                               static_cast<int>(kind), done, total);
        }
    } catch (...) {
        m_dm.Obnovit_Query(list);
        throw;
    }
    m_dm.Obnovit_Query(list);
    if (kind == RecordKind::Unit)
        m_window.setStatus(QString(), static_cast<int>(kind), 0, 0);
}

void FullCheckRun::pauseBeforeLookup() {
    // A person reading the portal takes a while per object; so does the run.
    if (m_tally.lookups++ == 0 || m_tally.pause.count() <= 0 || stopping())
        return;
    QEventLoop loop;
    m_pauseLoop = &loop;
    QTimer::singleShot(m_tally.pause, &loop, &QEventLoop::quit);
    loop.exec();
    m_pauseLoop = nullptr;
}

std::optional<PortalPage> FullCheckRun::lookUp(RecordKind kind, const Dataset& row) {
    const QStringList values = searchValues(kind, row);
    PortalPage page = m_session.lookup(kind, values);
    // The code page or the login form come only without a valid login; a page without its
    // owners may, too. Once a new login did not bring the owners back, it is not tried again.
    const bool loggedOut =
        page.kind == PageKind::LoginRequired ||
        (page.kind == PageKind::InformationWithoutOwners && !m_tally.reloginUseless);
    if (!loggedOut)
        return page;
    m_window.addLogLine(QStringLiteral("Portál žádá nové přihlášení, přihlašuji znovu."));
    if (!logIn())
        return std::nullopt;
    const PageKind before = page.kind;
    page = m_session.lookup(kind, values);
    if (before == PageKind::InformationWithoutOwners &&
        page.kind == PageKind::InformationWithoutOwners)
        m_tally.reloginUseless = true;
    return page;
}

void FullCheckRun::checkRecord(RecordKind kind, const Dataset& row) {
    const auto recorded = [&] {
        ++m_tally.changes;
        m_tally.changedRecords.emplace_back(kind, row.integer(QStringLiteral("ID")));
        m_window.addSummaryLine(LogLines::summary(kind, row));
    };
    try {
        const std::optional<PortalPage> page = lookUp(kind, row);
        if (!page)
            return;
        m_tally.timeLimitsInARow = 0;
        if (kindTable(kind).pageLoadedLine)
            m_window.addLogLine(LogLines::pageLoaded());
        switch (page->kind) {
        case PageKind::Information:
            ExtractSections(*page->parsed, m_sections);
            ChangeRecorder::CompareAndRecord(m_dm, kind, row, m_sections, page->markup, recorded);
            return;
        case PageKind::SearchForm:
        case PageKind::InformationWithoutOwners:
            fail(kind, row, whyNotComparable(*page));
            return;
        case PageKind::LoginRequired:
            refuse(QStringLiteral("Ani po novém přihlášení portál neukazuje údaje. ") +
                   whyNotComparable(*page) + u' ' + loginRefusedText());
            return;
        case PageKind::Other:
            refuse(whyNotComparable(*page) +
                   QStringLiteral(" Další dotazy by portál mohl brát jako zneužití; "
                                  "zkuste kontrolu později."));
            return;
        }
    } catch (const PortalError& e) {
        switch (e.cause()) {
        case PortalError::Cause::Interrupted:
        case PortalError::Cause::Busy:
            return;
        case PortalError::Cause::Refused:
            refuse(e.message() + QStringLiteral(" Zkuste kontrolu později."));
            return;
        case PortalError::Cause::TimeLimit:
            fail(kind, row, e.message());
            if (++m_tally.timeLimitsInARow >= kTimeLimitsInARow)
                refuse(QStringLiteral("Portál neodpovídá: %1 stránky po sobě se nenačetly včas. "
                                      "Zkuste kontrolu později.")
                           .arg(kTimeLimitsInARow));
            return;
        case PortalError::Cause::Page:
            m_tally.timeLimitsInARow = 0;
            fail(kind, row, e.message());
            return;
        }
    } catch (const RecordingError& e) {
        // The next record may still be recorded (another writer gone, a little room left).
        if (m_tally.unrecorded++ == 0)
            m_tally.unrecordedCause = e.cause();
        m_window.addLogLine(LogLines::unrecorded(kind, row, e.message()));
    } catch (const std::exception& e) {
        fail(kind, row, errorText(e));
    }
}

void FullCheckRun::fail(RecordKind kind, const Dataset& row, const QString& cause) {
    ++m_tally.failed;
    m_window.addLogLine(LogLines::failure(kind, row, cause));
}

} // namespace veritam
