#pragma once

#include <QWidget>

class QToolButton;

namespace veritam {

class DatasetModel;
class RecordGrid;

/// One of the three record lists: a header strip with its name on the list colour and the
/// "norm"/"max" pair, and the grid below it.
class RecordListPanel : public QWidget {
    Q_OBJECT
public:
    RecordListPanel(const QString& title, QColor colour, DatasetModel& model,
                    QWidget* parent = nullptr);

    RecordGrid* grid() const { return m_grid; }
    QToolButton* normButton() const { return m_norm; }
    QToolButton* maxButton() const { return m_max; }

    /// Down to its title strip: on a small screen the window shrinks, not the screen.
    QSize minimumSizeHint() const override;

signals:
    void normClicked();
    void maxClicked();

private:
    QWidget* m_strip;
    RecordGrid* m_grid;
    QToolButton* m_norm;
    QToolButton* m_max;
};

} // namespace veritam
