#pragma once

#include "analysis/ChangeRecorder.h"

#include <QString>

#include <functional>
#include <optional>

namespace veritam {

class PortalSession;
class TDM1;
struct WatchedRecord;

/// What the check of one record came to.
struct CheckOutcome {
    enum class Result {
        Unchanged,   ///< compared, nothing differs
        Changed,     ///< a change was recorded (or the first values were stored)
        Failed,      ///< this record alone: not found, an odd page, a server error
        Refused,     ///< the portal refuses: no further request is to be made
        Interrupted, ///< the user interrupted, or the program is ending
    };
    Result result = Result::Unchanged;
    Comparison comparison;    ///< Changed: what did
    QString cause;            ///< Failed, Refused: why, in a sentence for the user
    bool notShown = false;    ///< Failed: the portal answered, but not with the object's page
    bool unreachable = false; ///< Failed: no page came (time limit, no connection)
    bool told = false;        ///< Refused: the user has been told already

    static CheckOutcome failed(const QString& cause, bool notShown = false);
    static CheckOutcome interrupted(const QString& cause);
    static CheckOutcome refused(const QString& cause, bool told = false);
};

/// The check of one record, the same for the full run, the single check and the editor's
/// first lookup: look the record up, recognise the page, cut its sections, compare them
/// with the stored values and record a change. When the portal shows the login gone, the
/// step logs in once more and repeats the lookup; a page that is no object's page is never
/// compared. One step serves one operation: what it learnt of the login lasts that long.
class CheckStep {
public:
    enum class Mode {
        Compare,     ///< with the values stored at the last check
        FirstValues, ///< a new record: its first values, no comparison and no flags
    };

    CheckStep(TDM1& dm, PortalSession& session);

    /// Logs in anew; nothing when the portal took the login, else the outcome that ends the
    /// operation (Refused or Interrupted).
    std::optional<CheckOutcome> logIn();
    /// The same unless the session holds a login already.
    std::optional<CheckOutcome> logInUnlessLoggedIn();

    /// Checks one record. Throws RecordingError when a change was found but not recorded,
    /// and the database's error when the check could not be written.
    CheckOutcome check(const WatchedRecord& record, Mode mode = Mode::Compare,
                       const std::function<void(const Comparison&)>& recorded = {});

    /// A line for the run log ("přihlašuji znovu").
    std::function<void(const QString&)> onNote;
    /// The lookup of the record brought a page to read (the run log says so).
    std::function<void(const WatchedRecord&)> onPageRead;

private:
    /// One lookup; nothing when the page shows the login gone.
    std::optional<CheckOutcome> once(const WatchedRecord& record, Mode mode,
                                     const std::function<void(const Comparison&)>& recorded);

    TDM1& m_dm;
    PortalSession& m_session;
    bool m_renewing = false;
    /// A page without owners came again after a new login: such pages are no sign of an
    /// expired login here.
    bool m_reloginUseless = false;
};

} // namespace veritam
