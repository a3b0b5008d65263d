#include "entry/TInsert_Form.h"

#include "analysis/PageIdentity.h"
#include "analysis/ParsedPage.h"
#include "entry/FieldBinding.h"
#include "entry/FirstBaseline.h"
#include "entry/RecordGrid.h"
#include "entry/RecordImport.h"
#include "platform/UserMessages.h"
#include "portal/PageVerdict.h"
#include "portal/PortalSession.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"
#include "store/DatasetModel.h"
#include "store/RecordKind.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QRadioButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace veritam {

namespace {

const QString kUnsavedWork =
    QStringLiteral("Data nejsou uložená. Buď práci uložte, nebo data zahoďte. ");

int pageIndex(RecordKind kind) {
    return static_cast<int>(kind);
}

QLabel* label(const char* text, QWidget* parent) {
    return new QLabel(QString::fromUtf8(text), parent);
}

/// A grid of one of the editor's own column sets over a query the main window shows too.
RecordGrid* grid(const QString& name, Dataset& q, const QList<DatasetModel::Column>& columns,
                 QWidget* parent) {
    auto* model = new DatasetModel(q, parent);
    model->setColumns(columns);
    auto* g = new RecordGrid(*model, parent);
    g->setObjectName(name);
    // Every title readable; names get room, the last column takes the rest.
    for (int c = 0; c < columns.size(); ++c)
        g->setReadableWidth(c, columns[c].field.contains(QLatin1String("nazev")) ? 200 : 70);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

RecordGrid* grid(const QString& name, Dataset& q, const std::vector<GridColumn>& columns,
                 QWidget* parent) {
    QList<DatasetModel::Column> shown;
    for (const GridColumn& c : columns)
        shown.append({c.field, c.title});
    return grid(name, q, shown, parent);
}

QList<DatasetModel::Column>
columns(std::initializer_list<std::pair<const char*, const char*>> list) {
    QList<DatasetModel::Column> result;
    for (const auto& [field, title] : list)
        result.append({QString::fromLatin1(field), QString::fromUtf8(title)});
    return result;
}

} // namespace

TInsert_Form::TInsert_Form(QWidget* parent)
    : QDialog(parent, Qt::Window) {
    setObjectName(QStringLiteral("Insert_Form"));
    setWindowTitle(QStringLiteral("Přidávání a úprava záznamů"));
    resize(788, 596);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* menu = new QMenuBar(this);
    QMenu* records = menu->addMenu(QStringLiteral("&Záznamy"));
    ImportRecords_Action = records->addAction(QStringLiteral("&Načíst seznam ze souboru…"));
    ImportRecords_Action->setObjectName(QStringLiteral("ImportRecords_Action"));
    connect(ImportRecords_Action, &QAction::triggered, this, &TInsert_Form::ImportRecordsClick);
    layout->setMenuBar(menu);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 200px; height: 35px; }"));
    layout->addWidget(PageControl1, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(StatusBar1);
}

TInsert_Form::~TInsert_Form() = default;

void TInsert_Form::attach(Parts parts) {
    m_parts = std::make_unique<Parts>(std::move(parts));
    for (RecordKind kind : kAllRecordKinds)
        PageControl1->addTab(buildPage(kind), kindTable(kind).listCaption);
    Parcely_DBNavigator = page(RecordKind::Parcel).navigator;
    Stavby_DBNavigator = page(RecordKind::Building).navigator;
    Jednotky_DBNavigator = page(RecordKind::Unit).navigator;
    DBGrid1 = page(RecordKind::Parcel).list;
    DBGrid3 = page(RecordKind::Building).list;
    DBGrid7 = page(RecordKind::Unit).list;
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == m_shownPage)
            return;
        if (!PageControl1Changing()) {
            const QSignalBlocker blocker(PageControl1);
            PageControl1->setCurrentIndex(m_shownPage);
            return;
        }
        m_shownPage = index;
    });
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this,
            [this] { navigator(currentKind())->BtnClick(DBNavigator::Post); });
    FormCreate();
}

void TInsert_Form::FormCreate() {
    for (DBNavigator* n : {Parcely_DBNavigator, Stavby_DBNavigator, Jednotky_DBNavigator})
        n->DecorateNavigator(m_parts->images, true);
}

TInsert_Form::Page& TInsert_Form::page(RecordKind kind) {
    return m_pages[static_cast<std::size_t>(pageIndex(kind))];
}

