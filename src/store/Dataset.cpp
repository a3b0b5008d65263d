#include "store/Dataset.h"

#include "store/DatabaseError.h"
#include "store/JetSql.h"
#include "store/SqliteConnection.h"

#include <QDateTime>

namespace veritam {

namespace {

// The regional short date and long time of a Czech desktop.
const QString kDateTimeFormat = QStringLiteral("d.M.yyyy H:mm:ss");
const QString kStoredDateTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

Dataset::FieldType typeFromDeclaration(const QString& declared) {
    using T = Dataset::FieldType;
    if (declared.contains(QLatin1String("BOOL")))
        return T::YesNo;
    if (declared.contains(QLatin1String("DATE")) || declared.contains(QLatin1String("TIME")))
        return T::DateTime;
    if (declared.contains(QLatin1String("INT")))
        return T::Integer;
    if (declared.contains(QLatin1String("CHAR")) || declared.contains(QLatin1String("TEXT")))
        return T::Text;
    if (declared.contains(QLatin1String("REAL")) || declared.contains(QLatin1String("DOUB")) ||
        declared.contains(QLatin1String("FLOA")) || declared.contains(QLatin1String("NUM")))
        return T::Number;
    return T::Unknown;
}

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    bool okA = false, okB = false;
    const bool numericA = a.typeId() != QMetaType::QString;
    const bool numericB = b.typeId() != QMetaType::QString;
    if (numericA || numericB) {
        const double da = a.toDouble(&okA);
        const double db = b.toDouble(&okB);
        if (okA && okB)
            return da == db;
    }
    return a.toString() == b.toString();
}

} // namespace

Dataset::Dataset(SqliteConnection& connection, QString name, QStringList sqlLines, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
    , m_name(std::move(name))
    , m_sql(std::move(sqlLines)) {
    setObjectName(m_name);
}

void Dataset::setLastSqlLine(const QString& line) {
    if (m_sql.isEmpty())
        m_sql.append(line);
    else
        m_sql.last() = line;
}

void Dataset::setParam(const QString& name, const QVariant& value) {
    for (auto& [key, v] : m_params) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            v = value;
            return;
        }
    }
    m_params.emplace_back(name, value);
}

QVariant Dataset::param(const QString& name) const {
    for (const auto& [key, v] : m_params)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return v;
    return {};
}

void Dataset::setUpdateTable(const QString& table) {
    m_updateTable = table;
    m_updateColumns.clear();
}

void Dataset::setYesNoAsWords(const QStringList& fields) {
    m_yesNoWords.clear();
    for (const QString& f : fields)
        m_yesNoWords.insert(f.toLower());
}

// ---------------------------------------------------------------------------
// Opening

void Dataset::execute() {
    SqliteStatement statement(m_connection, JetSql::toSqlite(m_sql.join(QStringLiteral("\r\n"))));
    for (const auto& [key, v] : m_params)
        statement.bind(u':' + key, v);

    QStringList fields;
    std::vector<FieldType> types;
    for (int c = 0; c < statement.columnCount(); ++c) {
        fields.append(statement.columnName(c));
        types.push_back(typeFromDeclaration(statement.columnDeclaredType(c)));
    }
    for (const QString& required : m_requiredFields) {
        if (!fields.contains(required, Qt::CaseInsensitive))
            throw DatabaseError(QStringLiteral("%1: Field '%2' not found").arg(m_name, required));
    }
    std::vector<std::vector<QVariant>> rows;
    while (statement.step()) {
        std::vector<QVariant> row;
        row.reserve(fields.size());
        for (int c = 0; c < fields.size(); ++c)
            row.push_back(convert(statement.value(c), types[static_cast<std::size_t>(c)]));
        rows.push_back(std::move(row));
    }

    emit aboutToReset();
    m_fields = std::move(fields);
    m_types = std::move(types);
    m_rows = std::move(rows);
    m_current = m_rows.empty() ? -1 : 0;
    m_eof = m_rows.empty();
    m_modified.clear();
    m_original.clear();
    m_state = State::Browse;
    emit wasReset();
    emit stateChanged();
    emit currentRowChanged(m_current);
}

QVariant Dataset::convert(const QVariant& stored, FieldType type) {
    if (stored.isNull())
        return stored;
    switch (type) {
    case FieldType::YesNo:
        return QVariant(stored.toLongLong() != 0);
    case FieldType::DateTime: {
        QDateTime dt = QDateTime::fromString(stored.toString(), kStoredDateTime);
        if (!dt.isValid())
            dt = QDateTime::fromString(stored.toString(), Qt::ISODate);
        return dt.isValid() ? QVariant(dt) : stored;
    }
    default:
        return stored;
    }
}

void Dataset::open() {
    if (isOpen())
        return;
    try {
        execute();
    } catch (...) {
        close();
        throw;
    }
    if (!m_rows.empty())
        fire(afterScroll);
}

