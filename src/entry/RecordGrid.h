#pragma once

#include <QTableView>

namespace veritam {

class DatasetModel;

/// A record list: whole-row selection following the query's current row, a row indicator,
/// movable and resizable columns, no in-place editing, Ctrl+Delete asking to delete.
class RecordGrid : public QTableView {
    Q_OBJECT
public:
    RecordGrid(DatasetModel& model, QWidget* parent = nullptr);

    DatasetModel& datasetModel() const { return m_model; }
    /// The column position of a cell as the user sees it, the row indicator being 0.
    int visualColumn(const QModelIndex& index) const;
    /// Widens a column to `minimum`, or more where its title or, for a date and time, the
    /// longest such text would be cut.
    void setReadableWidth(int column, int minimum);
    /// For a list its titles order: room for the arrow in every title, no arrow yet.
    void reserveSortArrow();
    /// Shows the direction of the list's order on the column of `field`.
    void showSortOrder(const QString& field, Qt::SortOrder order);

signals:
    /// A data cell was clicked, after its row became current.
    void cellClicked(int visualColumn);
    /// A column title was clicked; `field` is what the column shows.
    void titleClicked(const QString& field);
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void followCurrentRow(int row);

    DatasetModel& m_model;
};

} // namespace veritam
