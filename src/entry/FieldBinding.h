#pragma once

#include <QObject>
#include <QVariant>

#include "store/RecordValues.h"

#include <functional>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace veritam {

class Dataset;
class UserMessages;

/// Keeps one entry control of the record editor and one field of its query's current row in
/// step: the control shows the row's value whenever the row, its values or the query's state
/// change, and what the user changes is written into the row being inserted or edited.
/// While read-only the control keeps showing the value and takes no change.
class FieldBinding : public QObject {
    Q_OBJECT
public:
    FieldBinding(Dataset& dataset, QString field, QLineEdit* edit, UserMessages& messages);
    /// An edit whose text `read` turns into the value; a text it refuses stays in the edit,
    /// is not written, and is what `refused` says until the user mends it.
    using Reader = std::function<RecordValues::Reading(const QString& text)>;
    FieldBinding(Dataset& dataset, QString field, QLineEdit* edit, UserMessages& messages,
                 Reader read);
    FieldBinding(Dataset& dataset, QString field, QCheckBox* box, UserMessages& messages);
    /// A radio group whose button with id i stands for values[i].
    FieldBinding(Dataset& dataset, QString field, QButtonGroup* group, QList<QVariant> values,
                 UserMessages& messages);

    void setReadOnly(bool readOnly);
    bool readOnly() const { return m_readOnly; }
    /// Shows the current row's value again.
    void refresh();
    /// Why the text typed is no value of the field; empty when it is one.
    QString refused() const { return m_refused; }

signals:
    /// The text typed was understood otherwise than it stands.
    void noted(const QString& note);

private:
    FieldBinding(Dataset& dataset, QString field, UserMessages& messages, QObject* control);
    void write(const QVariant& value);

    Dataset& m_dataset;
    QString m_field;
    UserMessages& m_messages;
    bool m_readOnly = true;
    QString m_refused;
    std::function<void()> m_show;
    std::function<void(bool)> m_lock;
};

} // namespace veritam
