#pragma once

#include <QString>

namespace veritam {

class PortalSession;
class TDM1;
enum class RecordKind;

/// What became of a saved record's first lookup.
struct FirstBaseline {
    enum class Result {
        Stored,      ///< baseline, snapshot, change row and change-log line are written
        NotShown,    ///< the portal does not show the object as saved: check its data
        NotLookedUp, ///< a page failed to come (a server error, the time limit): try later
        Refused      ///< the portal refused (login, no account, traffic protection): ask no more
    };
    Result result = Result::NotLookedUp;
    /// What the user is to know; empty when stored, or when the user has been told already.
    QString why;
};

/// The text of the error for an object the portal does not show.
QString objectNotShownText();

/// The baseline procedure after a record of `kind` with this ID was saved: marks it checked,
/// looks it up on the portal with the check step (logging in when the session holds no
/// login) and records its first values, in one transaction with the snapshot.
/// Throws RecordingError or DatabaseError when the first values could not be recorded.
FirstBaseline StoreFirstBaseline(TDM1& dm, PortalSession& session, RecordKind kind, int id);

} // namespace veritam
