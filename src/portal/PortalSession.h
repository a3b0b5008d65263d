#pragma once

#include "analysis/PageRecognition.h"
#include "portal/PortalError.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace veritam {

struct WatchedRecord;

/// The page a lookup brought, as the browser holds it, parsed once and recognised.
struct PortalPage {
    static PortalPage read(const QString& markup, const QString& address);

    PageKind kind = PageKind::Other;
    QString markup;  ///< the page's markup followed by CR LF; the snapshot's content
    QString address; ///< where the page was shown
    std::shared_ptr<const ParsedPage> parsed;
};

enum class LoginOutcome {
    LoggedIn,
    NoCredentials, ///< none on file; the user has been told where to enter them
    Refused,       ///< the portal showed its login form again: wrong or expired credentials
};

/// The portal as the check runs, the record editor and the capture see it: log in, look a
/// record up, read what came. The embedded browser implements it; tests serve fixture pages.
class PortalSession {
public:
    virtual ~PortalSession() = default;

    /// Logs in anew with the account on file. Throws PortalError when the login pages fail,
    /// never come, or are not the portal's own.
    virtual LoginOutcome login() = 0;
    /// Brings the page the portal answers to a search for one record by its search
    /// columns. Throws PortalError.
    virtual PortalPage lookup(const WatchedRecord& record) = 0;
    /// Ends a wait under way at once with PortalError::Cause::Interrupted.
    virtual void interrupt() = 0;
    /// Shows the portal's page of one record to the user, with whatever login the session
    /// holds; nothing is read or stored. Throws PortalError.
    virtual void showObject(const WatchedRecord& record) = 0;
    /// Whether a login of this session was taken by the portal; it may have expired since.
    virtual bool loggedIn() const { return false; }

    /// Keeps a second portal operation out while one is under way, instead of letting both
    /// drive the one browser. Throws PortalError (Busy) when another one runs.
    class Operation {
    public:
        explicit Operation(PortalSession& session);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;

    private:
        PortalSession& m_session;
    };
    bool busy() const { return m_busy; }

private:
    bool m_busy = false;
};

} // namespace veritam