const TInsert_Form::Page& TInsert_Form::page(RecordKind kind) const {
    return m_pages[static_cast<std::size_t>(pageIndex(kind))];
}

DBNavigator* TInsert_Form::navigator(RecordKind kind) const {
    return page(kind).navigator;
}

RecordKind TInsert_Form::currentKind() const {
    return kAllRecordKinds[static_cast<std::size_t>(
        std::clamp(PageControl1->currentIndex(), 0, 2))];
}

void TInsert_Form::showPage(RecordKind kind) {
    PageControl1->setCurrentIndex(pageIndex(kind));
}

QWidget* TInsert_Form::buildPage(RecordKind kind) {
    TDM1& dm = m_parts->dm;
    Dataset& q = dm.recordQuery(kind);
    Page& p = page(kind);
    auto* w = new QWidget(PageControl1);
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(4, 4, 4, 4);
    p.navigator = new DBNavigator(q, m_parts->messages, w);
    const char* names[] = {"Parcely_DBNavigator", "Stavby_DBNavigator", "Jednotky_DBNavigator"};
    p.navigator->setObjectName(QString::fromLatin1(names[pageIndex(kind)]));
    connect(p.navigator, &DBNavigator::clicked, this,
            [this, kind](DBNavigator::Button b) { DBNavigatorClick(kind, b); });
    layout->addWidget(p.navigator);

    QWidget* panel = kind == RecordKind::Parcel ? buildParcelPanel(p) : buildBuildingPanel(kind, p);
    panel->setParent(w);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(kindTable(kind).listColour));
    panel->setPalette(palette);
    layout->addWidget(panel);

    p.list = grid(kindTable(kind).editorList, q, kindTable(kind).editorColumns, w);
    connect(p.list, &QAbstractItemView::doubleClicked, this,
            [this, kind] { DBGridDblClick(kind); });
    layout->addWidget(p.list, 1);
    setPageReadOnly(kind, true);
    return w;
}

QLineEdit* TInsert_Form::numberEdit(const char* name, Dataset& q, const char* field, Page& page) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    // Whole numbers only: the columns hold nothing else.
    edit->setValidator(new QIntValidator(0, 999999999, edit));
    edit->setMaximumWidth(120);
    page.bindings.push_back(
        new FieldBinding(q, QString::fromLatin1(field), edit, m_parts->messages));
    return edit;
}

QGroupBox* TInsert_Form::radioGroup(const char* name, const QStringList& items,
                                    const QList<QVariant>& values, int columns, Dataset& q,
                                    const char* field, Page& page) {
    auto* box = new QGroupBox;
    box->setObjectName(QString::fromLatin1(name));
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    auto* group = new QButtonGroup(box);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        group->addButton(radio, i);
        layout->addWidget(radio, i % rows, i / rows);
    }
    page.bindings.push_back(
        new FieldBinding(q, QString::fromLatin1(field), group, values, m_parts->messages));
    return box;
}

