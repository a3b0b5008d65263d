#pragma once

#include <QWidget>

#include <vector>

class QLineEdit;

namespace veritam {

class Dataset;
class FieldBinding;
class RecordGrid;
struct EditorField;
struct GridColumn;
class TDM1;
class UserMessages;
enum class RecordKind;

/// The record editor's entry panel of one kind, built from the kind table: the search that
/// narrows the first place's code list, a grid per place, and a control per editor field,
/// each bound to the kind's record query.
class RecordPanel : public QWidget {
    Q_OBJECT
public:
    RecordPanel(RecordKind kind, TDM1& dm, UserMessages& messages, QWidget* parent = nullptr);

    QLineEdit* search() const { return m_search; }
    /// Read-only: the controls show the current record and take no change.
    void setReadOnly(bool readOnly);
    /// Why a text typed into a control is no value of its field; empty when none is.
    QString refused() const;

signals:
    /// A text typed was understood otherwise than it stands ("1520/7" as unit 7).
    void noted(const QString& note);

private:
    QWidget* control(const EditorField& field);

    TDM1& m_dm;
    UserMessages& m_messages;
    RecordKind m_kind;
    QLineEdit* m_search = nullptr;
    std::vector<RecordGrid*> m_grids;
    std::vector<FieldBinding*> m_bindings;
};

/// A grid of the editor's own column set over a query the main window shows too.
RecordGrid* editorGrid(const QString& name, Dataset& q, const std::vector<GridColumn>& columns,
                       QWidget* parent);

} // namespace veritam
