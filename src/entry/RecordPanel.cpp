#include "entry/RecordPanel.h"

#include "entry/FieldBinding.h"
#include "entry/RecordGrid.h"
#include "store/Dataset.h"
#include "store/DatasetModel.h"
#include "store/RecordKind.h"
#include "store/TDM1.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace veritam {

RecordGrid* editorGrid(const QString& name, Dataset& q, const std::vector<GridColumn>& columns,
                       QWidget* parent) {
    QList<DatasetModel::Column> shown;
    for (const GridColumn& c : columns)
        shown.append({c.field, c.title});
    auto* model = new DatasetModel(q, parent);
    model->setColumns(shown);
    auto* g = new RecordGrid(*model, parent);
    g->setObjectName(name);
    // Every title readable; names get room, the last column takes the rest.
    for (int c = 0; c < shown.size(); ++c)
        g->setReadableWidth(c, shown[c].field.contains(QLatin1String("nazev")) ? 200 : 70);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

RecordPanel::RecordPanel(RecordKind kind, TDM1& dm, UserMessages& messages, QWidget* parent)
    : QWidget(parent)
    , m_dm(dm)
    , m_messages(messages)
    , m_kind(kind) {
    const KindTable& t = kindTable(kind);
    auto* form = new QGridLayout(this);
    std::vector<QWidget*> tabOrder;

    m_search = new QLineEdit(this);
    m_search->setObjectName(t.editorSearch);
    m_search->setPlaceholderText(t.searchHint);
    form->addWidget(new QLabel(t.searchLabel, this), 0, 0);
    form->addWidget(m_search, 0, 1);
    tabOrder.push_back(m_search);

    auto* lists = new QHBoxLayout;
    for (const PlaceColumn& place : t.places) {
        RecordGrid* g = editorGrid(place.grid, dm.*place.list, place.gridColumns, this);
        g->setMinimumHeight(90);
        // The first list, the one searched, gets the most room.
        lists->addWidget(g, m_grids.empty() ? 3 : 2);
        m_grids.push_back(g);
        tabOrder.push_back(g);
    }
    RecordGrid* first = m_grids.front();
    connect(m_search, &QLineEdit::returnPressed, first, [first] { first->setFocus(); });
    form->addLayout(lists, 1, 0, 1, 2);

    int row = 2;
    QHBoxLayout* numbers = nullptr;
    for (const EditorField& field : t.editorFields) {
        QWidget* c = control(field);
        tabOrder.push_back(c);
        if (field.sameRow && numbers) {
            numbers->insertWidget(numbers->count() - 1, new QLabel(QStringLiteral("/"), this));
            numbers->insertWidget(numbers->count() - 1, c);
            continue;
        }
        if (field.form == EditorField::Form::Check) {
            form->addWidget(c, row++, 1);
            continue;
        }
        form->addWidget(new QLabel(field.label, this), row, 0);
        if (field.form == EditorField::Form::Number) {
            numbers = new QHBoxLayout;
            numbers->addWidget(c);
            numbers->addStretch();
            form->addLayout(numbers, row++, 1);
        } else {
            numbers = nullptr;
            form->addWidget(c, row++, 1);
        }
    }
    form->setColumnStretch(1, 1);
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QWidget* RecordPanel::control(const EditorField& field) {
    Dataset& q = m_dm.recordQuery(m_kind);
    switch (field.form) {
    case EditorField::Form::Number:
    case EditorField::Form::Text: {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(field.name);
        if (field.form == EditorField::Form::Text) {
            edit->setMaxLength(static_cast<int>(RecordValues::kLongestText));
            m_bindings.push_back(new FieldBinding(q, field.column, edit, m_messages));
            return edit;
        }
        // Any text may be typed; one that is no number is said, never silently dropped.
        edit->setMaximumWidth(120);
        auto* binding =
            new FieldBinding(q, field.column, edit, m_messages, [&field, &q](const QString& text) {
                return RecordValues::number(field, text, q);
            });
        connect(binding, &FieldBinding::noted, this, &RecordPanel::noted);
        m_bindings.push_back(binding);
        return edit;
    }
    case EditorField::Form::Check: {
        auto* box = new QCheckBox(field.label, this);
        box->setObjectName(field.name);
        m_bindings.push_back(new FieldBinding(q, field.column, box, m_messages));
        return box;
    }
    case EditorField::Form::Choice:
        break;
    }
    auto* box = new QGroupBox(this);
    box->setObjectName(field.name);
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    auto* group = new QButtonGroup(box);
    const int count = static_cast<int>(field.choices.size());
    const int rows = (count + field.choiceColumns - 1) / field.choiceColumns;
    for (int i = 0; i < count; ++i) {
        auto* radio = new QRadioButton(field.choices[i], box);
        group->addButton(radio, i);
        layout->addWidget(radio, i % rows, i / rows);
    }
    m_bindings.push_back(new FieldBinding(q, field.column, group, field.values, m_messages));
    return box;
}

QString RecordPanel::refused() const {
    for (const FieldBinding* b : m_bindings)
        if (!b->refused().isEmpty())
            return b->refused();
    return {};
}

void RecordPanel::setReadOnly(bool readOnly) {
    m_search->setReadOnly(readOnly);
    for (FieldBinding* b : m_bindings)
        b->setReadOnly(readOnly);
    for (RecordGrid* g : m_grids)
        g->setEnabled(!readOnly);
}

} // namespace veritam