void Dataset::close() {
    const bool wasOpen = isOpen() || !m_fields.isEmpty();
    if (wasOpen)
        emit aboutToReset();
    m_state = State::Inactive;
    m_rows.clear();
    m_fields.clear();
    m_types.clear();
    m_current = -1;
    m_eof = true;
    m_modified.clear();
    m_original.clear();
    if (wasOpen) {
        emit wasReset();
        emit stateChanged();
    }
}

void Dataset::requery() {
    if (isEditing()) {
        if (isModified())
            post();
        else
            cancel();
    }
    try {
        execute();
    } catch (...) {
        close();
        throw;
    }
    fire(afterScroll);
}

// ---------------------------------------------------------------------------
// Navigation

void Dataset::fire(const Event& event) {
    if (event)
        event(*this);
}

void Dataset::setCurrent(int row) {
    m_current = row;
    m_eof = row < 0;
    emit currentRowChanged(row);
}

void Dataset::setState(State state) {
    if (m_state != state) {
        m_state = state;
        emit stateChanged();
    }
}

void Dataset::first() {
    if (m_rows.empty()) {
        m_eof = true;
        return;
    }
    if (isEditing())
        post();
    setCurrent(0);
    fire(afterScroll);
}

void Dataset::next() {
    if (m_current + 1 >= recordCount()) {
        m_eof = true;
        return;
    }
    setCurrentRow(m_current + 1);
}

void Dataset::setCurrentRow(int row) {
    if (row < 0 || row >= recordCount() || row == m_current)
        return;
    if (isEditing())
        post();
    setCurrent(row);
    fire(afterScroll);
}

