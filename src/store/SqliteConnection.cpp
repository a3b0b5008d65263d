#include "store/SqliteConnection.h"

#include "store/DatabaseError.h"
#include "store/JetFunctions.h"

#include <QDateTime>

#include <QFileInfo>
#include <QStorageInfo>

#include <sqlite3.h>

namespace veritam {

// ---------------------------------------------------------------------------
// Statement

SqliteStatement::SqliteStatement(SqliteConnection& connection, const QString& sqliteSql)
    : m_connection(connection) {
    if (!connection.isOpen())
        throw DatabaseError(QStringLiteral("Databáze není otevřená."));
    const QByteArray utf8 = sqliteSql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(connection.handle(), utf8.constData(), static_cast<int>(utf8.size()),
                           &m_statement, &tail) != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        connection.throwLastError();
    }
    if (!m_statement)
        throw SqlError(QStringLiteral("Prázdný příkaz SQL."), SQLITE_MISUSE);
    // One statement per query object, as a query holds one SQL text.
    for (; tail && *tail; ++tail) {
        if (!QChar::isSpace(static_cast<unsigned char>(*tail)) && *tail != ';') {
            sqlite3_finalize(m_statement);
            m_statement = nullptr;
            throw SqlError(QStringLiteral("Characters found after end of SQL statement."),
                           SQLITE_ERROR);
        }
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

bool SqliteStatement::bind(const QString& name, const QVariant& value) {
    const int position = sqlite3_bind_parameter_index(m_statement, name.toUtf8().constData());
    if (position == 0)
        return false;
    bind(position, value);
    return true;
}

void SqliteStatement::bind(int position, const QVariant& value) {
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_statement, position);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(m_statement, position, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short:
            rc = sqlite3_bind_int64(m_statement, position, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_statement, position, value.toDouble());
            break;
        case QMetaType::QDateTime: {
            const QByteArray text =
                value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
            rc = sqlite3_bind_text(m_statement, position, text.constData(),
                                   static_cast<int>(text.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_statement, position, text.constData(),
                                   static_cast<int>(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        m_connection.throwLastError();
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_connection.throwLastError();
}

void SqliteStatement::run() {
    // Left reset, with its bindings, so that it can be bound and run again.
    struct ResetOnExit {
        sqlite3_stmt* statement;
        ~ResetOnExit() { sqlite3_reset(statement); }
    } reset{m_statement};
    while (step()) {
    }
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(m_statement);
}

QString SqliteStatement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(m_statement, column));
}

QString SqliteStatement::columnDeclaredType(int column) const {
    const char* type = sqlite3_column_decltype(m_statement, column);
    return type ? QString::fromUtf8(type).toUpper() : QString();
}

QVariant SqliteStatement::value(int column) const {
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant::fromValue<qlonglong>(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
    }
    }
}

// ---------------------------------------------------------------------------
// Errors

QString SqlError::userText() const {
    const QString text = message();
    switch (m_code & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("na disku není volné místo (%1)").arg(text);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("databázi právě zapisuje jiný program (%1)").arg(text);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return QStringLiteral("do databáze nelze zapisovat (%1)").arg(text);
    case SQLITE_IOERR:
        return QStringLiteral("chyba čtení nebo zápisu databáze (%1)").arg(text);
    default:
        return text;
    }
}

bool SqlError::diskFull() const {
    return (m_code & 0xff) == SQLITE_FULL;
}

QString errorText(const std::exception& e) {
    if (const auto* sql = dynamic_cast<const SqlError*>(&e))
        return sql->userText();
    return QString::fromUtf8(e.what());
}

// ---------------------------------------------------------------------------
// Connection

namespace {

/// The code of an error met while opening `path`: the journal files that cannot be made on
/// a full disk give an input/output error, which is the full disk.
int onFullDisk(const QString& path, int code) {
    // Less than the journal's index needs.
    constexpr qint64 kRoomToOpen = 64 * 1024;
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    const int primary = code & 0xff;
    if ((primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN) && disk.isValid() &&
        disk.bytesAvailable() < kRoomToOpen)
        return SQLITE_FULL;
    return code;
}

} // namespace

SqliteConnection::~SqliteConnection() {
    close();
}

void SqliteConnection::open(const QString& path, Mode mode) {
    close();
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::Create)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString text =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw SqlError(QStringLiteral("Databázi %1 nelze otevřít: %2").arg(path, text),
                       onFullDisk(path, rc));
    }
    m_db = db;
    m_path = path;
    sqlite3_extended_result_codes(m_db, 1);
    setBusyTimeout(kBusyTimeout);
    try {
        // The journal mode reads the file header, so a file that is no database fails here.
        exec(QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"));
        JetFunctions::registerAll(m_db);
    } catch (const SqlError& e) {
        const int code = e.code();
        close();
        throw SqlError(QStringLiteral("Databázi %1 nelze otevřít: %2").arg(path, e.message()),
                       onFullDisk(path, code));
    }
}

void SqliteConnection::setBusyTimeout(std::chrono::milliseconds timeout) {
    sqlite3_busy_timeout(m_db, static_cast<int>(timeout.count()));
}

void SqliteConnection::close() {
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void SqliteConnection::exec(const QString& sqliteSql) {
    if (!m_db)
        throw DatabaseError(QStringLiteral("Databáze není otevřená."));
    char* error = nullptr;
    if (sqlite3_exec(m_db, sqliteSql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
        sqlite3_free(error);
        throw SqlError(text, sqlite3_extended_errcode(m_db));
    }
}

void SqliteConnection::throwLastError(const QString& context) const {
    const QString text = QString::fromUtf8(sqlite3_errmsg(m_db));
    throw SqlError(context.isEmpty() ? text : context + QStringLiteral(": ") + text,
                   sqlite3_extended_errcode(m_db));
}

// ---------------------------------------------------------------------------
// Transaction

SqliteTransaction::SqliteTransaction(SqliteConnection& connection)
    : m_connection(connection) {
    // IMMEDIATE takes the write lock now, so a busy peer is waited for before any change.
    m_connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

SqliteTransaction::~SqliteTransaction() {
    if (!m_done) {
        try {
            m_connection.exec(QStringLiteral("ROLLBACK"));
        } catch (const DatabaseError&) {
            // The engine already rolled back (it does so on some errors).
        }
    }
}

void SqliteTransaction::commit() {
    m_connection.exec(QStringLiteral("COMMIT"));
    m_done = true;
}

} // namespace veritam
