#pragma once

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace veritam {

class SqliteConnection;

/// A named query: SQL text in lines (Jet dialect), named parameters, a static snapshot
/// of its rows with a current row, and browse/insert/edit state with the record events.
/// Row values are held in their field types: yes/no as bool, date-time as QDateTime,
/// integers as qlonglong, texts as QString, an empty value as a null QVariant.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Insert, Edit };
    enum class FieldType { Unknown, Integer, Number, Text, YesNo, DateTime };

    using Event = std::function<void(Dataset&)>;

    Dataset(SqliteConnection& connection, QString name, QStringList sqlLines = {},
            QObject* parent = nullptr);

    QString name() const { return m_name; }

    // --- SQL text and parameters
    QStringList sql() const { return m_sql; }
    void setSql(const QStringList& lines) { m_sql = lines; }
    /// Replaces the last line (the sort handlers change the ORDER BY line).
    void setLastSqlLine(const QString& line);
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;

    // --- record-query configuration
    /// Rows inserted or edited are written to `table`; only the fields that are columns of
    /// it (other than ID) are written.
    void setUpdateTable(const QString& table);
    QString updateTable() const { return m_updateTable; }
    /// Opening fails when the result lacks one of these fields.
    void setRequiredFields(const QStringList& fields) { m_requiredFields = fields; }
    /// Yes/no fields shown as "ano"/"ne" instead of "True"/"False".
    void setYesNoAsWords(const QStringList& fields);

    // --- opening
    /// Runs the SQL with the current parameters and goes to the first row; the after-scroll
    /// event follows when there is a row. Throws DatabaseError; the query is closed then.
    void open();
    void close();
    /// Re-executes: a pending edit is posted (or cancelled when nothing changed), the SQL
    /// runs again, the first row becomes current and after-scroll follows, also when empty.
    void requery();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Insert || m_state == State::Edit; }

    // --- navigation
    int recordCount() const { return static_cast<int>(m_rows.size()); }
    /// -1 when there is no row.
    int currentRow() const { return m_current; }
    bool eof() const { return m_eof; }
    void first();
    void next();
    /// Makes `row` current (posting a pending edit first); after-scroll follows.
    void setCurrentRow(int row);
    /// Makes the first row whose `field` equals `value` current and runs after-scroll
    /// (also when it was current already); false, and no move, when none matches.
    bool locate(const QString& field, const QVariant& value);

    // --- fields of the current row
    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString& field) const;
    bool hasField(const QString& field) const { return fieldIndex(field) >= 0; }
    FieldType fieldType(int column) const;
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    int integer(const QString& field) const;
    bool yesNo(const QString& field) const;
    /// Sets a field of the row being inserted or edited. Throws DatabaseError otherwise.
    void setValue(const QString& field, const QVariant& value);

    /// A value as the grids and edits show it.
    QString displayText(int row, int column) const;
    /// A date and time as the grids and edits show it.
    static QString dateTimeText(const QDateTime& moment);
    QVariant rowValue(int row, int column) const;

    // --- editing (record queries)
    void insert();
    void edit();
    /// before-post may throw SilentAbort: the row stays in edit with its values.
    void post();
    void cancel();
    /// before-delete runs first; the record rules do the deletion there and end it with
    /// SilentAbort, which reaches the caller.
    void deleteRecord();
    bool isModified() const { return !m_modified.empty(); }

    // --- record events
    Event afterInsert, afterEdit, beforePost, afterPost, afterCancel, beforeDelete, afterScroll;

signals:
    void aboutToReset();
    void wasReset();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);
    void stateChanged();

private:
    void execute();
    void requireBrowse();
    void fire(const Event& event);
    void setCurrent(int row);
    void setState(State state);
    void writeBack();
    static QVariant convert(const QVariant& stored, FieldType type);

    SqliteConnection& m_connection;
    QString m_name;
    QStringList m_sql;
    std::vector<std::pair<QString, QVariant>> m_params;
    QString m_updateTable;
    QStringList m_updateColumns;
    QStringList m_requiredFields;
    std::set<QString> m_yesNoWords;

    State m_state = State::Inactive;
    QStringList m_fields;
    std::vector<FieldType> m_types;
    std::vector<std::vector<QVariant>> m_rows;
    int m_current = -1;
    bool m_eof = true;
    std::vector<QVariant> m_original; // the row before edit, for cancel
    std::set<int> m_modified;
};

} // namespace veritam
