#include "app/TMain_Form.h"

#include "analysis/LogLines.h"
#include "app/CodeListSetup.h"
#include "app/DesktopNotification.h"
#include "app/ProcessSettings.h"
#include "app/RecordListPanel.h"
#include "app/TLog_Form.h"
#include "check/FullCheckRun.h"
#include "check/SingleCheck.h"
#include "entry/RecordGrid.h"
#include "entry/TInsert_Form.h"
#include "history/TZmeny_Form.h"
#include "platform/UserMessages.h"
#include "portal/PageVerdict.h"
#include "portal/PortalSession.h"
#include "portal/TBrowser_Form.h"
#include "settings/TAbout_Form.h"
#include "settings/TAuto_Form.h"
#include "settings/TUpozorneni_Form.h"
#include "store/DatabaseError.h"
#include "store/DatasetModel.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace veritam {

namespace {

void bindColumns(RecordGrid* grid, const std::vector<GridColumn>& columns) {
    QList<DatasetModel::Column> list;
    for (const GridColumn& c : columns)
        list.append({c.field, c.title});
    grid->datasetModel().setColumns(list);
    grid->reserveSortArrow(); // before the widths, which leave room for the arrow
    // The specified widths stay the least; a title or a date they would cut widens them.
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        grid->setReadableWidth(i, columns[i].width);
}

/// An icon of the desktop's theme, or one of Qt's own where the theme has none.
QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}

constexpr QSize kBarIconSize(32, 32);

/// The icon drawn at the bar's size: an icon that has only smaller pictures (Qt's own
/// icons, some themes) would otherwise show smaller than its neighbours.
QIcon atBarSize(const QIcon& icon) {
    const QPixmap best = icon.pixmap(kBarIconSize);
    if (best.isNull() || best.size() == kBarIconSize)
        return icon;
    QPixmap scaled(kBarIconSize);
    scaled.fill(Qt::transparent);
    const QPixmap drawn = best.scaled(kBarIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&scaled);
    painter.drawPixmap(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, drawn.size(), scaled.rect()), drawn);
    return QIcon(scaled);
}

QToolButton* barButton(QWidget* bar, const char* objectName, const char* caption, int width,
                       const QIcon& icon) {
    auto* b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setText(QString::fromUtf8(caption));
    b->setIcon(atBarSize(icon));
    b->setIconSize(kBarIconSize);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // The specified widths fit the captions in the original font; a wider font widens the
    // button, so that no caption is ever cut, however small the window.
    b->setFixedHeight(66);
    b->setMinimumWidth(std::max(width, b->sizeHint().width()));
    b->setToolTip(b->text());
    b->setFocusPolicy(Qt::NoFocus); // the focused list stays the current list
    return b;
}

} // namespace

TMain_Form::TMain_Form(ProcessSettings& settings, const CommandLine& commandLine,
                       UserMessages& messages, QWidget* parent)
    : QMainWindow(parent)
    , m_settings(settings)
    , m_messages(messages) {
    setObjectName(QStringLiteral("Main_Form"));
    setWindowTitle(QStringLiteral("Veritam"));
    FormCreate(commandLine);
    buildLayout();
    ImageList = {themeIcon("go-first", QStyle::SP_MediaSkipBackward),
                 themeIcon("go-previous", QStyle::SP_ArrowBack),
                 themeIcon("go-next", QStyle::SP_ArrowForward),
                 themeIcon("go-last", QStyle::SP_MediaSkipForward),
                 themeIcon("list-add", QStyle::SP_FileDialogNewFolder),
                 themeIcon("edit-delete", QStyle::SP_TrashIcon),
                 themeIcon("document-edit", QStyle::SP_FileDialogDetailedView),
                 themeIcon("document-save", QStyle::SP_DialogSaveButton),
                 themeIcon("dialog-cancel", QStyle::SP_DialogCancelButton),
                 themeIcon("view-refresh", QStyle::SP_BrowserReload)};
}

