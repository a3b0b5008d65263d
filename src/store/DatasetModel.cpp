#include "store/DatasetModel.h"

#include "store/Dataset.h"

namespace veritam {

DatasetModel::DatasetModel(Dataset& dataset, QObject* parent)
    : QAbstractTableModel(parent)
    , m_dataset(dataset) {
    connect(&dataset, &Dataset::aboutToReset, this, [this] { beginResetModel(); });
    connect(&dataset, &Dataset::wasReset, this, [this] {
        mapColumns();
        endResetModel();
    });
    connect(&dataset, &Dataset::rowAboutToBeInserted, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(&dataset, &Dataset::rowInserted, this, [this](int) { endInsertRows(); });
    connect(&dataset, &Dataset::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(&dataset, &Dataset::rowRemoved, this, [this](int) { endRemoveRows(); });
    connect(&dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount() && columnCount() > 0)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(&dataset, &Dataset::currentRowChanged, this, [this](int row) {
        // Only the indicator of the row left and of the row entered change.
        for (const int r : {m_indicatorRow, row})
            if (r >= 0 && r < rowCount())
                emit headerDataChanged(Qt::Vertical, r, r);
        m_indicatorRow = row;
        emit currentRowChanged(row);
    });
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_dataset.recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_columns.isEmpty() ? m_dataset.fieldNames().size() : m_columns.size());
}

void DatasetModel::setColumns(QList<Column> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    mapColumns();
    endResetModel();
}

void DatasetModel::mapColumns() {
    // Looked up once per reset, not for every cell painted.
    m_datasetColumns.clear();
    for (const Column& c : m_columns)
        m_datasetColumns.push_back(m_dataset.fieldIndex(c.field));
}

QString DatasetModel::fieldOf(int column) const {
    if (!m_columns.isEmpty())
        return column >= 0 && column < m_columns.size() ? m_columns[column].field : QString();
    const QStringList fields = m_dataset.fieldNames();
    return column >= 0 && column < fields.size() ? fields[column] : QString();
}

int DatasetModel::datasetColumn(int column) const {
    if (m_columns.isEmpty())
        return column;
    return column >= 0 && column < static_cast<int>(m_datasetColumns.size())
               ? m_datasetColumns[static_cast<std::size_t>(column)]
               : -1;
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int column = datasetColumn(index.column());
    if (column < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_dataset.displayText(index.row(), column);
    case Qt::EditRole:
        return m_dataset.rowValue(index.row(), column);
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (!m_columns.isEmpty())
            return section >= 0 && section < m_columns.size() ? QVariant(m_columns[section].title)
                                                              : QVariant();
        return fieldOf(section).isEmpty() ? QVariant() : QVariant(fieldOf(section));
    }
    // The row indicator marks the current row.
    return section == m_dataset.currentRow() ? QStringLiteral("\u25B8") : QString();
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const bool editable = m_dataset.isEditing() && index.row() == m_dataset.currentRow();
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable |
           (editable ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int column = datasetColumn(index.column());
    if (column < 0)
        return false;
    m_dataset.setValue(m_dataset.fieldNames()[column], value);
    return true;
}

int DatasetModel::columnOf(const QString& field) const {
    if (m_columns.isEmpty())
        return m_dataset.fieldIndex(field);
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].field.compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

} // namespace veritam
