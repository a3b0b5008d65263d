#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;
class QTextBrowser;

namespace veritam {

class Dataset;
class DatasetModel;
class SnapshotView;
class TDM1;
class UserMessages;
enum class RecordKind;

/// The change history window: the dates of one record's recorded changes, the snapshot of
/// the chosen one, and what changed against the snapshot before it. It works on whichever
/// history data source its list is bound to.
class TZmeny_Form : public QDialog {
    Q_OBJECT
public:
    TZmeny_Form(TDM1& dm, UserMessages& messages, QWidget* parent = nullptr);

    /// Binds the list to one of the three history data sources.
    void setDataSource(DatasetModel& source);
    DatasetModel* dataSource() const { return m_source; }

    // --- handlers
    /// Shows the current change's snapshot and what changed.
    void Zmeny_DBGridDblClick();
    /// "Smazat": deletes the current change after asking.
    void Odstranit1Click();

    QPushButton* Button1 = nullptr;
    QTableView* Zmeny_DBGrid = nullptr;
    SnapshotView* WebBrowser1 = nullptr;
    QTextBrowser* Rozdily = nullptr; ///< what changed against the previous snapshot
    QLabel* StatusBar1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The kind whose history the list shows.
    RecordKind kind() const;
    void followCurrentRow(int row);
    void showDifferences(const Dataset& history);

    TDM1& m_dm;
    UserMessages& m_messages;
    DatasetModel* m_source = nullptr;
};

} // namespace veritam
