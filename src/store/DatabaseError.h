#pragma once

#include <QString>

#include <stdexcept>

namespace veritam {

/// An error of the record store: the engine refused a statement, a file could not be
/// opened, a declared field is missing. Carries the name of its class for the
/// refresh error message, which names it.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
    virtual QString className() const { return QStringLiteral("DatabaseError"); }
};

/// An error reported by the SQLite engine for a statement.
class SqlError : public DatabaseError {
public:
    SqlError(const QString& message, int code)
        : DatabaseError(message)
        , m_code(code) {}
    int code() const { return m_code; }
    QString className() const override { return QStringLiteral("SqlError"); }
    /// The error in words a user can act on (a full disk, another writer), the engine's
    /// own text in brackets.
    QString userText() const;
    /// The disk holding the database is full.
    bool diskFull() const;

private:
    int m_code;
};

/// Any error as a user reads it: a database error in words a user can act on, any other
/// one as it says itself.
QString errorText(const std::exception& e);

/// Cancels the operation under way without any message; whoever started a user
/// action catches it and leaves the window as it was.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

} // namespace veritam
