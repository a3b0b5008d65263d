#include "entry/TInsert_Form.h"

#include "analysis/ParsedPage.h"
#include "entry/FirstBaseline.h"
#include "entry/RecordCapture.h"
#include "entry/RecordGrid.h"
#include "entry/RecordImport.h"
#include "entry/RecordPanel.h"
#include "platform/UserMessages.h"
#include "portal/PageVerdict.h"
#include "portal/PortalSession.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"
#include "store/RecordKind.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace veritam {

namespace {

const QString kUnsavedWork =
    QStringLiteral("Data nejsou uložená. Buď práci uložte, nebo data zahoďte. ");

int pageIndex(RecordKind kind) {
    return static_cast<int>(kind);
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
    findControls();
    DBRadioGroup5->setEnabled(false);
    m_parcelType = DBRadioGroup4->findChild<QButtonGroup*>();
    connect(m_parcelType, &QButtonGroup::idClicked, this, &TInsert_Form::DBRadioGroup4Click);
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

void TInsert_Form::findControls() {
    const auto find = [this]<typename T>(T*& control, const char* name) {
        control = PageControl1->findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(control);
    };
    // Each member is found under its own name.
#define VERITAM_FIND(member) find(member, #member)
    VERITAM_FIND(Parcely_DBNavigator);
    VERITAM_FIND(Stavby_DBNavigator);
    VERITAM_FIND(Jednotky_DBNavigator);
    VERITAM_FIND(KU_Hledat_1_Edit);
    VERITAM_FIND(Obec_Hledat_1_Edit);
    VERITAM_FIND(Obec_Hledat_2_Edit);
    VERITAM_FIND(KU1_DBGrid);
    VERITAM_FIND(DBGrid1);
    VERITAM_FIND(DBGrid2);
    VERITAM_FIND(DBGrid3);
    VERITAM_FIND(DBGrid4);
    VERITAM_FIND(DBGrid5);
    VERITAM_FIND(DBGrid6);
    VERITAM_FIND(DBGrid7);
    VERITAM_FIND(DBRadioGroup1);
    VERITAM_FIND(DBRadioGroup2);
    VERITAM_FIND(DBRadioGroup3);
    VERITAM_FIND(DBRadioGroup4);
    VERITAM_FIND(DBRadioGroup5);
    VERITAM_FIND(DBEdit1);
    VERITAM_FIND(DBEdit2);
    VERITAM_FIND(DBEdit3);
    VERITAM_FIND(DBEdit4);
    VERITAM_FIND(DBEdit5);
    VERITAM_FIND(DBEdit6);
    VERITAM_FIND(DBEdit7);
    VERITAM_FIND(DBEdit8);
    VERITAM_FIND(DBCheckBox1);
    VERITAM_FIND(DBCheckBox2);
    VERITAM_FIND(DBCheckBox3);
#undef VERITAM_FIND
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
    const KindTable& t = kindTable(kind);
    Dataset& q = dm.recordQuery(kind);
    Page& p = page(kind);
    auto* w = new QWidget(PageControl1);
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(4, 4, 4, 4);
    p.navigator = new DBNavigator(q, m_parts->messages, w);
    p.navigator->setObjectName(t.editorNavigator);
    connect(p.navigator, &DBNavigator::clicked, this,
            [this, kind](DBNavigator::Button b) { DBNavigatorClick(kind, b); });
    layout->addWidget(p.navigator);

    p.panel = new RecordPanel(kind, dm, m_parts->messages, w);
    p.panel->setAutoFillBackground(true);
    QPalette palette = p.panel->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(t.listColour));
    p.panel->setPalette(palette);
    layout->addWidget(p.panel);
    connect(p.panel, &RecordPanel::noted, this, &TInsert_Form::setStatusText);
    p.navigator->setPostGuard([this, panel = p.panel] {
        const QString why = panel->refused();
        if (!why.isEmpty())
            m_parts->messages.showMessage(why);
        return why.isEmpty();
    });
    // Each kind's search narrows its first code list by name.
    static constexpr void (TInsert_Form::*searched[])() = {&TInsert_Form::KU_Hledat_1_EditChange,
                                                           &TInsert_Form::Obec_Hledat_1_EditChange,
                                                           &TInsert_Form::Obec_Hledat_2_EditChange};
    connect(p.panel->search(), &QLineEdit::textChanged, this,
            searched[static_cast<std::size_t>(pageIndex(kind))]);

    p.list = editorGrid(t.editorList, q, t.editorColumns, w);
    connect(p.list, &QAbstractItemView::doubleClicked, this,
            [this, kind] { DBGridDblClick(kind); });
    layout->addWidget(p.list, 1);
    setPageReadOnly(kind, true);
    return w;
}

void TInsert_Form::setPageReadOnly(RecordKind kind, bool readOnly) {
    page(kind).panel->setReadOnly(readOnly);
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
        page(kind).panel->search()->setFocus();
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
    try {
        const QString note = CaptureFromPage(dm, kind, page, [this](const QString& column) {
            if (column == QLatin1String("typ_parcely"))
                DBRadioGroup4Click();
        });
        if (!note.isEmpty())
            m_parts->messages.showMessage(note);
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
