#include "entry/FieldBinding.h"

#include "platform/UserMessages.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace veritam {

FieldBinding::FieldBinding(Dataset& dataset, QString field, UserMessages& messages,
                           QObject* control)
    : QObject(control) // goes with its control; the query outlives the window
    , m_dataset(dataset)
    , m_field(std::move(field))
    , m_messages(messages) {
    // Another record, or the end of an edit: a refused text goes with it.
    const auto anew = [this] {
        m_refused.clear();
        refresh();
    };
    for (auto signal : {&Dataset::wasReset, &Dataset::stateChanged})
        connect(&dataset, signal, this, anew);
    connect(&dataset, &Dataset::currentRowChanged, this, anew);
    connect(&dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row == m_dataset.currentRow() && m_refused.isEmpty())
            refresh();
    });
}

FieldBinding::FieldBinding(Dataset& dataset, QString field, QLineEdit* edit, UserMessages& messages)
    : FieldBinding(dataset, std::move(field), messages, edit) {
    m_show = [this, edit] {
        const QString text = m_dataset.currentRow() >= 0 && m_dataset.hasField(m_field)
                                 ? m_dataset.text(m_field)
                                 : QString();
        if (edit->text() != text) // keeps the cursor while the user types
            edit->setText(text);
    };
    m_lock = [edit](bool locked) { edit->setReadOnly(locked); };
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { write(text); });
    refresh();
    setReadOnly(true);
}

FieldBinding::FieldBinding(Dataset& dataset, QString field, QLineEdit* edit, UserMessages& messages,
                           Reader read)
    : FieldBinding(dataset, std::move(field), edit, messages) {
    disconnect(edit, &QLineEdit::textEdited, this, nullptr);
    connect(edit, &QLineEdit::textEdited, this, [this, read](const QString& text) {
        if (m_readOnly || !m_dataset.isEditing()) {
            refresh();
            return;
        }
        const RecordValues::Reading reading = read(text);
        m_refused = reading.refused;
        if (!m_refused.isEmpty())
            return;
        write(reading.value);
        if (!reading.note.isEmpty())
            emit noted(reading.note);
    });
}

FieldBinding::FieldBinding(Dataset& dataset, QString field, QCheckBox* box, UserMessages& messages)
    : FieldBinding(dataset, std::move(field), messages, box) {
    m_show = [this, box] {
        const QSignalBlocker blocker(box);
        box->setChecked(m_dataset.currentRow() >= 0 && m_dataset.hasField(m_field) &&
                        m_dataset.yesNo(m_field));
    };
    m_lock = [box](bool locked) { box->setFocusPolicy(locked ? Qt::NoFocus : Qt::StrongFocus); };
    connect(box, &QCheckBox::clicked, this, [this](bool checked) { write(checked); });
    refresh();
    setReadOnly(true);
}

FieldBinding::FieldBinding(Dataset& dataset, QString field, QButtonGroup* group,
                           QList<QVariant> values, UserMessages& messages)
    : FieldBinding(dataset, std::move(field), messages, group) {
    m_show = [this, group, values] {
        const QVariant value = m_dataset.currentRow() >= 0 && m_dataset.hasField(m_field)
                                   ? m_dataset.value(m_field)
                                   : QVariant();
        // No button stands checked for an empty value or one without a button.
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons()) {
            const QSignalBlocker blocker(button);
            const QVariant own = values.value(group->id(button));
            button->setChecked(!value.isNull() && own.toString() == value.toString());
        }
        group->setExclusive(true);
    };
    m_lock = [group](bool locked) {
        for (QAbstractButton* button : group->buttons())
            button->setFocusPolicy(locked ? Qt::NoFocus : Qt::StrongFocus);
    };
    connect(group, &QButtonGroup::idClicked, this,
            [this, values](int id) { write(values.value(id)); });
    refresh();
    setReadOnly(true);
}

void FieldBinding::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    m_lock(readOnly);
}

void FieldBinding::refresh() {
    m_show();
}

void FieldBinding::write(const QVariant& value) {
    // A click on a read-only control changes nothing; the control shows the value again.
    if (m_readOnly || !m_dataset.isEditing()) {
        refresh();
        return;
    }
    try {
        m_dataset.setValue(m_field, value);
    } catch (const DatabaseError& e) {
        m_messages.showError(e.message());
        refresh();
    }
}

} // namespace veritam