TMain_Form::~TMain_Form() = default;

void TMain_Form::FormCreate(const CommandLine& commandLine) {
    try {
        resolveProcessSettings(m_settings, commandLine, QCoreApplication::applicationFilePath());
    } catch (const NoDataHomeError& e) {
        m_messages.showError(QString::fromUtf8(e.what()));
    }
}

void TMain_Form::buildLayout() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Horni_Panel = new QWidget(central);
    Horni_Panel->setObjectName(QStringLiteral("Horni_Panel"));
    Horni_Panel->setFixedHeight(68);
    auto* bar = new QHBoxLayout(Horni_Panel);
    bar->setContentsMargins(1, 1, 1, 1);
    bar->setSpacing(0);
    Insert_Button = barButton(Horni_Panel, "Insert_Button", "Nový a upravit", 96,
                              themeIcon("document-new", QStyle::SP_FileDialogNewFolder));
    OtevriHistorii_button =
        barButton(Horni_Panel, "OtevriHistorii_button", "Otevřít historii", 97,
                  themeIcon("document-open-recent", QStyle::SP_FileDialogDetailedView));
    http_SpeedButton = barButton(Horni_Panel, "http_SpeedButton", "Nahlížení do KN", 127,
                                 themeIcon("internet-web-browser", QStyle::SP_DriveNetIcon));
    Kontrola_Jednoho = barButton(Horni_Panel, "Kontrola_Jednoho", "Zkontrolovat 1 záznam", 120,
                                 themeIcon("view-refresh", QStyle::SP_BrowserReload));
    Kontrola_Button = barButton(Horni_Panel, "Kontrola_Button", "Zkontrolovat záznamy", 120,
                                themeIcon("system-run", QStyle::SP_MediaPlay));
    Prerusit_Button = barButton(Horni_Panel, "Prerusit_Button", "Přerušit", 120,
                                themeIcon("process-stop", QStyle::SP_BrowserStop));
    Prerusit_Button->hide();
    for (QToolButton* b : {Insert_Button, OtevriHistorii_button, http_SpeedButton, Kontrola_Jednoho,
                           Kontrola_Button, Prerusit_Button})
        bar->addWidget(b);
    bar->addStretch();
    layout->addWidget(Horni_Panel);

    Log_Memo = new QPlainTextEdit(central);
    Log_Memo->setPlaceholderText(QStringLiteral("Zde se vypisuje průběh kontroly."));
    Log_Memo->setObjectName(QStringLiteral("Log_Memo"));
    Log_Memo->setReadOnly(true);
    Log_Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The log takes what the lists leave, down to nothing on a small screen.
    Log_Memo->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    layout->addWidget(Log_Memo, 1);
    setCentralWidget(central);

    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    RunProgress = new QProgressBar(this);
    RunProgress->setMaximumWidth(240);
    RunProgress->hide();
    statusBar()->addWidget(StatusBar1, 1);
    statusBar()->addPermanentWidget(RunProgress);
    statusBar()->setFixedHeight(19);
    statusBar()->setSizeGripEnabled(false);

    buildMenu();
    fitToScreen();
}

void TMain_Form::fitToScreen() {
    QSize size(890, 734 + menuBar()->sizeHint().height());
    const QScreen* screen = this->screen();
    if (!screen) {
        resize(size);
        return;
    }
    const QRect available = screen->availableGeometry();
    // The frame is known once the window is shown; until then the title bar is estimated.
    QMargins frame(0, style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
    if (const QWindow* window = windowHandle(); window && isVisible())
        frame = window->frameMargins();
    size = size.boundedTo(available.size().shrunkBy(frame));
    resize(size);
    const QRect placed = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size,
                                             available.marginsRemoved(frame));
    move(placed.topLeft() - QPoint(frame.left(), frame.top()));
}