QWidget* TInsert_Form::buildParcelPanel(Page& p) {
    TDM1& dm = m_parts->dm;
    Dataset& q = dm.Parcely_Query;
    auto* panel = new QWidget;
    auto* form = new QGridLayout(panel);

    KU_Hledat_1_Edit = new QLineEdit(panel);
    KU_Hledat_1_Edit->setObjectName(QStringLiteral("KU_Hledat_1_Edit"));
    KU_Hledat_1_Edit->setPlaceholderText(QStringLiteral("část názvu, např. Benice"));
    connect(KU_Hledat_1_Edit, &QLineEdit::textChanged, this, &TInsert_Form::KU_Hledat_1_EditChange);
    KU1_DBGrid =
        grid(QStringLiteral("KU1_DBGrid"), dm.KatastralniUzemi_Query,
             columns({{"ku_nazev", "Název katastrálního území"}, {"okres_nazev", "Okres"}}), panel);
    KU1_DBGrid->setMinimumHeight(90);
    p.search = KU_Hledat_1_Edit;
    connect(KU_Hledat_1_Edit, &QLineEdit::returnPressed, KU1_DBGrid,
            [this] { KU1_DBGrid->setFocus(); });
    form->addWidget(label("Název katastrálního území:", panel), 0, 0);
    form->addWidget(KU_Hledat_1_Edit, 0, 1);
    form->addWidget(KU1_DBGrid, 1, 0, 1, 2);

    DBRadioGroup4 =
        radioGroup("DBRadioGroup4",
                   {QStringLiteral("Parcela katastru nemovitostí (KN)"),
                    QStringLiteral("Parcela zjednodušené evidence (ZE)")},
                   {QStringLiteral("PKN"), QStringLiteral("PZE")}, 2, q, "typ_parcely", p);
    m_parcelType = DBRadioGroup4->findChild<QButtonGroup*>();
    connect(m_parcelType, &QButtonGroup::idClicked, this, &TInsert_Form::DBRadioGroup4Click);
    form->addWidget(label("Typ parcely:", panel), 2, 0);
    form->addWidget(DBRadioGroup4, 2, 1);

    DBRadioGroup5 =
        radioGroup("DBRadioGroup5",
                   {QStringLiteral("Evidence nemovitostí"), QStringLiteral("Pozemkový katastr"),
                    QStringLiteral("Přídělový plán nebo jiný podklad")},
                   {3, 4, 6}, 3, q, "puvod_parcely", p);
    DBRadioGroup5->setEnabled(false);
    form->addWidget(label("Původ parcely ZE:", panel), 3, 0);
    form->addWidget(DBRadioGroup5, 3, 1);

    DBRadioGroup1 = radioGroup(
        "DBRadioGroup1", {QStringLiteral("stavební parcela"), QStringLiteral("pozemková parcela")},
        {1, 2}, 2, q, "druh_cislovani", p);
    form->addWidget(label("Druh číslování:", panel), 4, 0);
    form->addWidget(DBRadioGroup1, 4, 1);

    auto* numbers = new QHBoxLayout;
    DBEdit2 = numberEdit("DBEdit2", q, "cislo_1", p);
    DBEdit3 = numberEdit("DBEdit3", q, "cislo_2", p);
    numbers->addWidget(DBEdit2);
    numbers->addWidget(label("/", panel));
    numbers->addWidget(DBEdit3);
    numbers->addStretch();
    form->addWidget(label("Parcelní číslo:", panel), 5, 0);
    form->addLayout(numbers, 5, 1);

    DBEdit4 = new QLineEdit(panel);
    DBEdit4->setObjectName(QStringLiteral("DBEdit4"));
    p.bindings.push_back(new FieldBinding(q, QStringLiteral("nazev"), DBEdit4, m_parts->messages));
    form->addWidget(label("Vlastní název:", panel), 6, 0);
    form->addWidget(DBEdit4, 6, 1);

    DBCheckBox1 = new QCheckBox(QStringLiteral("Kontrolovat"), panel);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    p.bindings.push_back(
        new FieldBinding(q, QStringLiteral("kontrolovat"), DBCheckBox1, m_parts->messages));
    form->addWidget(DBCheckBox1, 7, 1);
    form->setColumnStretch(1, 1);

    setTabOrder(KU_Hledat_1_Edit, KU1_DBGrid);
    setTabOrder(KU1_DBGrid, DBRadioGroup4);
    setTabOrder(DBRadioGroup4, DBRadioGroup5);
    setTabOrder(DBRadioGroup5, DBRadioGroup1);
    setTabOrder(DBRadioGroup1, DBEdit2);
    setTabOrder(DBEdit2, DBEdit3);
    setTabOrder(DBEdit3, DBEdit4);
    setTabOrder(DBEdit4, DBCheckBox1);
    return panel;
}

