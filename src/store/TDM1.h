#pragma once

#include "store/Dataset.h"
#include "store/DatasetModel.h"
#include "store/RecordKind.h"
#include "store/RecordRules.h"
#include "store/SqliteConnection.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace veritam {

class UserMessages;
class RecordEditorPort;

/// The data module: the one database connection, the named queries with their data
/// sources, the record rules on their events, and the shared SQL operations.
class TDM1 : public QObject {
    Q_OBJECT
public:
    TDM1(UserMessages& messages, RecordEditorPort& editor, QObject* parent = nullptr);

    /// Connects to `dataFolder` + the database file and opens the queries. Stops at the
    /// first failure and throws it (DatabaseError); what was opened stays open.
    void DataModuleCreate(const QString& dataFolder);
    void OpenDatabases();
    QString dataFolder() const { return m_dataFolder; }

    // --- shared SQL operations; statements in the Jet dialect, values already in SQL form
    /// The column's highest value as text; empty when the table has no rows.
    QString GetMaxId(const QString& table, const QString& column);
    /// "#yyyy-mm-dd hh.nn.ss#", milliseconds dropped.
    static QString DateToSql(const QDateTime& dateTime);
    void UpdateField(int id, const QString& table, const QString& column, const QString& value);
    /// Writes the record's columns in one statement, the values bound (texts as they are,
    /// yes/no as 0/1, date-times to the second).
    void UpdateFields(int id, const QString& table,
                      const std::vector<std::pair<QString, QVariant>>& values);
    /// The change flags of the kind's record `id` cleared: the user has seen its changes.
    /// Without an ID, those of every record of the kind.
    void MarkSeen(RecordKind kind, std::optional<int> id);
    void InsertChange(const QString& changeTable, const QString& referenceColumn,
                      const QString& idText, const QDateTime& when, const QString& fileName);
    /// Re-executes (or opens) the query and goes to its first row; reports any error itself.
    void Obnovit_Query(Dataset& query);

    /// A statement in a short-lived query on the shared connection. Throws DatabaseError.
    void ExecuteStatement(const QString& jetSql);
    /// A short-lived query opened on the shared connection. Throws DatabaseError.
    std::unique_ptr<Dataset> OpenStatement(const QString& jetSql);

    /// A text as an SQL literal: in single quotes, every quote inside doubled.
    static QString QuotedLiteral(const QString& text);

    Dataset& recordQuery(RecordKind kind) { return this->*kindTable(kind).recordQuery; }
    DatasetModel& recordSource(RecordKind kind) { return this->*kindTable(kind).recordSource; }
    Dataset& historyQuery(RecordKind kind) { return this->*kindTable(kind).historyQuery; }
    DatasetModel& historySource(RecordKind kind) { return this->*kindTable(kind).historySource; }

    UserMessages& messages() const { return m_messages; }

    /// The local time that checks stamp their records and changes with; tests set their
    /// own clock, so that nothing waits for a new second.
    QDateTime now() const { return m_clock(); }
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    SqliteConnection ADOConnection;
    Dataset KatastralniUzemi_Query;
    DatasetModel KatastralniUzemi_Datasource;
    Dataset Parcely_Query;
    DatasetModel Parcely_DataSource;
    Dataset Stavby_Query;
    DatasetModel Stavby_DataSource;
    Dataset Jednotky_Query;
    DatasetModel Jednotky_DataSource;
    Dataset Obce_Query;
    DatasetModel Obce_DataSource;
    Dataset CastiObce_Query;
    DatasetModel CastiObce_DataSource;
    Dataset ZmenyParcel_Query;
    DatasetModel ZmenyParcel_DataSource;
    Dataset ZmenyStaveb_Query;
    DatasetModel ZmenySTaveb_DataSource;
    Dataset ZmenyJednotek_Query;
    DatasetModel ZmenyJednotek_DataSource;
    Dataset User_Query;
    DatasetModel User_DataSource;

    RecordRules Rules;

private:
    void configureQueries();
    void reportRefreshError(const QString& className, const QString& message);

    UserMessages& m_messages;
    QString m_dataFolder;
    std::function<QDateTime()> m_clock = &QDateTime::currentDateTime;
};

} // namespace veritam