void TMain_Form::buildMenu() {
    QMenu* settings = menuBar()->addMenu(QStringLiteral("Nastavení"));
    settings->addAction(QStringLiteral("Automatická kontrola"), this, [this] {
        if (!m_parts)
            return;
        TAuto_Form& schedule = m_parts->schedule;
        centreOver(schedule);
        schedule.show();
        schedule.raise();
        schedule.activateWindow();
    });
    // A user who said "Později" at the first start, or whose download failed, is not stuck.
    settings->addAction(QStringLiteral("Aktualizovat číselníky…"), this, [this] {
        if (m_parts)
            CodeListSetup::offer(this, m_parts->dm, !CodeListSetup::codeListsEmpty(m_parts->dm));
    });
    settings->addAction(QStringLiteral("Zadat heslo do CUZK"), this, [this] {
        if (!m_parts)
            return;
        centreOver(m_parts->about);
        m_parts->about.exec();
    });
    menuBar()->addAction(QStringLiteral("Upozornění !!!"), this, [this] {
        if (!m_parts)
            return;
        centreOver(m_parts->notice);
        m_parts->notice.show();
    });
}

void TMain_Form::attach(const Parts& parts) {
    m_parts = std::make_unique<Parts>(parts);
    buildLists();
    m_run = std::make_unique<FullCheckRun>(parts.dm, parts.portal, *this,
                                           m_settings.AutoStartRequested, m_settings.AutoRunActive);
    connect(Kontrola_Button, &QToolButton::clicked, this, &TMain_Form::Kontrola_ButtonClick);
    connect(Prerusit_Button, &QToolButton::clicked, this, &TMain_Form::Prerusit_ButtonClick);
    connect(Kontrola_Jednoho, &QToolButton::clicked, this, &TMain_Form::Kontrola_JednohoClick);
    connect(Insert_Button, &QToolButton::clicked, this, &TMain_Form::Insert_ButtonClick);
    connect(OtevriHistorii_button, &QToolButton::clicked, this,
            &TMain_Form::OtevriHistorii_buttonClick);
    connect(http_SpeedButton, &QToolButton::clicked, this, &TMain_Form::http_SpeedButtonClick);
}