QWidget* TInsert_Form::buildBuildingPanel(RecordKind kind, Page& p) {
    TDM1& dm = m_parts->dm;
    Dataset& q = dm.recordQuery(kind);
    const bool unit = kind == RecordKind::Unit;
    auto* panel = new QWidget;
    auto* form = new QGridLayout(panel);

    auto* search = new QLineEdit(panel);
    search->setObjectName(unit ? QStringLiteral("Obec_Hledat_2_Edit")
                               : QStringLiteral("Obec_Hledat_1_Edit"));
    search->setPlaceholderText(QStringLiteral("část názvu, např. Praha"));
    connect(search, &QLineEdit::textChanged, this,
            unit ? &TInsert_Form::Obec_Hledat_2_EditChange
                 : &TInsert_Form::Obec_Hledat_1_EditChange);
    RecordGrid* municipalities =
        grid(unit ? QStringLiteral("DBGrid5") : QStringLiteral("DBGrid2"), dm.Obce_Query,
             columns({{"obec_nazev", "Obec"}, {"okres_nazev", "Okres"}}), panel);
    RecordGrid* parts = grid(unit ? QStringLiteral("DBGrid6") : QStringLiteral("DBGrid4"),
                             dm.CastiObce_Query, columns({{"nazev", "Část obce"}}), panel);
    for (RecordGrid* g : {municipalities, parts})
        g->setMinimumHeight(90);
    p.search = search;
    p.codeListGrids = {municipalities, parts};
    connect(search, &QLineEdit::returnPressed, municipalities,
            [municipalities] { municipalities->setFocus(); });
    auto* lists = new QHBoxLayout;
    lists->addWidget(municipalities, 3);
    lists->addWidget(parts, 2);
    form->addWidget(label("Název obce:", panel), 0, 0);
    form->addWidget(search, 0, 1);
    form->addLayout(lists, 1, 0, 1, 2);

    QGroupBox* type = radioGroup(
        unit ? "DBRadioGroup3" : "DBRadioGroup2",
        {QStringLiteral("budova s číslem popisným"), QStringLiteral("budova s číslem evidenčním")},
        {1, 2}, 2, q, "typ_stavby", p);
    form->addWidget(label("Typ stavby:", panel), 2, 0);
    form->addWidget(type, 2, 1);

    QLineEdit* building = numberEdit(unit ? "DBEdit5" : "DBEdit1", q, "cislo_stavby", p);
    auto* buildingRow = new QHBoxLayout;
    buildingRow->addWidget(building);
    buildingRow->addStretch();
    form->addWidget(label("Číslo stavby:", panel), 3, 0);
    form->addLayout(buildingRow, 3, 1);
    int row = 4;
    QLineEdit* unitNumber = nullptr;
    if (unit) {
        unitNumber = numberEdit("DBEdit8", q, "cislo_jednotky", p);
        auto* unitRow = new QHBoxLayout;
        unitRow->addWidget(unitNumber);
        unitRow->addStretch();
        form->addWidget(label("Číslo jednotky:", panel), row, 0);
        form->addLayout(unitRow, row++, 1);
    }
    auto* name = new QLineEdit(panel);
    name->setObjectName(unit ? QStringLiteral("DBEdit7") : QStringLiteral("DBEdit6"));
    p.bindings.push_back(new FieldBinding(q, QStringLiteral("nazev"), name, m_parts->messages));
    form->addWidget(label("Vlastní název:", panel), row, 0);
    form->addWidget(name, row++, 1);
    auto* check = new QCheckBox(QStringLiteral("Kontrolovat"), panel);
    check->setObjectName(unit ? QStringLiteral("DBCheckBox3") : QStringLiteral("DBCheckBox2"));
    p.bindings.push_back(
        new FieldBinding(q, QStringLiteral("kontrolovat"), check, m_parts->messages));
    form->addWidget(check, row, 1);
    form->setColumnStretch(1, 1);

    setTabOrder(search, municipalities);
    setTabOrder(municipalities, parts);
    setTabOrder(parts, type);
    setTabOrder(type, building);
    if (unitNumber) {
        setTabOrder(building, unitNumber);
        setTabOrder(unitNumber, name);
    } else {
        setTabOrder(building, name);
    }
    setTabOrder(name, check);

    if (unit) {
        Obec_Hledat_2_Edit = search;
        DBGrid5 = municipalities;
        DBGrid6 = parts;
        DBRadioGroup3 = type;
        DBEdit5 = building;
        DBEdit8 = unitNumber;
        DBEdit7 = name;
        DBCheckBox3 = check;
    } else {
        Obec_Hledat_1_Edit = search;
        DBGrid2 = municipalities;
        DBGrid4 = parts;
        DBRadioGroup2 = type;
        DBEdit1 = building;
        DBEdit6 = name;
        DBCheckBox2 = check;
    }
    return panel;
}

void TInsert_Form::setPageReadOnly(RecordKind kind, bool readOnly) {
    Page& p = page(kind);
    p.search->setReadOnly(readOnly);
    for (FieldBinding* b : p.bindings)
        b->setReadOnly(readOnly);
    for (QWidget* g : p.codeListGrids)
        g->setEnabled(!readOnly);
}

// ---------------------------------------------------------------------------
// The record rules' reach into the window

void TInsert_Form::clearSearchBox(SearchBox box) {
    QLineEdit* edit = box == SearchBox::KU_Hledat_1_Edit     ? KU_Hledat_1_Edit
                      : box == SearchBox::Obec_Hledat_1_Edit ? Obec_Hledat_1_Edit
                                                             : Obec_Hledat_2_Edit;
    if (!edit)
        return;
    // An edit already empty lists everything already; the change action runs otherwise.
    edit->clear();
}

