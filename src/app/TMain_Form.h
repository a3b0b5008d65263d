#pragma once

#include "check/RunWindow.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QToolButton;

namespace veritam {

class CommandLine;
class FullCheckRun;
class PortalSession;
class RecordGrid;
class RecordListPanel;
class TAbout_Form;
class TAuto_Form;
class TInsert_Form;
class TZmeny_Form;
class TBrowser_Form;
class TDM1;
class TLog_Form;
class TUpozorneni_Form;
class UserMessages;
struct ProcessSettings;
enum class RecordKind;

/// The main window: the button bar, the three record lists, the run log and the status
/// line. Closing it ends the program.
class TMain_Form : public QMainWindow, public RunWindow {
    Q_OBJECT
public:
    TMain_Form(ProcessSettings& settings, const CommandLine& commandLine, UserMessages& messages,
               QWidget* parent = nullptr);
    ~TMain_Form() override;

    /// The objects created after the main window, which its lists and commands use.
    struct Parts {
        TDM1& dm;
        TBrowser_Form& browser;
        PortalSession& portal;
        TAbout_Form& about;
        TUpozorneni_Form& notice;
        TLog_Form& log;
        TAuto_Form& schedule;
        TInsert_Form& editor;
        TZmeny_Form& history;
    };
    void attach(const Parts& parts);

    /// Pictures of 22 × 22 pixels for the record editor's navigators, by button position.
    QList<QIcon> ImageList;

    QWidget* Horni_Panel = nullptr;
    QToolButton* Insert_Button = nullptr;
    QToolButton* OtevriHistorii_button = nullptr;
    QToolButton* http_SpeedButton = nullptr;
    QToolButton* Kontrola_Jednoho = nullptr;
    QToolButton* Kontrola_Button = nullptr;
    QToolButton* Prerusit_Button = nullptr;
    RecordListPanel* Parcely_Panel = nullptr;
    RecordListPanel* Stavby_Panel = nullptr;
    RecordListPanel* Jednotky_Panel = nullptr;
    RecordGrid* Parcely_DBGrid = nullptr;
    RecordGrid* Stavby_DBGrid = nullptr;
    RecordGrid* Jednotky_DBGrid = nullptr;
    QPlainTextEdit* Log_Memo = nullptr;
    QLabel* StatusBar1 = nullptr;
    QProgressBar* RunProgress = nullptr;

    // --- handlers
    void FormResize();
    /// The specified size, made smaller where the screen's free area cannot hold it, and
    /// centred on that area.
    void fitToScreen();
    void Parcely_Norm_SpeedButtonClick();
    void SpeedButton1Click();
    void SpeedButton4Click();
    void Parcely_Max_SpeedButtonClick();
    void SpeedButton3Click();
    void SpeedButton5Click();
    void Parcely_DBGridCellClick(int visualColumn);
    void Stavby_DBGridCellClick(int visualColumn);
    void Jednotky_DBGridCellClick(int visualColumn);
    void Parcely_DBGridTitleClick(const QString& field);
    void Stavby_DBGridTitleClick(const QString& field);
    void Jednotky_DBGridTitleClick(const QString& field);
    void Insert_ButtonClick();
    void OtevriHistorii_buttonClick();
    /// A double click on a list, or "Otevřít historii": the current record's changes.
    void openHistory(RecordKind kind);
    void http_SpeedButtonClick();
    void Kontrola_JednohoClick();
    void Kontrola_ButtonClick();
    void Prerusit_ButtonClick();

    // --- the full run's outlets
    void addLogLine(const QString& line) override;
    void setStatus(const QString& text, int pass, int done, int total) override;
    void ZapnoutOvladaciZarizeni(bool enable) override;
    void setCheckButtonCaption(const QString& caption) override;
    void normParcels() override { Parcely_Norm_SpeedButtonClick(); }
    void clearSummary() override;
    void addSummaryLine(const QString& line) override;
    bool summaryHasText() const override;
    void showSummary() override;
    void quitApplication() override;

    /// The kind of the list whose grid has the keyboard focus.
    std::optional<RecordKind> focusedKind() const;
    /// A full run is under way.
    bool checkRunning() const;
    /// Places a secondary window centred over the main window, before it is shown.
    void centreOver(QWidget& window) const;
    /// The desktop notification's text after an automatic run found changes.
    QString changesForNotification() const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const CommandLine& commandLine);
    void FormShow();
    void buildLayout();
    void buildLists();
    void buildMenu();
    void norm(RecordListPanel* panel);
    void max(RecordListPanel* panel);
    void switchChecked(RecordKind kind, int visualColumn);
    void sortBy(RecordKind kind, const QString& field);
    void deleteCurrent(RecordKind kind);
    /// The change flags cleared, of the kind's current record or of all its records.
    void markSeen(RecordKind kind, bool all);
    RecordListPanel* panelOf(RecordKind kind) const;

    ProcessSettings& m_settings;
    UserMessages& m_messages;
    std::unique_ptr<Parts> m_parts;
    std::unique_ptr<FullCheckRun> m_run;
    bool m_autoRunQueued = false;
    bool m_shownOnce = false;
};

} // namespace veritam
