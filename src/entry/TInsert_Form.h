#pragma once

#include "entry/DBNavigator.h"
#include "store/RecordEditorPort.h"

#include <QDialog>
#include <QIcon>
#include <QList>

#include <array>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QStatusBar;
class QTabWidget;

namespace veritam {

class Dataset;
class PortalSession;
class RecordGrid;
class RecordPanel;
class TDM1;
class UserMessages;
enum class RecordKind;

/// The record editor: a page per kind with its navigator, the entry controls bound to the
/// kind's record query, the code-list search edits with their grids, and the kind's list.
/// Saving a record looks it up on the portal and stores its first values. The record rules
/// reach its search boxes, status line and origin choice through RecordEditorPort.
class TInsert_Form : public QDialog, public RecordEditorPort {
    Q_OBJECT
public:
    explicit TInsert_Form(QWidget* parent = nullptr);
    ~TInsert_Form() override;

    /// What the editor works with; the pages are built when they are given.
    struct Parts {
        TDM1& dm;
        PortalSession& portal;
        UserMessages& messages;
        QList<QIcon> images; ///< the main window's navigator images, by button position
    };
    void attach(Parts parts);

    void clearSearchBox(SearchBox box) override;
    void setStatusText(const QString& text) override;
    void setOriginGroupEnabled(bool enabled) override;

    QString statusText() const;
    bool originGroupEnabled() const { return m_originGroupEnabled; }

    /// Switches to the kind's page (the unsaved-work guard applies).
    void showPage(RecordKind kind);
    RecordKind currentKind() const;
    DBNavigator* navigator(RecordKind kind) const;

    // --- handlers
    void FormCreate();
    /// True when the page may change; otherwise the user is told why.
    bool PageControl1Changing();
    void KU_Hledat_1_EditChange();
    void Obec_Hledat_1_EditChange();
    void Obec_Hledat_2_EditChange();
    void DBNavigatorClick(RecordKind kind, DBNavigator::Button button);
    /// Shows the list's current record on the portal.
    void DBGridDblClick(RecordKind kind);
    void DBRadioGroup4Click();

    /// Capture ("Uložit parcelu", "Uložit stavbu", "Uložit jednotku" of the portal window):
    /// shows the editor on the kind's page with a new record filled from the information
    /// page `markup`; the user completes and saves it. Nothing is saved here.
    void CaptureRecord(RecordKind kind, const QString& markup);

    /// Menu "Záznamy" → "Načíst seznam ze souboru…": asks for a CSV file and imports it.
    void ImportRecordsClick();
    /// Imports the list in `path` with a progress dialog, then says how it went.
    void importRecords(const QString& path);
    QAction* ImportRecords_Action = nullptr;

    // --- controls, named as the handlers name them
    QTabWidget* PageControl1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    DBNavigator* Parcely_DBNavigator = nullptr;
    DBNavigator* Stavby_DBNavigator = nullptr;
    DBNavigator* Jednotky_DBNavigator = nullptr;
    QLineEdit* KU_Hledat_1_Edit = nullptr;
    QLineEdit* Obec_Hledat_1_Edit = nullptr;
    QLineEdit* Obec_Hledat_2_Edit = nullptr;
    RecordGrid* KU1_DBGrid = nullptr;
    RecordGrid* DBGrid2 = nullptr;      ///< municipalities, buildings page
    RecordGrid* DBGrid4 = nullptr;      ///< parts, buildings page
    RecordGrid* DBGrid5 = nullptr;      ///< municipalities, units page
    RecordGrid* DBGrid6 = nullptr;      ///< parts, units page
    RecordGrid* DBGrid1 = nullptr;      ///< parcels
    RecordGrid* DBGrid3 = nullptr;      ///< buildings
    RecordGrid* DBGrid7 = nullptr;      ///< units
    QGroupBox* DBRadioGroup1 = nullptr; ///< druh_cislovani
    QGroupBox* DBRadioGroup2 = nullptr; ///< typ_stavby, buildings
    QGroupBox* DBRadioGroup3 = nullptr; ///< typ_stavby, units
    QGroupBox* DBRadioGroup4 = nullptr; ///< typ_parcely
    QGroupBox* DBRadioGroup5 = nullptr; ///< puvod_parcely
    QLineEdit* DBEdit1 = nullptr;       ///< cislo_stavby, buildings
    QLineEdit* DBEdit2 = nullptr;       ///< cislo_1
    QLineEdit* DBEdit3 = nullptr;       ///< cislo_2
    QLineEdit* DBEdit4 = nullptr;       ///< nazev, parcels
    QLineEdit* DBEdit5 = nullptr;       ///< cislo_stavby, units
    QLineEdit* DBEdit6 = nullptr;       ///< nazev, buildings
    QLineEdit* DBEdit7 = nullptr;       ///< nazev, units
    QLineEdit* DBEdit8 = nullptr;       ///< cislo_jednotky
    QCheckBox* DBCheckBox1 = nullptr;
    QCheckBox* DBCheckBox2 = nullptr;
    QCheckBox* DBCheckBox3 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    /// Esc: cancels an insert or edit once the user agrees, or closes the window.
    void reject() override;

private:
    struct Page {
        DBNavigator* navigator = nullptr;
        RecordPanel* panel = nullptr;
        RecordGrid* list = nullptr;
    };
    QWidget* buildPage(RecordKind kind);
    /// The controls' members, found by the names the kind table gives them.
    void findControls();
    void setPageReadOnly(RecordKind kind, bool readOnly);
    void narrow(Dataset& codeList, const QString& text);
    /// The baseline procedure after "Ulož"; `id` is the saved record's.
    void storeBaseline(RecordKind kind, int id);
    bool unsavedWork() const;
    Page& page(RecordKind kind);
    const Page& page(RecordKind kind) const;

    std::unique_ptr<Parts> m_parts;
    std::array<Page, 3> m_pages;
    QButtonGroup* m_parcelType = nullptr;
    bool m_originGroupEnabled = false;
    int m_shownPage = 0;
};

} // namespace veritam