void TInsert_Form::setStatusText(const QString& text) {
    StatusBar1->showMessage(text);
    StatusBar1->repaint();
}

QString TInsert_Form::statusText() const {
    return StatusBar1->currentMessage();
}

void TInsert_Form::setOriginGroupEnabled(bool enabled) {
    m_originGroupEnabled = enabled;
    if (DBRadioGroup5)
        DBRadioGroup5->setEnabled(enabled);
}

// ---------------------------------------------------------------------------
// Handlers

void TInsert_Form::narrow(Dataset& codeList, const QString& text) {
    codeList.setParam(QStringLiteral("par_nazev"), u'%' + text + u'%');
    m_parts->dm.Obnovit_Query(codeList);
}

void TInsert_Form::KU_Hledat_1_EditChange() {
    narrow(m_parts->dm.KatastralniUzemi_Query, KU_Hledat_1_Edit->text());
}

void TInsert_Form::Obec_Hledat_1_EditChange() {
    narrow(m_parts->dm.Obce_Query, Obec_Hledat_1_Edit->text());
}

void TInsert_Form::Obec_Hledat_2_EditChange() {
    narrow(m_parts->dm.Obce_Query, Obec_Hledat_2_Edit->text());
}

void TInsert_Form::DBRadioGroup4Click() {
    const QAbstractButton* pkn = m_parcelType->button(0);
    setOriginGroupEnabled(!pkn->isChecked());
}

void TInsert_Form::DBNavigatorClick(RecordKind kind, DBNavigator::Button button) {
    const bool editable = button == DBNavigator::Insert || button == DBNavigator::Edit;
    setPageReadOnly(kind, !editable);
    if (button == DBNavigator::Insert)
        page(kind).search->setFocus();
    if (button != DBNavigator::Post)
        return;
    // The saved record: the newest one after an insert, else the one that was edited.
    TDM1& dm = m_parts->dm;
    bool& inserted = dm.Rules.newRecordInserted(kind);
    Dataset& q = dm.recordQuery(kind);
    int id = q.currentRow() >= 0 ? q.integer(QStringLiteral("ID")) : 0;
    if (inserted) {
        inserted = false;
        id = dm.GetMaxId(kindTable(kind).recordTable, QStringLiteral("ID")).toInt();
    }
    dm.Obnovit_Query(q);
    if (kind == RecordKind::Parcel)
        setOriginGroupEnabled(false);
    if (id > 0)
        storeBaseline(kind, id);
}

void TInsert_Form::storeBaseline(RecordKind kind, int id) {
    TDM1& dm = m_parts->dm;
    setStatusText(QStringLiteral("Hledám nemovitost na portálu…"));
    FirstBaseline baseline;
    try {
        baseline = StoreFirstBaseline(dm, m_parts->portal, kind, id);
    } catch (const std::exception& e) {
        setStatusText(QString());
        m_parts->messages.showError(errorText(e));
        dm.Obnovit_Query(dm.recordQuery(kind));
        return;
    }
    setStatusText(QString());
    dm.Obnovit_Query(dm.recordQuery(kind));
    switch (baseline.result) {
    case FirstBaseline::Result::Stored:
        return;
    case FirstBaseline::Result::NotShown:
        m_parts->messages.showError(baseline.why);
        return;
    case FirstBaseline::Result::NotLookedUp:
    case FirstBaseline::Result::Refused:
        if (!baseline.why.isEmpty())
            m_parts->messages.showError(
                baseline.why + QStringLiteral("\n\nZáznam je uložen. Výchozí stav nemovitosti se "
                                              "zaznamená při příští kontrole."));
        return;
    }
}

void TInsert_Form::DBGridDblClick(RecordKind kind) {
    Dataset& q = m_parts->dm.recordQuery(kind);
    if (q.currentRow() < 0 || q.isEditing())
        return;
    try {
        const PortalSession::Operation operation(m_parts->portal);
        m_parts->portal.showObject(WatchedRecord::read(kind, q));
    } catch (const PortalError& e) {
        m_parts->messages.showError(e.message());
    }
}

