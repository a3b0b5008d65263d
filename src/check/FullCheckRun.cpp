#include "check/FullCheckRun.h"

#include "analysis/LogLines.h"
#include "check/CheckStep.h"
#include "check/RunWindow.h"
#include "platform/UserMessages.h"
#include "portal/PortalSession.h"
#include "portal/PortalSettings.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace veritam {

namespace {

/// Lookups in a row that may fail to reach the portal (a time limit, no connection) before
/// the portal counts as gone.
constexpr int kUnreachableInARow = 3;

} // namespace

FullCheckRun::FullCheckRun(TDM1& dm, PortalSession& session, RunWindow& window,
                           bool& autoStartRequested, bool& autoRunActive)
    : m_dm(dm)
    , m_session(session)
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

    CheckStep step(m_dm, m_session);
    step.onNote = [this](const QString& line) { m_window.addLogLine(line); };
    step.onPageRead = [this](const WatchedRecord& record) {
        if (kindTable(record.kind).pageLoadedLine)
            m_window.addLogLine(LogLines::pageLoaded());
    };
    const std::optional<CheckOutcome> login = step.logIn();
    if (login && login->result == CheckOutcome::Result::Refused)
        refuse(login->cause, login->told);
    if (!login) {
        try {
            for (RecordKind kind : kAllRecordKinds)
                pass(step, kind);
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
    m_window.addLogLine(InterruptRequested ? LogLines::runInterrupted(m_tally.checked)
                                           : LogLines::runEnded());
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

void FullCheckRun::pass(CheckStep& step, RecordKind kind) {
    const KindTable& k = kindTable(kind);
    Dataset& list = m_dm.recordQuery(kind);
    try {
        m_dm.ExecuteStatement(k.resetStatement);
        Dataset rows(m_dm.ADOConnection, QStringLiteral("Kontrola_Query"), {k.selectionStatement});
        rows.open();
        const int total = rows.recordCount();
        int done = 0;
        for (rows.first(); !rows.eof(); rows.next()) {
            pauseBeforeLookup();
            if (stopping())
                break;
            const WatchedRecord record = WatchedRecord::read(kind, rows);
            m_window.addLogLine(LogLines::visiting(record));
            checkRecord(step, record);
            if (stopping())
                break;
            ++done;
            ++m_tally.checked;
            m_window.setStatus(k.statusText + QString::number(done) + u'/' + QString::number(total),
                               static_cast<int>(kind), done, total);
        }
    } catch (...) {
        m_dm.Obnovit_Query(list);
        throw;
    }
    m_dm.Obnovit_Query(list);
    if (kind == kAllRecordKinds.back())
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

void FullCheckRun::checkRecord(CheckStep& step, const WatchedRecord& record) {
    const auto recorded = [&](const Comparison& comparison) {
        ++m_tally.changes;
        m_tally.changedRecords.push_back(
            {record.kind, record.id, LogLines::notification(record, comparison)});
        if (const QString news = LogLines::proceedings(comparison); !news.isEmpty())
            m_window.addLogLine(news[0].toUpper() + news.mid(1) + u'.');
        m_window.addSummaryLine(LogLines::summary(record, comparison));
    };
    CheckOutcome outcome;
    try {
        outcome = step.check(record, CheckStep::Mode::Compare, recorded);
    } catch (const RecordingError& e) {
        // The next record may still be recorded (another writer gone, a little room left).
        if (m_tally.unrecorded++ == 0)
            m_tally.unrecordedCause = e.cause();
        m_window.addLogLine(LogLines::unrecorded(record, e.message()));
        return;
    } catch (const std::exception& e) {
        fail(record, errorText(e));
        return;
    }
    if (outcome.result != CheckOutcome::Result::Interrupted)
        m_tally.unreachableInARow = outcome.unreachable ? m_tally.unreachableInARow + 1 : 0;
    switch (outcome.result) {
    case CheckOutcome::Result::Unchanged:
    case CheckOutcome::Result::Changed:
    case CheckOutcome::Result::Interrupted:
        return;
    case CheckOutcome::Result::Failed:
        fail(record, outcome.cause);
        if (m_tally.unreachableInARow >= kUnreachableInARow)
            refuse(QStringLiteral("Portál neodpovídá: %1 vyhledání po sobě se nepodařilo "
                                  "(stránka se nenačetla včas nebo portál nebyl dostupný). "
                                  "Zkuste kontrolu později.")
                       .arg(kUnreachableInARow));
        return;
    case CheckOutcome::Result::Refused:
        refuse(outcome.cause, outcome.told);
        return;
    }
}

void FullCheckRun::fail(const WatchedRecord& record, const QString& cause) {
    ++m_tally.failed;
    m_window.addLogLine(LogLines::failure(record, cause));
}

} // namespace veritam