void TMain_Form::buildLists() {
    TDM1& dm = m_parts->dm;
    auto* layout = static_cast<QVBoxLayout*>(centralWidget()->layout());
    const auto panel = [&](RecordKind kind, const char* panelName, const char* gridName) {
        const KindTable& k = kindTable(kind);
        auto* p = new RecordListPanel(k.listCaption, QColor::fromRgb(k.listColour),
                                      dm.recordSource(kind), centralWidget());
        p->setObjectName(QString::fromLatin1(panelName));
        p->grid()->setObjectName(QString::fromLatin1(gridName));
        bindColumns(p->grid(), k.columns);
        layout->insertWidget(1 + static_cast<int>(kind), p);
        return p;
    };
    Parcely_Panel = panel(RecordKind::Parcel, "Parcely_Panel", "Parcely_DBGrid");
    Stavby_Panel = panel(RecordKind::Building, "Stavby_Panel", "Stavby_DBGrid");
    Jednotky_Panel = panel(RecordKind::Unit, "Jednotky_Panel", "Jednotky_DBGrid");
    Parcely_DBGrid = Parcely_Panel->grid();
    Stavby_DBGrid = Stavby_Panel->grid();
    Jednotky_DBGrid = Jednotky_Panel->grid();

    connect(Parcely_Panel, &RecordListPanel::normClicked, this,
            &TMain_Form::Parcely_Norm_SpeedButtonClick);
    connect(Stavby_Panel, &RecordListPanel::normClicked, this, &TMain_Form::SpeedButton1Click);
    connect(Jednotky_Panel, &RecordListPanel::normClicked, this, &TMain_Form::SpeedButton4Click);
    connect(Parcely_Panel, &RecordListPanel::maxClicked, this,
            &TMain_Form::Parcely_Max_SpeedButtonClick);
    connect(Stavby_Panel, &RecordListPanel::maxClicked, this, &TMain_Form::SpeedButton3Click);
    connect(Jednotky_Panel, &RecordListPanel::maxClicked, this, &TMain_Form::SpeedButton5Click);
    connect(Parcely_DBGrid, &RecordGrid::cellClicked, this, &TMain_Form::Parcely_DBGridCellClick);
    connect(Stavby_DBGrid, &RecordGrid::cellClicked, this, &TMain_Form::Stavby_DBGridCellClick);
    connect(Jednotky_DBGrid, &RecordGrid::cellClicked, this, &TMain_Form::Jednotky_DBGridCellClick);
    connect(Parcely_DBGrid, &RecordGrid::titleClicked, this, &TMain_Form::Parcely_DBGridTitleClick);
    connect(Stavby_DBGrid, &RecordGrid::titleClicked, this, &TMain_Form::Stavby_DBGridTitleClick);
    connect(Jednotky_DBGrid, &RecordGrid::titleClicked, this,
            &TMain_Form::Jednotky_DBGridTitleClick);
    // Parcely_DBGridDblClick, Stavby_DBGridDblClick, Jednotky_DBGridDblClick
    for (RecordKind kind : kAllRecordKinds)
        connect(panelOf(kind)->grid(), &QAbstractItemView::doubleClicked, this,
                [this, kind] { openHistory(kind); });
    for (RecordKind kind : kAllRecordKinds) {
        RecordGrid* grid = panelOf(kind)->grid();
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
        auto* one = new QAction(QStringLiteral("Označit jako přečtené"), grid);
        auto* all = new QAction(QStringLiteral("Označit vše jako přečtené"), grid);
        connect(one, &QAction::triggered, this, [this, kind] { markSeen(kind, false); });
        connect(all, &QAction::triggered, this, [this, kind] { markSeen(kind, true); });
        grid->addActions({one, all});
    }
    connect(Parcely_DBGrid, &RecordGrid::deleteRequested, this,
            [this] { deleteCurrent(RecordKind::Parcel); });
    connect(Stavby_DBGrid, &RecordGrid::deleteRequested, this,
            [this] { deleteCurrent(RecordKind::Building); });
    connect(Jednotky_DBGrid, &RecordGrid::deleteRequested, this,
            [this] { deleteCurrent(RecordKind::Unit); });
    FormResize();
}

RecordListPanel* TMain_Form::panelOf(RecordKind kind) const {
    const std::array<RecordListPanel*, 3> panels = {Parcely_Panel, Stavby_Panel, Jednotky_Panel};
    return panels[static_cast<int>(kind)];
}

