#pragma once

#include <QStyledItemDelegate>

namespace veritam {

class DatasetModel;

/// Paints the yes/no flag cells of a record list: green where the value is the expected
/// one (kontrolovat true, a zmena_ flag false), pink otherwise, with a check box; the focused
/// cell is left as the grid draws it.
class FlagCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr QRgb kExpected = qRgb(179, 255, 159);
    static constexpr QRgb kUnexpected = qRgb(254, 207, 216);

    explicit FlagCellDelegate(const DatasetModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    /// True with the expected value when the column is a flag column.
    bool expectedValue(const QString& field, bool* expected) const;
    void ObarviAnoNe(QPainter* painter, const QStyleOptionViewItem& option, bool value,
                     bool expected) const;

    const DatasetModel& m_model;
};

} // namespace veritam
