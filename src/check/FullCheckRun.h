#pragma once

#include "store/SectionTable.h"

#include <QString>

#include <chrono>
#include <utility>
#include <vector>

class QEventLoop;

namespace veritam {

class CheckStep;
class PortalSession;
class RunWindow;
class TDM1;
struct WatchedRecord;
enum class RecordKind;

/// A record in which a run recorded a change.
struct ChangedRecord {
    RecordKind kind;
    int id;
    QString notice; ///< what changed, as a desktop notification names it
};

/// The full check run: every record marked for checking, parcels, then buildings, then
/// units, each looked up on the portal and compared with its last check. The run keeps a
/// human pace (a pause between two lookups) and stops asking the portal at its first
/// refusal: a refused login, a page that is no object's page while the visitor is logged in,
/// three lookups in a row that cannot reach the portal.
class FullCheckRun {
public:
    FullCheckRun(TDM1& dm, PortalSession& session, RunWindow& window, bool& autoStartRequested,
                 bool& autoRunActive);

    /// The run; returns when it has ended (after the change summary, if shown, was closed).
    void Kontrola_ButtonClick();
    /// "Přerušit": no further record is looked up; a page wait or pause ends at once.
    void Prerusit_ButtonClick();

    bool InterruptRequested = false;
    bool running() const { return m_running; }
    /// Changes recorded by the last run.
    int changesRecorded() const { return m_tally.changes; }
    /// Records of the last run whose check failed (not found, a server error, ...).
    int failedRecords() const { return m_tally.failed; }
    /// The records in which the last run recorded a change, in the order it found them.
    const std::vector<ChangedRecord>& changedRecords() const { return m_tally.changedRecords; }
    /// The last run could not record what it found: a change (a full disk, a database that
    /// could not be written), or anything at all.
    bool recordingFailed() const {
        return m_tally.unrecorded > 0 || !m_tally.writeFailure.isEmpty();
    }
    /// Why the portal refused and the last run stopped asking it; empty when it did not.
    QString refusal() const { return m_tally.refusal; }

private:
    bool stopping() const { return InterruptRequested || !m_tally.refusal.isEmpty(); }
    /// Ends the run at the portal's refusal; `told`: the user has been told already.
    void refuse(const QString& why, bool told = false);
    void pass(CheckStep& step, RecordKind kind);
    void pauseBeforeLookup();
    void checkRecord(CheckStep& step, const WatchedRecord& record);
    void fail(const WatchedRecord& record, const QString& cause);

    TDM1& m_dm;
    PortalSession& m_session;
    RunWindow& m_window;
    bool& m_autoStartRequested;
    bool& m_autoRunActive;
    bool m_running = false;
    /// What one run counts and decides; every run starts from a fresh one.
    struct Tally {
        int changes = 0;
        std::vector<ChangedRecord> changedRecords;
        int failed = 0;
        int unrecorded = 0;
        QString unrecordedCause; ///< of the first change not recorded
        QString writeFailure;    ///< why a pass's own statements failed
        QString refusal;
        bool refusalTold = false;
        std::chrono::seconds pause{0};
        int lookups = 0;
        int unreachableInARow = 0;
        int checked = 0; ///< records of all passes whose check came to an end
    };
    Tally m_tally;
    QEventLoop* m_pauseLoop = nullptr;
};

} // namespace veritam