std::optional<RecordKind> TMain_Form::focusedKind() const {
    for (RecordKind kind : kAllRecordKinds)
        if (panelOf(kind) && panelOf(kind)->grid()->hasFocus())
            return kind;
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Layout

void TMain_Form::FormResize() {
    if (!Parcely_Panel)
        return;
    // A quarter each as long as the window has room for it, but never a minimum: the
    // window shrinks freely, and the lists with it once the log has no room left.
    const int quarter = (height() - menuBar()->height()) / 4;
    for (RecordListPanel* panel : {Jednotky_Panel, Stavby_Panel, Parcely_Panel}) {
        // A maximised list fills the window whatever its height was set to.
        if (panel->maxButton()->isChecked())
            continue;
        panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
        panel->setMaximumHeight(quarter);
    }
}

void TMain_Form::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMain_Form::max(RecordListPanel* panel) {
    Log_Memo->hide();
    for (RecordListPanel* p : {Parcely_Panel, Stavby_Panel, Jednotky_Panel}) {
        p->setVisible(p == panel);
        p->setMaximumHeight(QWIDGETSIZE_MAX);
        p->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    }
    static_cast<QVBoxLayout*>(centralWidget()->layout())->setStretchFactor(panel, 1);
}

void TMain_Form::norm(RecordListPanel* panel) {
    static_cast<QVBoxLayout*>(centralWidget()->layout())->setStretchFactor(panel, 0);
    Log_Memo->show();
    // The layout keeps the panels in the order PARCELY, STAVBY, JEDNOTKY.
    for (RecordListPanel* p : {Parcely_Panel, Stavby_Panel, Jednotky_Panel})
        p->show();
    FormResize();
}

void TMain_Form::Parcely_Norm_SpeedButtonClick() {
    if (Parcely_Panel && Parcely_Panel->normButton()->isChecked())
        norm(Parcely_Panel);
}
void TMain_Form::SpeedButton1Click() {
    norm(Stavby_Panel);
}
void TMain_Form::SpeedButton4Click() {
    norm(Jednotky_Panel);
}
void TMain_Form::Parcely_Max_SpeedButtonClick() {
    max(Parcely_Panel);
}
void TMain_Form::SpeedButton3Click() {
    max(Stavby_Panel);
}
void TMain_Form::SpeedButton5Click() {
    max(Jednotky_Panel);
}

// ---------------------------------------------------------------------------
// Lists

void TMain_Form::Parcely_DBGridCellClick(int visualColumn) {
    switchChecked(RecordKind::Parcel, visualColumn);
}
void TMain_Form::Stavby_DBGridCellClick(int visualColumn) {
    switchChecked(RecordKind::Building, visualColumn);
}
void TMain_Form::Jednotky_DBGridCellClick(int visualColumn) {
    switchChecked(RecordKind::Unit, visualColumn);
}

void TMain_Form::switchChecked(RecordKind kind, int visualColumn) {
    // Tied to the column's position, whatever field the user has moved there.
    if (visualColumn != kindTable(kind).switchColumn)
        return;
    TDM1& dm = m_parts->dm;
    Dataset& q = dm.recordQuery(kind);
    if (q.currentRow() < 0)
        return;
    const int id = q.integer(QStringLiteral("id"));
    const QString value =
        q.yesNo(QStringLiteral("kontrolovat")) ? QStringLiteral("0") : QStringLiteral("1");
    const QString table = kindTable(kind).recordTable;
    try {
        dm.ExecuteStatement(QStringLiteral("UPDATE `%1` SET `kontrolovat` = ").arg(table) + value +
                            QStringLiteral(" WHERE id = ") + QString::number(id));
    } catch (const DatabaseError& e) {
        m_messages.showError(e.message());
        return;
    }
    dm.Obnovit_Query(q);
    q.locate(QStringLiteral("id"), id);
}

void TMain_Form::Parcely_DBGridTitleClick(const QString& field) {
    sortBy(RecordKind::Parcel, field);
}
void TMain_Form::Stavby_DBGridTitleClick(const QString& field) {
    sortBy(RecordKind::Building, field);
}
void TMain_Form::Jednotky_DBGridTitleClick(const QString& field) {
    sortBy(RecordKind::Unit, field);
}

void TMain_Form::sortBy(RecordKind kind, const QString& field) {
    Dataset& q = m_parts->dm.recordQuery(kind);
    q.close();
    // The computed designation sorts by the parcel number.
    const QString column = field == QLatin1String("cele_cislo") ? QStringLiteral("cislo_1") : field;
    const bool ascending = q.sql().last().contains(QLatin1String("ASC"));
    q.setLastSqlLine(QStringLiteral("ORDER BY ") + column +
                     (ascending ? QStringLiteral(" DESC") : QStringLiteral(" ASC")));
    try {
        q.open();
        panelOf(kind)->grid()->showSortOrder(field,
                                             ascending ? Qt::DescendingOrder : Qt::AscendingOrder);
    } catch (const DatabaseError& e) {
        m_messages.showError(e.message());
    }
}

void TMain_Form::deleteCurrent(RecordKind kind) {
    Dataset& q = m_parts->dm.recordQuery(kind);
    if (q.currentRow() < 0)
        return;
    if (!DBNavigator::askToDelete(this))
        return;
    try {
        q.deleteRecord();
    } catch (const SilentAbort&) {
        // The record rules did the deletion and refreshed the list.
    } catch (const DatabaseError& e) {
        m_messages.showError(e.message());
    }
}

void TMain_Form::markSeen(RecordKind kind, bool all) {
    TDM1& dm = m_parts->dm;
    Dataset& q = dm.recordQuery(kind);
    if (q.isEditing() || (!all && q.currentRow() < 0))
        return;
    const int id = q.currentRow() >= 0 ? q.integer(QStringLiteral("ID")) : 0;
    try {
        dm.MarkSeen(kind, all ? std::nullopt : std::optional<int>(id));
    } catch (const DatabaseError& e) {
        m_messages.showError(e.message());
        return;
    }
    dm.Obnovit_Query(q);
    if (id > 0)
        q.locate(QStringLiteral("ID"), id);
}

// ---------------------------------------------------------------------------
// Portal and checks

void TMain_Form::http_SpeedButtonClick() {
    TBrowser_Form& form = m_parts->browser;
    PortalSession& portal = m_parts->portal;
    PortalBrowser& browser = form.browser();
    try {
        const PortalSession::Operation operation(portal);
        const std::optional<RecordKind> kind = focusedKind();
        const LoginOutcome login = portal.login();
        centreOver(form);
        form.show();
        if (login == LoginOutcome::Refused)
            m_messages.showError(loginRefusedText());
        if (!kind) {
            browser.Navigate(browser.settings().searchPage(RecordKind::Parcel));
            return;
        }
        Log_Memo->clear();
        const Dataset& list = m_parts->dm.recordQuery(*kind);
        if (list.recordCount() > 0 && login == LoginOutcome::LoggedIn)
            portal.lookup(WatchedRecord::read(*kind, list));
        else
            browser.Navigate(browser.settings().searchPage(*kind));
    } catch (const std::exception& e) {
        m_messages.showError(QString::fromUtf8(e.what()));
    }
}

void TMain_Form::Insert_ButtonClick() {
    TInsert_Form& editor = m_parts->editor;
    editor.showPage(focusedKind().value_or(RecordKind::Parcel));
    centreOver(editor);
    editor.exec();
}

void TMain_Form::OtevriHistorii_buttonClick() {
    if (const std::optional<RecordKind> kind = focusedKind())
        openHistory(*kind);
}

void TMain_Form::openHistory(RecordKind kind) {
    TDM1& dm = m_parts->dm;
    TZmeny_Form& history = m_parts->history;
    dm.Obnovit_Query(dm.historyQuery(kind));
    history.setDataSource(dm.historySource(kind));
    history.Zmeny_DBGridDblClick();
    if (!kindTable(kind).historyWhenEmpty && dm.historyQuery(kind).recordCount() == 0)
        return;
    markSeen(kind, false); // the user is looking at the record's changes now
    centreOver(history);
    history.exec();
}

void TMain_Form::Kontrola_JednohoClick() {
    try {
        veritam::Kontrola_JednohoClick(m_parts->dm, m_parts->portal, focusedKind());
    } catch (const std::exception& e) {
        m_messages.showError(errorText(e));
    }
}

void TMain_Form::Kontrola_ButtonClick() {
    if (m_run)
        m_run->Kontrola_ButtonClick();
}

void TMain_Form::Prerusit_ButtonClick() {
    if (m_run)
        m_run->Prerusit_ButtonClick();
}

// ---------------------------------------------------------------------------
// The full run's outlets

void TMain_Form::addLogLine(const QString& line) {
    Log_Memo->appendPlainText(line);
}

void TMain_Form::setStatus(const QString& text, int pass, int done, int total) {
    StatusBar1->setText(text);
    RunProgress->setVisible(!text.isEmpty());
    RunProgress->setRange(0, std::max(total, 1));
    RunProgress->setValue(done);
    RunProgress->setFormat(kindTable(kAllRecordKinds[std::clamp(pass, 0, 2)]).progressName +
                           QStringLiteral(" %v/%m"));
}

void TMain_Form::ZapnoutOvladaciZarizeni(bool enable) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             Kontrola_Button, Insert_Button, OtevriHistorii_button, http_SpeedButton,
             Kontrola_Jednoho, Parcely_DBGrid, Stavby_DBGrid, Jednotky_DBGrid})
        if (w)
            w->setEnabled(enable);
    Prerusit_Button->setVisible(!enable);
}

