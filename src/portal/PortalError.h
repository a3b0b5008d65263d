#pragma once

#include <QString>

#include <stdexcept>

namespace veritam {

/// A portal operation that cannot go on. The message is the user's to read; the cause
/// tells a caller whether to go on with the next record or to stop asking the portal.
class PortalError : public std::runtime_error {
public:
    enum class Cause {
        Page,        ///< this page failed: a server error, a missing control, no document
        TimeLimit,   ///< no page came within the time limit
        Unreachable, ///< the portal cannot be reached: connection refused or reset, no name,
                     ///< an answer broken off
        Refused,     ///< the portal refuses: traffic protection, maintenance, an unsafe page
        Interrupted, ///< the user interrupted the operation, or the program is ending
        Busy,        ///< another portal operation is under way
    };

    explicit PortalError(const QString& message, Cause cause = Cause::Page)
        : std::runtime_error(message.toStdString())
        , m_cause(cause) {}
    QString message() const { return QString::fromStdString(what()); }
    Cause cause() const { return m_cause; }

private:
    Cause m_cause;
};

} // namespace veritam