void TInsert_Form::CaptureRecord(RecordKind kind, const QString& markup) {
    TDM1& dm = m_parts->dm;
    const ParsedPage page(markup);
    show();
    raise();
    activateWindow();
    showPage(kind);
    if (currentKind() != kind)
        return; // the guard kept unsaved work on another page
    navigator(kind)->BtnClick(DBNavigator::Insert);
    Dataset& q = dm.recordQuery(kind);
    if (q.state() != Dataset::State::Insert)
        return;
    // Written in this order; a value a whole-number column cannot hold stops the rest. A place
    // is also chosen in its code list, whose row the rules copy on save.
    const std::vector<PlaceColumn>& places = kindTable(kind).places;
    try {
        for (const auto& [column, value] : PageIdentity::read(kind, page)) {
            const auto place = std::ranges::find(places, column, &PlaceColumn::column);
            if (place != places.end())
                (dm.*place->list).locate(place->code, value);
            q.setValue(column, value);
            if (column == QLatin1String("typ_parcely"))
                DBRadioGroup4Click();
        }
        if (!kindTable(kind).captureNote.isEmpty())
            m_parts->messages.showMessage(kindTable(kind).captureNote);
    } catch (const DatabaseError& e) {
        m_parts->messages.showError(e.message());
    }
}

void TInsert_Form::ImportRecordsClick() {
    if (!PageControl1Changing())
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Načíst seznam sledovaných nemovitostí"), QDir::homePath(),
        QStringLiteral("Soubory CSV (*.csv *.txt);;Všechny soubory (*)"));
    if (!path.isEmpty())
        importRecords(path);
}

void TInsert_Form::importRecords(const QString& path) {
    TDM1& dm = m_parts->dm;
    RecordImport::Summary summary;
    try {
        const RecordImport import = RecordImport::read(path);
        QProgressDialog progress(QStringLiteral("Načítám seznam a hledám záznamy na portálu…"),
                                 QStringLiteral("Přerušit"), 0,
                                 static_cast<int>(import.rows().size()), this);
        progress.setWindowTitle(windowTitle());
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        summary = import.run(dm.dataFolder(), m_parts->portal,
                             [&](const RecordImport::Outcome& row, int done, int) {
                                 progress.setValue(done);
                                 progress.setLabelText(row.text());
                                 return !progress.wasCanceled();
                             });
    } catch (const ImportError& e) {
        m_parts->messages.showError(e.message() + QStringLiteral(" Nic nebylo uloženo."));
        return;
    }
    for (RecordKind kind : kAllRecordKinds)
        dm.Obnovit_Query(dm.recordQuery(kind));
    // The rows that need the user, the first few of them, below the total.
    QStringList lines{summary.text()};
    if (!summary.portalRefusal.isEmpty())
        lines.append(summary.refusalText());
    int shown = 0;
    for (const RecordImport::Outcome& row : summary.rows)
        if (row.result != RecordImport::Outcome::Result::Baseline && shown++ < 10)
            lines.append(row.text());
    if (shown > 10)
        lines.append(QStringLiteral("… a další (%1).").arg(shown - 10));
    const QString text = lines.join(QStringLiteral("\n\n"));
    if (summary.refused + summary.without > 0 || !summary.portalRefusal.isEmpty())
        m_parts->messages.showError(text);
    else
        m_parts->messages.showMessage(text);
}

bool TInsert_Form::unsavedWork() const {
    if (!m_parts)
        return false;
    for (RecordKind kind : kAllRecordKinds)
        if (m_parts->dm.recordQuery(kind).isEditing())
            return true;
    return false;
}

bool TInsert_Form::PageControl1Changing() {
    if (!unsavedWork())
        return true;
    m_parts->messages.showMessage(kUnsavedWork);
    return false;
}

void TInsert_Form::closeEvent(QCloseEvent* event) {
    if (unsavedWork()) {
        m_parts->messages.showMessage(kUnsavedWork);
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TInsert_Form::reject() {
    if (m_parts && m_parts->dm.recordQuery(currentKind()).isEditing()) {
        // A stray Esc must not throw typed work away unasked.
        if (QMessageBox::question(this, windowTitle(),
                                  QStringLiteral("Neuložené údaje záznamu se zahodí. Pokračovat?"),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) == QMessageBox::Yes)
            navigator(currentKind())->BtnClick(DBNavigator::Cancel);
        return;
    }
    if (unsavedWork()) {
        m_parts->messages.showMessage(kUnsavedWork);
        return;
    }
    QDialog::reject();
}

} // namespace veritam
