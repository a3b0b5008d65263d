#pragma once

#include <QAbstractTableModel>

#include <vector>

namespace veritam {

class Dataset;

/// The data source of a named query: the Qt model that grids and edits bind to.
/// Columns are the query's fields, headers their names; it formats and notifies, nothing more.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(Dataset& dataset, QObject* parent = nullptr);

    Dataset& dataset() const { return m_dataset; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    /// DisplayRole: the value as shown; EditRole: the value in its field type.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// EditRole on the row being inserted or edited: the field's new value. Throws
    /// DatabaseError for a value the field cannot hold (a text in a whole-number field).
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    /// Shows only these fields, in this order, under these titles (a grid's columns);
    /// an empty list shows every field under its name.
    struct Column {
        QString field;
        QString title;
    };
    void setColumns(QList<Column> columns);
    /// The field a column shows.
    QString fieldOf(int column) const;

    /// The column of a field, -1 when the model shows no such field.
    int columnOf(const QString& field) const;

signals:
    /// The query's current row moved (also after a reset).
    void currentRowChanged(int row);

private:
    int datasetColumn(int column) const;
    void mapColumns();

    Dataset& m_dataset;
    QList<Column> m_columns;
    std::vector<int> m_datasetColumns; ///< the dataset's column of each shown column
    int m_indicatorRow = -1;
};

} // namespace veritam