void TMain_Form::setCheckButtonCaption(const QString& caption) {
    Kontrola_Button->setText(caption);
}

void TMain_Form::clearSummary() {
    m_parts->log.clear();
}

void TMain_Form::addSummaryLine(const QString& line) {
    m_parts->log.addLine(line);
}

bool TMain_Form::summaryHasText() const {
    return m_parts->log.hasText();
}

void TMain_Form::showSummary() {
    if (!isVisible())
        return; // the window was closed during the run: the program is ending
    QApplication::alert(this);
    if (m_settings.AutoRunActive)
        notifyDesktop(QStringLiteral("Veritam: nalezeny změny"), changesForNotification());
    centreOver(m_parts->log);
    m_parts->log.exec();
}

QString TMain_Form::changesForNotification() const {
    // What to open: each changed record with what changed.
    QStringList lines;
    for (const ChangedRecord& changed : m_run->changedRecords())
        lines.append(changed.notice);
    constexpr int kShown = 8;
    if (lines.size() > kShown) {
        const qsizetype more = lines.size() - kShown;
        lines = lines.mid(0, kShown);
        lines.append(QStringLiteral("… a další (%1)").arg(more));
    }
    return QStringLiteral("Automatická kontrola našla změny:\n") + lines.join(u'\n');
}

