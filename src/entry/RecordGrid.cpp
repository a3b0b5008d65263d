#include "entry/RecordGrid.h"

#include "entry/FlagCellDelegate.h"
#include "store/Dataset.h"
#include "store/DatasetModel.h"

#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace veritam {

RecordGrid::RecordGrid(DatasetModel& model, QWidget* parent)
    : QTableView(parent)
    , m_model(model) {
    setModel(&model);
    setItemDelegate(new FlagCellDelegate(model, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false); // Tab goes on to the next control, as in a form
    setShowGrid(true);
    setWordWrap(false);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setMinimumWidth(14);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    // The grid and the query agree on the current row, whichever moves it.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                Dataset& q = m_model.dataset();
                if (current.isValid() && current.row() != q.currentRow() && !q.isEditing())
                    q.setCurrentRow(current.row());
            });
    connect(&model, &DatasetModel::currentRowChanged, this, &RecordGrid::followCurrentRow);
    connect(&model, &QAbstractItemModel::modelReset, this,
            [this] { followCurrentRow(m_model.dataset().currentRow()); });
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { emit cellClicked(visualColumn(index)); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int logical) { emit titleClicked(m_model.fieldOf(logical)); });
}

int RecordGrid::visualColumn(const QModelIndex& index) const {
    return horizontalHeader()->visualIndex(index.column()) + 1;
}

void RecordGrid::setReadableWidth(int column, int minimum) {
    // The header's hint holds the title, its margins and the room of the sort arrow.
    int width = std::max(minimum, horizontalHeader()->sectionSizeHint(column));
    const Dataset& q = m_model.dataset();
    if (q.fieldType(q.fieldIndex(m_model.fieldOf(column))) == Dataset::FieldType::DateTime) {
        const QString longest =
            Dataset::dateTimeText(QDateTime(QDate(2028, 12, 28), QTime(23, 58, 58)));
        const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
        width = std::max(width, fontMetrics().horizontalAdvance(longest) + 2 * margin + 1);
    }
    setColumnWidth(column, width);
}

void RecordGrid::reserveSortArrow() {
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void RecordGrid::showSortOrder(const QString& field, Qt::SortOrder order) {
    horizontalHeader()->setSortIndicator(m_model.columnOf(field), order);
}

void RecordGrid::followCurrentRow(int row) {
    if (row < 0 || row >= m_model.rowCount())
        return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    const int column = current.isValid() ? current.column() : 0;
    selectionModel()->setCurrentIndex(m_model.index(row, column),
                                      QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
}

void RecordGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
        emit deleteRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace veritam
