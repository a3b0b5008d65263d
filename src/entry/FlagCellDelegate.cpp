#include "entry/FlagCellDelegate.h"

#include "store/DatasetModel.h"

#include <QApplication>
#include <QPainter>

namespace veritam {

FlagCellDelegate::FlagCellDelegate(const DatasetModel& model, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_model(model) {}

bool FlagCellDelegate::expectedValue(const QString& field, bool* expected) const {
    if (field.compare(QLatin1String("kontrolovat"), Qt::CaseInsensitive) == 0) {
        *expected = true;
        return true;
    }
    if (field.startsWith(QLatin1String("zmena_"), Qt::CaseInsensitive)) {
        *expected = false;
        return true;
    }
    return false;
}

void FlagCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    bool expected = false;
    if (!expectedValue(m_model.fieldOf(index.column()), &expected))
        return;
    if (option.state & QStyle::State_HasFocus)
        return; // the grid's focused cell stays as the grid drew it
    ObarviAnoNe(painter, option, index.data(Qt::EditRole).toBool(), expected);
}

void FlagCellDelegate::ObarviAnoNe(QPainter* painter, const QStyleOptionViewItem& option,
                                   bool value, bool expected) const {
    painter->fillRect(option.rect, QColor::fromRgb(value == expected ? kExpected : kUnexpected));
    QStyleOptionButton box;
    const QRect area = option.rect.adjusted(1, 1, -1, -1);
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    const int size =
        std::min({style->pixelMetric(QStyle::PM_IndicatorWidth), area.width(), area.height()});
    box.rect = QRect(0, 0, size, size);
    box.rect.moveCenter(area.center());
    box.state = QStyle::State_Enabled | (value ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, option.widget);
}

} // namespace veritam