bool Dataset::locate(const QString& field, const QVariant& value) {
    const int column = fieldIndex(field);
    if (column < 0)
        throw DatabaseError(QStringLiteral("%1: Field '%2' not found").arg(m_name, field));
    for (int r = 0; r < recordCount(); ++r) {
        if (sameValue(m_rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(column)],
                      value)) {
            if (isEditing() && r != m_current)
                post();
            setCurrent(r);
            fire(afterScroll);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// Fields

int Dataset::fieldIndex(const QString& field) const {
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Dataset::FieldType Dataset::fieldType(int column) const {
    return column >= 0 && column < static_cast<int>(m_types.size())
               ? m_types[static_cast<std::size_t>(column)]
               : FieldType::Unknown;
}

QVariant Dataset::rowValue(int row, int column) const {
    if (row < 0 || row >= recordCount() || column < 0 || column >= m_fields.size())
        return {};
    return m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

QVariant Dataset::value(const QString& field) const {
    const int column = fieldIndex(field);
    if (column < 0)
        throw DatabaseError(QStringLiteral("%1: Field '%2' not found").arg(m_name, field));
    return rowValue(m_current, column);
}

QString Dataset::text(const QString& field) const {
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QDateTime)
        return dateTimeText(v.toDateTime());
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return v.toString();
}

int Dataset::integer(const QString& field) const {
    return value(field).toInt();
}

bool Dataset::yesNo(const QString& field) const {
    return value(field).toBool();
}

void Dataset::setValue(const QString& field, const QVariant& value) {
    if (!isEditing())
        throw DatabaseError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(m_name));
    const int column = fieldIndex(field);
    if (column < 0)
        throw DatabaseError(QStringLiteral("%1: Field '%2' not found").arg(m_name, field));
    QVariant v = value;
    // An edit box cleared by the user is an empty value, not a text of length zero.
    if (v.typeId() == QMetaType::QString && v.toString().isEmpty() &&
        fieldType(column) != FieldType::Text)
        v = QVariant();
    if (fieldType(column) == FieldType::Integer && v.typeId() == QMetaType::QString) {
        bool whole = false;
        const qlonglong number = v.toString().trimmed().toLongLong(&whole);
        if (!whole)
            throw DatabaseError(
                QStringLiteral("„%1“ není celé číslo; pole %2 přijímá jen celá čísla.")
                    .arg(v.toString(), field));
        v = number;
    }
    m_rows[static_cast<std::size_t>(m_current)][static_cast<std::size_t>(column)] =
        convert(v, fieldType(column));
    m_modified.insert(column);
    emit rowChanged(m_current);
}

QString Dataset::dateTimeText(const QDateTime& moment) {
    return moment.toString(kDateTimeFormat);
}

QString Dataset::displayText(int row, int column) const {
    const QVariant v = rowValue(row, column);
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::Bool) {
        if (m_yesNoWords.count(m_fields[column].toLower()))
            return v.toBool() ? QStringLiteral("ano") : QStringLiteral("ne");
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    }
    if (v.typeId() == QMetaType::QDateTime)
        return dateTimeText(v.toDateTime());
    return v.toString();
}

// ---------------------------------------------------------------------------
// Editing

void Dataset::requireBrowse() {
    if (!isOpen())
        throw DatabaseError(
            QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(m_name));
    if (isEditing())
        post();
}

void Dataset::insert() {
    requireBrowse();
    const int row = std::max(m_current, 0);
    emit rowAboutToBeInserted(row);
    m_rows.insert(m_rows.begin() + row, std::vector<QVariant>(m_fields.size()));
    m_original.clear();
    m_modified.clear();
    emit rowInserted(row);
    setCurrent(row);
    setState(State::Insert);
    fire(afterInsert);
    fire(afterScroll);
}

void Dataset::edit() {
    if (isEditing())
        return;
    requireBrowse();
    if (m_current < 0)
        throw DatabaseError(QStringLiteral("%1: Cannot edit an empty dataset").arg(m_name));
    m_original = m_rows[static_cast<std::size_t>(m_current)];
    m_modified.clear();
    setState(State::Edit);
    fire(afterEdit);
}

void Dataset::post() {
    if (!isEditing())
        return;
    fire(beforePost);
    writeBack();
    m_modified.clear();
    m_original.clear();
    setState(State::Browse);
    emit rowChanged(m_current);
    fire(afterPost);
}

void Dataset::writeBack() {
    if (m_updateTable.isEmpty())
        throw DatabaseError(QStringLiteral("%1: Dataset is read-only").arg(m_name));
    if (m_updateColumns.isEmpty()) {
        SqliteStatement info(m_connection,
                             QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
        info.bind(1, m_updateTable);
        while (info.step())
            m_updateColumns.append(info.value(0).toString());
    }
    QStringList columns;
    std::vector<QVariant> values;
    for (const int column : m_modified) {
        const QString& name = m_fields[column];
        if (name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 ||
            !m_updateColumns.contains(name, Qt::CaseInsensitive))
            continue;
        QVariant v = m_rows[static_cast<std::size_t>(m_current)][static_cast<std::size_t>(column)];
        if (fieldType(column) == FieldType::YesNo && v.isNull())
            v = false; // yes/no is never empty
        columns.append(u'"' + name + u'"');
        values.push_back(v);
    }
    QString sql;
    if (m_state == State::Insert) {
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(m_updateTable);
        } else {
            QStringList marks;
            for (qsizetype i = 0; i < columns.size(); ++i)
                marks.append(QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                      .arg(m_updateTable, columns.join(u','), marks.join(u','));
        }
    } else {
        if (columns.isEmpty())
            return;
        QStringList sets;
        for (const QString& c : columns)
            sets.append(c + QStringLiteral(" = ?"));
        sql = QStringLiteral("UPDATE \"%1\" SET %2 WHERE ID = ?")
                  .arg(m_updateTable, sets.join(QStringLiteral(", ")));
        const int idColumn = fieldIndex(QStringLiteral("ID"));
        values.push_back(idColumn >= 0 ? m_original[static_cast<std::size_t>(idColumn)]
                                       : QVariant());
    }
    SqliteStatement statement(m_connection, sql);
    for (std::size_t i = 0; i < values.size(); ++i)
        statement.bind(static_cast<int>(i) + 1, values[i]);
    statement.run();
}

void Dataset::cancel() {
    if (!isEditing())
        return;
    if (m_state == State::Insert) {
        const int row = m_current;
        emit rowAboutToBeRemoved(row);
        m_rows.erase(m_rows.begin() + row);
        emit rowRemoved(row);
        m_modified.clear();
        setState(State::Browse);
        setCurrent(std::min(row, recordCount() - 1));
        fire(afterCancel);
        // The current row is another one now; its followers must follow it.
        fire(afterScroll);
        return;
    }
    m_rows[static_cast<std::size_t>(m_current)] = m_original;
    m_original.clear();
    m_modified.clear();
    setState(State::Browse);
    emit rowChanged(m_current);
    fire(afterCancel);
}

void Dataset::deleteRecord() {
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (isEditing())
        cancel();
    if (!isOpen() || m_current < 0)
        throw DatabaseError(QStringLiteral("%1: Cannot delete from an empty dataset").arg(m_name));
    fire(beforeDelete);
    if (m_updateTable.isEmpty())
        throw DatabaseError(QStringLiteral("%1: Dataset is read-only").arg(m_name));
    SqliteStatement statement(m_connection,
                              QStringLiteral("DELETE FROM \"%1\" WHERE ID = ?").arg(m_updateTable));
    statement.bind(1, value(QStringLiteral("ID")));
    statement.run();
    const int row = m_current;
    emit rowAboutToBeRemoved(row);
    m_rows.erase(m_rows.begin() + row);
    emit rowRemoved(row);
    setCurrent(std::min(row, recordCount() - 1));
    fire(afterScroll);
}

} // namespace veritam