void TMain_Form::quitApplication() {
    QCoreApplication::quit();
}

// ---------------------------------------------------------------------------
// Window events

void TMain_Form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
    // The window manager tells the real frame only after the first show, and a title bar
    // taller than estimated would push the status line off the screen.
    if (!std::exchange(m_shownOnce, true)) {
        const auto refitWhenCut = [this] {
            if (screen() && !isMaximized() && !isFullScreen() &&
                !screen()->availableGeometry().contains(frameGeometry()))
                fitToScreen();
        };
        QTimer::singleShot(0, this, refitWhenCut);
        QTimer::singleShot(500, this, refitWhenCut);
    }
}

void TMain_Form::FormShow() {
    // Queued: the run starts once the window is on screen, so that its log, status line and
    // "Přerušit" work while it lasts. The run clears the request when it begins.
    if (m_settings.AutoStartRequested && !m_settings.AutoRunActive && !m_autoRunQueued) {
        m_autoRunQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_autoRunQueued = false;
            if (m_settings.AutoStartRequested && !m_settings.AutoRunActive)
                Kontrola_ButtonClick();
        });
    }
}

void TMain_Form::centreOver(QWidget& window) const {
    // A window its layout sizes takes that size first; it would be centred at another.
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    // Frame on frame (move() places the frame); a window not yet shown knows none.
    QRect placed = window.frameGeometry();
    placed.moveCenter(frameGeometry().center());
    // Never past the screen's edges, where the window's title bar could not be reached.
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        placed.moveLeft(std::max(available.left(),
                                 std::min(placed.left(), available.right() - placed.width())));
        placed.moveTop(std::max(available.top(),
                                std::min(placed.top(), available.bottom() - placed.height())));
    }
    window.move(placed.topLeft());
}

bool TMain_Form::checkRunning() const {
    return m_run && m_run->running();
}

void TMain_Form::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    // A run under way looks up no further record; its waits end at once.
    if (m_run && m_run->running())
        m_run->Prerusit_ButtonClick();
    QCoreApplication::quit();
}

} // namespace veritam
