#include "app/RecordListPanel.h"

#include "entry/RecordGrid.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace veritam {

RecordListPanel::RecordListPanel(const QString& title, QColor colour, DatasetModel& model,
                                 QWidget* parent)
    : QWidget(parent) {
    auto* strip = m_strip = new QWidget(this);
    strip->setFixedHeight(21);
    strip->setAutoFillBackground(true);
    QPalette stripPalette = strip->palette();
    stripPalette.setColor(QPalette::Window, colour);
    strip->setPalette(stripPalette);

    auto* label = new QLabel(title, strip);
    QFont bold = label->font();
    bold.setBold(true);
    bold.setPointSize(10);
    label->setFont(bold);

    m_norm = new QToolButton(strip);
    m_norm->setText(QStringLiteral("norm"));
    m_norm->setFixedWidth(40);
    m_max = new QToolButton(strip);
    m_max->setText(QStringLiteral("max"));
    m_max->setFixedWidth(39);
    for (QToolButton* b : {m_norm, m_max}) {
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    m_norm->setChecked(true);
    auto* pair = new QButtonGroup(this);
    pair->setExclusive(true);
    pair->addButton(m_norm);
    pair->addButton(m_max);
    connect(m_norm, &QToolButton::clicked, this, &RecordListPanel::normClicked);
    connect(m_max, &QToolButton::clicked, this, &RecordListPanel::maxClicked);

    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(4, 0, 0, 0);
    stripLayout->setSpacing(0);
    stripLayout->addWidget(label);
    stripLayout->addStretch();
    stripLayout->addWidget(m_norm);
    stripLayout->addWidget(m_max);

    m_grid = new RecordGrid(model, this);
    QPalette gridPalette = m_grid->palette();
    gridPalette.setColor(QPalette::Base, colour);
    m_grid->setPalette(gridPalette);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(m_grid);
}

QSize RecordListPanel::minimumSizeHint() const {
    return {QWidget::minimumSizeHint().width(), m_strip->height()};
}

} // namespace veritam
