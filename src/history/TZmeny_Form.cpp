#include "history/TZmeny_Form.h"

#include "analysis/SectionDiff.h"
#include "history/ChangeReport.h"
#include "platform/UserMessages.h"
#include "portal/SnapshotView.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"
#include "store/DatasetModel.h"
#include "store/RecordKind.h"
#include "store/TDM1.h"

#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace veritam {

namespace {

std::optional<TParseKatastr> snapshotSections(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return SectionDiff::readSnapshot(file.readAll());
}

} // namespace

TZmeny_Form::TZmeny_Form(TDM1& dm, UserMessages& messages, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , m_dm(dm)
    , m_messages(messages) {
    setObjectName(QStringLiteral("Zmeny_Form"));
    setWindowTitle(QStringLiteral("Změny na nemovité věci"));
    resize(754, 473);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* body = new QSplitter(Qt::Horizontal, this);

    auto* panel = new QWidget(body);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* left = new QVBoxLayout(panel);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    Button1 = new QPushButton(QStringLiteral("Smazat"), panel);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedHeight(25);
    connect(Button1, &QPushButton::clicked, this, &TZmeny_Form::Odstranit1Click);
    left->addWidget(Button1);
    Zmeny_DBGrid = new QTableView(panel);
    Zmeny_DBGrid->setObjectName(QStringLiteral("Zmeny_DBGrid"));
    Zmeny_DBGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Zmeny_DBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    Zmeny_DBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Zmeny_DBGrid->setTabKeyNavigation(false);
    Zmeny_DBGrid->horizontalHeader()->setStretchLastSection(true);
    Zmeny_DBGrid->verticalHeader()->setDefaultSectionSize(Zmeny_DBGrid->fontMetrics().height() + 4);
    Zmeny_DBGrid->viewport()->installEventFilter(this); // the wheel changes nothing
    connect(Zmeny_DBGrid, &QAbstractItemView::doubleClicked, this,
            &TZmeny_Form::Zmeny_DBGridDblClick);
    left->addWidget(Zmeny_DBGrid, 1);
    panel->setMinimumWidth(185);
    panel->setMaximumWidth(260);

    auto* right = new QSplitter(Qt::Vertical, body);
    auto* report = new QWidget(right);
    auto* reportLayout = new QVBoxLayout(report);
    reportLayout->setContentsMargins(6, 4, 6, 0);
    reportLayout->addWidget(
        new QLabel(QStringLiteral("<b>Co se změnilo proti předchozímu záznamu</b>"), report));
    Rozdily = new QTextBrowser(report);
    Rozdily->setObjectName(QStringLiteral("Rozdily"));
    Rozdily->setOpenLinks(false);
    reportLayout->addWidget(Rozdily, 1);
    WebBrowser1 = new SnapshotView(dm.dataFolder(), right);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    right->setStretchFactor(0, 1);
    right->setStretchFactor(1, 2);
    body->setStretchFactor(1, 1);
    layout->addWidget(body, 1);

    StatusBar1 =
        new QLabel(QStringLiteral("Odkazy v těchto stránkách nefungují. Pokud je "
                                  "potřebujete, načtěte stránku pomocí tlačítka Nahlížení do "
                                  "KN v hlavním okně."),
                   this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    StatusBar1->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(StatusBar1);

    for (RecordKind k : kAllRecordKinds) {
        DatasetModel& source = dm.historySource(k);
        source.setColumns({{QStringLiteral("datum"), QStringLiteral("Datum změny")}});
        // The list follows its query's current row, whoever moves it.
        connect(&source, &DatasetModel::currentRowChanged, this, [this, &source](int row) {
            if (m_source == &source)
                followCurrentRow(row);
        });
    }
    setDataSource(dm.ZmenyJednotek_DataSource);
}

void TZmeny_Form::followCurrentRow(int row) {
    if (row < 0 || row >= m_source->rowCount() || Zmeny_DBGrid->currentIndex().row() == row)
        return;
    Zmeny_DBGrid->selectionModel()->setCurrentIndex(
        m_source->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TZmeny_Form::setDataSource(DatasetModel& source) {
    if (m_source == &source)
        return;
    m_source = &source;
    QItemSelectionModel* old = Zmeny_DBGrid->selectionModel();
    Zmeny_DBGrid->setModel(&source);
    delete old;
    Zmeny_DBGrid->setColumnWidth(0, 132);
    // A click or a key that makes a date current shows it: the date selected is the one read.
    Dataset& q = source.dataset();
    connect(Zmeny_DBGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, &q](const QModelIndex& current) {
                if (!current.isValid() || current.row() == q.currentRow())
                    return;
                q.setCurrentRow(current.row());
                Zmeny_DBGridDblClick();
            });
    followCurrentRow(q.currentRow());
}

RecordKind TZmeny_Form::kind() const {
    for (RecordKind k : kAllRecordKinds)
        if (&m_dm.historySource(k) == m_source)
            return k;
    return RecordKind::Unit;
}

void TZmeny_Form::Zmeny_DBGridDblClick() {
    const Dataset& history = m_dm.historyQuery(kind());
    const QString file =
        history.currentRow() >= 0 ? history.text(QStringLiteral("filename")) : QString();
    WebBrowser1->Navigate(m_dm.dataFolder() + file);
    showDifferences(history);
}

void TZmeny_Form::showDifferences(const Dataset& history) {
    const int row = history.currentRow();
    if (row < 0) {
        Rozdily->clear();
        return;
    }
    // Newest first: the previous snapshot is the next row.
    const int fileColumn = history.fieldIndex(QStringLiteral("filename"));
    ChangeReport::Input input;
    input.newer =
        snapshotSections(m_dm.dataFolder() + history.rowValue(row, fileColumn).toString());
    input.first = row + 1 >= history.recordCount();
    if (!input.first)
        input.older =
            snapshotSections(m_dm.dataFolder() + history.rowValue(row + 1, fileColumn).toString());
    Rozdily->setHtml(ChangeReport::html(input));
}

void TZmeny_Form::Odstranit1Click() {
    const RecordKind k = kind();
    Dataset& history = m_dm.historyQuery(k);
    if (history.recordCount() == 0 || history.currentRow() < 0)
        return;
    if (QMessageBox::question(this, QStringLiteral("Smazání záznamu"),
                              QStringLiteral("Určitě si přejete smazat tento záznam?"),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
        return;
    const QString file = history.text(QStringLiteral("filename"));
    const QString id = history.text(QStringLiteral("ID"));
    const QString table = kindTable(k).changeTable;
    try {
        // The row first: a row that stays must keep its snapshot.
        m_dm.ExecuteStatement(QStringLiteral("DELETE FROM %1 WHERE %1.ID = %2").arg(table, id));
        if (!file.isEmpty())
            QFile::remove(m_dm.dataFolder() + file);
    } catch (const DatabaseError& e) {
        m_messages.showError(errorText(e));
    }
    for (RecordKind each : kAllRecordKinds)
        m_dm.Obnovit_Query(m_dm.historyQuery(each));
}

bool TZmeny_Form::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Zmeny_DBGrid->viewport() && event->type() == QEvent::Wheel)
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace veritam
