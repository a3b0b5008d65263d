#include "store/DatasetModel.h"

#include "store/Dataset.h"

namespace veritam {

DatasetModel::DatasetModel(Dataset& dataset, QObject* parent)
    : QAbstractTableModel(parent)
    , m_dataset(dataset) {
    connect(&dataset, &Dataset::aboutToReset, this, [this] { beginResetModel(); });
    connect(&dataset, &Dataset::wasReset, this, [this] { endResetModel(); });
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
    connect(&dataset, &Dataset::currentRowChanged, this, &DatasetModel::currentRowChanged);
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_dataset.recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_dataset.fieldNames().size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_dataset.displayText(index.row(), index.column());
    case Qt::EditRole:
        return m_dataset.rowValue(index.row(), index.column());
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        const QStringList fields = m_dataset.fieldNames();
        return section >= 0 && section < fields.size() ? QVariant(fields[section]) : QVariant();
    }
    return section + 1;
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int DatasetModel::columnOf(const QString& field) const {
    return m_dataset.fieldIndex(field);
}

} // namespace veritam
