#pragma once

#include <QString>
#include <QVariant>

#include <chrono>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace veritam {

class SqliteConnection;

/// One prepared statement; finalized when it goes out of scope.
class SqliteStatement {
public:
    SqliteStatement(SqliteConnection& connection, const QString& sqliteSql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    /// Binds by name (":name") when the statement has that parameter; false otherwise.
    bool bind(const QString& name, const QVariant& value);
    /// Binds by 1-based position.
    void bind(int position, const QVariant& value);

    /// Runs to the next row; false when done. Throws SqlError.
    bool step();
    /// Runs a statement that returns no rows.
    void run();

    int columnCount() const;
    QString columnName(int column) const;
    /// The declared type of a result column that stands for a table column ("" otherwise).
    QString columnDeclaredType(int column) const;
    /// The value in its stored type: null, integer, real or text.
    QVariant value(int column) const;

private:
    SqliteConnection& m_connection;
    sqlite3_stmt* m_statement = nullptr;
};

/// The one connection to the database file; SQLite's C API behind a small RAII wrapper.
class SqliteConnection {
public:
    SqliteConnection() = default;
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    enum class Mode { OpenExisting, Create };

    /// Opens the file for reading and writing, shared with other processes: WAL journal,
    /// synchronous NORMAL and a busy timeout, so a second instance waits for a writer.
    /// Registers the functions the translated statements use. Throws DatabaseError.
    void open(const QString& path, Mode mode = Mode::OpenExisting);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }

    /// Runs one or more statements in SQLite's own dialect. Throws SqlError.
    void exec(const QString& sqliteSql);

    /// Text of the last error and its code, for SqlError.
    [[noreturn]] void throwLastError(const QString& context = {}) const;

    sqlite3* handle() const { return m_db; }

    /// How long a statement waits for another writer before it fails.
    static constexpr std::chrono::milliseconds kBusyTimeout{10000};
    void setBusyTimeout(std::chrono::milliseconds timeout);

private:
    sqlite3* m_db = nullptr;
    QString m_path;
};

/// Groups statements: commits when commit() is called, rolls back otherwise.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteConnection& connection);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    void commit();

private:
    SqliteConnection& m_connection;
    bool m_done = false;
};

} // namespace veritam
