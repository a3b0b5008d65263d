// The main window's lists as the user works with them, offscreen.
#include "QuestionAnswer.h"
#include "TestSupport.h"

#include "app/Application.h"
#include "app/CzechTranslation.h"
#include "app/RecordListPanel.h"
#include "app/TLog_Form.h"
#include "app/TMain_Form.h"
#include "entry/RecordGrid.h"
#include "entry/TInsert_Form.h"
#include "history/TZmeny_Form.h"
#include "settings/TAbout_Form.h"
#include "settings/TAuto_Form.h"
#include "settings/TUpozorneni_Form.h"
#include "store/DatasetModel.h"
#include "store/TDM1.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

/// The application on a data folder with three parcels (the second unwatched and with a
/// changed owners section) and one change row with its snapshot for the first.
struct Window {
    Window() {
        folder.createDatabaseWithCodeLists();
        {
            OpenedStore s(folder.path());
            for (const char* values : {"602582, 2, 30, 'C', 1, 0", "602582, 2, 10, 'A', 0, 1",
                                       "602582, 1, 20, 'B', 1, 0"})
                s.exec(QStringLiteral(
                           "INSERT INTO parcely (user_id, uzemi, druh_cislovani, cislo_1, nazev, "
                           "kontrolovat, zmena_vlastnici) VALUES (1, ") +
                       QString::fromLatin1(values) + u')');
            s.exec(QStringLiteral("INSERT INTO user_table (login) VALUES ('x')"));
            s.exec(QStringLiteral("DELETE FROM user_table WHERE login = 'prihlasovaci_jmeno'"));
            s.dm.InsertChange(QStringLiteral("zmeny_parcel"), QStringLiteral("id_parcely"),
                              QStringLiteral("1"), QDateTime::currentDateTime(),
                              QStringLiteral("historie/parcely/parcela-id-1/a.html"));
        }
        QDir().mkpath(folder.path() + QStringLiteral("historie/parcely/parcela-id-1"));
        app = std::make_unique<Application>(CommandLine({QStringLiteral("--files"), folder.path()}),
                                            messages);
        form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        form().Log_Memo->setFocus();
    }
    TMain_Form& form() { return *app->Main_Form; }
    Dataset& parcels() { return app->DM1->Parcely_Query; }
    RecordGrid& grid() { return *form().Parcely_DBGrid; }
    QModelIndex cell(int row, const char* field) {
        return grid().model()->index(row,
                                     grid().datasetModel().columnOf(QString::fromLatin1(field)));
    }
    void click(const QModelIndex& index) {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, grid().visualRect(index).center());
    }
    void clickTitle(const char* field) {
        const int logical = grid().datasetModel().columnOf(QString::fromLatin1(field));
        QHeaderView* header = grid().horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(logical) + 5, header->height() / 2));
    }
    /// A menu bar item or an item of one of its menus.
    QAction* menuItem(const QString& text) {
        for (QAction* top : form().menuBar()->actions()) {
            if (top->text() == text)
                return top;
            if (top->menu())
                for (QAction* item : top->menu()->actions())
                    if (item->text() == text)
                        return item;
        }
        return nullptr;
    }
    bool checked(const char* name) {
        return app->DM1
            ->OpenStatement(QStringLiteral("SELECT kontrolovat FROM parcely WHERE nazev = '%1'")
                                .arg(QString::fromLatin1(name)))
            ->yesNo(QStringLiteral("kontrolovat"));
    }

    TempDataFolder folder;
    RecordingMessages messages;
    std::unique_ptr<Application> app;
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void flagCellsArePainted();
    void switchFollowsTheColumnPosition();
    void titleClicksAlternateAscendingAndDescending();
    void fitsTheScreen();
    void panelsShareTheHeight_data();
    void panelsShareTheHeight();
    void titlesAndDatesAreReadable();
    void maxThenNormRestoresTheOrder();
    void ctrlDeleteRemovesRecordChangesAndSnapshots();
    void changesMarkedReadFromTheContextMenu();
    void buttonCaptionsWholeAtTheSmallestSize();
    void codeListsCanBeRenewedAtAnyTime();
    void standardDialogsSpeakCzech();
    void secondaryWindowsOpenCentred_data();
    void secondaryWindowsOpenCentred();
};

void TestMainWindow::flagCellsArePainted() {
    Window w;
    const QImage image = w.grid().viewport()->grab().toImage();
    const auto colourAt = [&](int row, const char* field) {
        const QRect r = w.grid().visualRect(w.cell(row, field));
        return QColor(image.pixel(r.left() + 2, r.top() + 2)).rgb();
    };
    // Rows by name: A (unwatched, owners changed), B, C.
    QCOMPARE(w.parcels().text(QStringLiteral("nazev")), QStringLiteral("A"));
    QCOMPARE(colourAt(0, "kontrolovat"), qRgb(254, 207, 216));
    QCOMPARE(colourAt(0, "zmena_vlastnici"), qRgb(254, 207, 216));
    QCOMPARE(colourAt(0, "zmena_prevod"), qRgb(179, 255, 159));
    QCOMPARE(colourAt(1, "kontrolovat"), qRgb(179, 255, 159));
    QVERIFY(colourAt(1, "nazev") != qRgb(179, 255, 159));
}

void TestMainWindow::switchFollowsTheColumnPosition() {
    Window w;
    w.click(w.cell(1, "kontrolovat")); // row B, not current before the click
    QVERIFY(!w.checked("B"));
    QCOMPARE(w.parcels().text(QStringLiteral("nazev")), QStringLiteral("B")); // stays current
    w.click(w.cell(1, "nazev"));
    QVERIFY(!w.checked("B"));

    // "Kontrolováno" dragged to the front: the sixth position now shows "Poslední kontrola".
    QHeaderView* header = w.grid().horizontalHeader();
    header->moveSection(header->visualIndex(w.cell(0, "kontrolovat").column()), 0);
    w.click(w.cell(2, "posledni_kontrola")); // row C
    QVERIFY(!w.checked("C"));
    w.click(w.cell(2, "kontrolovat"));
    QVERIFY(!w.checked("C"));
    QCOMPARE(w.parcels().text(QStringLiteral("nazev")), QStringLiteral("C"));
}

void TestMainWindow::titleClicksAlternateAscendingAndDescending() {
    Window w;
    w.clickTitle("nazev");
    QCOMPARE(w.parcels().sql().last(), QStringLiteral("ORDER BY nazev ASC"));
    QCOMPARE(w.parcels().text(QStringLiteral("nazev")), QStringLiteral("A"));
    w.clickTitle("cele_cislo");
    QCOMPARE(w.parcels().sql().last(), QStringLiteral("ORDER BY cislo_1 DESC"));
    QCOMPARE(w.parcels().integer(QStringLiteral("cislo_1")), 30);
    w.clickTitle("cele_cislo");
    QCOMPARE(w.parcels().sql().last(), QStringLiteral("ORDER BY cislo_1 ASC"));
    // The arrow shows the order of the column last clicked.
    const QHeaderView* header = w.grid().horizontalHeader();
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), w.cell(0, "cele_cislo").column());
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    w.clickTitle("nazev");
    QCOMPARE(header->sortIndicatorSection(), w.cell(0, "nazev").column());
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

void TestMainWindow::fitsTheScreen() {
    Window w;
    TMain_Form& f = w.form();
    const auto inside = [&f](QSize screenSize) {
        const QRect available = f.screen()->availableGeometry();
        QCOMPARE(available.size(), screenSize);
        const QRect frame = f.frameGeometry();
        QVERIFY2(available.contains(frame), qPrintable(QStringLiteral("%1 × %2 at %3, %4")
                                                           .arg(frame.width())
                                                           .arg(frame.height())
                                                           .arg(frame.x())
                                                           .arg(frame.y())));
        const QRect status(f.statusBar()->mapToGlobal(QPoint(0, 0)), f.statusBar()->size());
        QVERIFY(f.statusBar()->isVisible() && available.contains(status));
    };
    inside(QSize(1366, 768));
    // A screen smaller than the window's specified size: the window shrinks to it.
    const QList<QScreen*> screens = QGuiApplication::screens();
    QCOMPARE(screens.size(), 2);
    f.setScreen(screens[1]);
    f.fitToScreen();
    QTRY_COMPARE(f.screen(), screens[1]);
    inside(QSize(1024, 600));
    QVERIFY(f.Jednotky_Panel->geometry().bottom() < f.statusBar()->y());
}

void TestMainWindow::panelsShareTheHeight_data() {
    QTest::addColumn<int>("height");
    QTest::newRow("specified") << 735;
    QTest::newRow("taller") << 760;
    QTest::newRow("a small laptop's") << 560;
    QTest::newRow("half a screen") << 400;
}

void TestMainWindow::panelsShareTheHeight() {
    QFETCH(int, height);
    Window w;
    TMain_Form& f = w.form();
    for (int h : {height, 735}) { // there and back again
        f.resize(890, h + f.menuBar()->height());
        QTRY_COMPARE(f.height(), h + f.menuBar()->height()); // no list's height is a minimum
        const int quarter = h / 4;
        QTRY_COMPARE(f.Parcely_Panel->height(), quarter);
        QCOMPARE(f.Stavby_Panel->height(), quarter);
        QCOMPARE(f.Jednotky_Panel->height(), quarter);
        QVERIFY(f.Jednotky_Panel->geometry().bottom() < f.statusBar()->y());
    }
}

void TestMainWindow::titlesAndDatesAreReadable() {
    Window w;
    TMain_Form& f = w.form();
    w.app->DM1->UpdateField(w.parcels().integer(QStringLiteral("ID")), QStringLiteral("parcely"),
                            QStringLiteral("posledni_kontrola"),
                            TDM1::DateToSql(QDateTime(QDate(2026, 12, 28), QTime(23, 58, 58))));
    w.app->DM1->Obnovit_Query(w.parcels());
    for (RecordGrid* grid : {f.Parcely_DBGrid, f.Stavby_DBGrid, f.Jednotky_DBGrid}) {
        QHeaderView* header = grid->horizontalHeader();
        for (int c = 0; c < header->count(); ++c) {
            const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(header->sectionSize(c) >= header->sectionSizeHint(c), qPrintable(title));
        }
    }
    const QModelIndex checked = w.cell(0, "posledni_kontrola");
    const QString shown = checked.data().toString();
    QCOMPARE(shown, QStringLiteral("28.12.2026 23:58:58"));
    QVERIFY(w.grid().fontMetrics().horizontalAdvance(shown) <
            w.grid().columnWidth(checked.column()) - 4);
    // The bar's pictures, whichever theme or fallback they come from, are of one size.
    for (const QToolButton* b : f.Horni_Panel->findChildren<QToolButton*>())
        QCOMPARE(b->icon().pixmap(b->iconSize()).size(), QSize(32, 32));
    // The specified widths stay the least.
    QVERIFY(w.grid().columnWidth(w.cell(0, "nazev").column()) >= 165);
}

void TestMainWindow::maxThenNormRestoresTheOrder() {
    Window w;
    TMain_Form& f = w.form();
    f.Stavby_Panel->maxButton()->click();
    QTRY_VERIFY(!f.Log_Memo->isVisible());
    QVERIFY(!f.Parcely_Panel->isVisible() && !f.Jednotky_Panel->isVisible());
    QTRY_VERIFY(f.Stavby_Panel->height() > 500);
    f.resize(f.width(), f.height() + 40); // still filling the window after a resize
    QTRY_VERIFY(f.Stavby_Panel->height() > 540);
    f.Stavby_Panel->normButton()->click();
    QTRY_VERIFY(f.Log_Memo->isVisible());
    QTRY_VERIFY(f.Parcely_Panel->y() < f.Stavby_Panel->y() &&
                f.Stavby_Panel->y() < f.Jednotky_Panel->y());
    QCOMPARE(f.Stavby_Panel->height(), f.Parcely_Panel->height());
    QCOMPARE(f.Jednotky_Panel->height(), f.Parcely_Panel->height());
}

void TestMainWindow::ctrlDeleteRemovesRecordChangesAndSnapshots() {
    Window w;
    QVERIFY(w.parcels().locate(QStringLiteral("ID"), 1));
    w.grid().setFocus();
    QString asked;
    answerNextQuestion(QMessageBox::Yes, &asked);
    QTest::keyClick(&w.grid(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(asked, QStringLiteral("Smazat záznam?"));
    QCOMPARE(w.parcels().recordCount(), 2);
    QCOMPARE(w.app->DM1->OpenStatement(QStringLiteral("SELECT COUNT(*) AS n FROM zmeny_parcel"))
                 ->integer(QStringLiteral("n")),
             0);
    QVERIFY(!QFileInfo::exists(w.folder.path() + QStringLiteral("historie/parcely/parcela-id-1")));
    QVERIFY(w.messages.errors.isEmpty());
}

void TestMainWindow::changesMarkedReadFromTheContextMenu() {
    Window w;
    TDM1& dm = *w.app->DM1;
    dm.ExecuteStatement(QStringLiteral("UPDATE parcely SET zmena_vlastnici = 1, zmena_jine = 1"));
    dm.Obnovit_Query(w.parcels());
    const auto flagged = [&] {
        return dm
            .OpenStatement(QStringLiteral("SELECT COUNT(*) AS n FROM parcely WHERE "
                                          "zmena_vlastnici = 1 OR zmena_jine = 1"))
            ->integer(QStringLiteral("n"));
    };
    const auto item = [&](const char* text) {
        for (QAction* a : w.grid().actions())
            if (a->text() == QString::fromUtf8(text))
                return a;
        return static_cast<QAction*>(nullptr);
    };
    QCOMPARE(w.grid().contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(w.parcels().locate(QStringLiteral("nazev"), QStringLiteral("B")));
    item("Označit jako přečtené")->trigger();
    QCOMPARE(flagged(), 2);
    QCOMPARE(w.parcels().text(QStringLiteral("nazev")), QStringLiteral("B")); // stays current
    QVERIFY(!w.parcels().yesNo(QStringLiteral("zmena_vlastnici")));
    item("Označit vše jako přečtené")->trigger();
    QCOMPARE(flagged(), 0);
}

void TestMainWindow::buttonCaptionsWholeAtTheSmallestSize() {
    Window w;
    w.form().resize(1, 1); // as small as the window lets itself be
    QTRY_VERIFY(w.form().width() < 1366);
    for (QToolButton* b : {w.form().Kontrola_Jednoho, w.form().Kontrola_Button,
                           w.form().Insert_Button, w.form().http_SpeedButton})
        QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->text()));
}

void TestMainWindow::codeListsCanBeRenewedAtAnyTime() {
    Window w;
    QAction* renew = w.menuItem(QStringLiteral("Aktualizovat číselníky…"));
    QVERIFY(renew);
    QString offered;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            offered = box->text();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QStringLiteral("Zrušit"))
                    b->click();
        }
    });
    renew->trigger();
    // The lists are there: renewing them is offered, and a cancel changes nothing.
    QVERIFY2(offered.startsWith(QStringLiteral("Číselníky katastrálních území, obcí a částí obcí "
                                               "lze nahradit")),
             qPrintable(offered));
    QCOMPARE(w.app->DM1->KatastralniUzemi_Query.recordCount(), kFixtureTerritories);
}

void TestMainWindow::standardDialogsSpeakCzech() {
    QVERIFY2(installCzechTranslation(), "Qt's Czech translation (qt6-translations-l10n)");
    const QStringList english = {
        QStringLiteral("&Undo"),       QStringLiteral("&Redo"),          QStringLiteral("Cu&t"),
        QStringLiteral("&Copy"),       QStringLiteral("&Paste"),         QStringLiteral("Delete"),
        QStringLiteral("Select All"),  QStringLiteral("&Yes"),           QStringLiteral("&No"),
        QStringLiteral("Cancel"),      QStringLiteral("&Open"),          QStringLiteral("Look in:"),
        QStringLiteral("File &name:"), QStringLiteral("Files of type:"), QStringLiteral("&OK")};
    QStringList shown;
    const auto menuTexts = [&shown](std::unique_ptr<QMenu> menu) {
        for (const QAction* action : menu->actions())
            if (!action->isSeparator())
                shown.append(action->text().section(u'\t', 0, 0));
    };
    QLineEdit edit;
    menuTexts(std::unique_ptr<QMenu>(edit.createStandardContextMenu()));
    QPlainTextEdit notes;
    menuTexts(std::unique_ptr<QMenu>(notes.createStandardContextMenu()));
    QMessageBox box(QMessageBox::Question, QStringLiteral("Veritam"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    for (const QAbstractButton* b : box.buttons())
        shown.append(b->text());
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    for (const QLabel* label : files.findChildren<QLabel*>())
        shown.append(label->text());
    for (const QAbstractButton* b : files.findChildren<QPushButton*>())
        shown.append(b->text());
    QVERIFY(shown.size() > 15);
    for (const QString& text : shown)
        QVERIFY2(!english.contains(text), qPrintable(text));
    QVERIFY2(shown.contains(QStringLiteral("Zrušit")), qPrintable(shown.join(u'|')));
}

void TestMainWindow::secondaryWindowsOpenCentred_data() {
    QTest::addColumn<QString>("opener"); // a menu item's or a button's text
    for (const char* opener : {"Automatická kontrola", "Zadat heslo do CUZK", "Upozornění !!!",
                               "Nový a upravit", "Otevřít historii", "(změny po kontrole)"})
        QTest::newRow(opener) << QString::fromUtf8(opener);
}

void TestMainWindow::secondaryWindowsOpenCentred() {
    QFETCH(QString, opener);
    Window w;
    TMain_Form& f = w.form();
    Application& app = *w.app;
    f.move(f.pos() + QPoint(-60, 10)); // not where the screen's centre would put them
    QWidget* window = nullptr;
    std::function<void()> open;
    if (QAction* item = w.menuItem(opener)) {
        open = [item] { item->trigger(); };
        window = opener.startsWith(u'A')   ? static_cast<QWidget*>(app.Auto_Form.get())
                 : opener.startsWith(u'Z') ? static_cast<QWidget*>(app.About_Form.get())
                                           : app.Upozorneni_Form.get();
    } else if (opener == QLatin1String("Nový a upravit")) {
        open = [&f] { f.Insert_Button->click(); };
        window = app.Insert_Form.get();
    } else if (opener == QLatin1String("Otevřít historii")) {
        w.grid().setFocus();
        open = [&f] { f.OtevriHistorii_button->click(); };
        window = app.Zmeny_Form.get();
    } else {
        f.addSummaryLine(QStringLiteral("Změna u parcely p. č. 10"));
        open = [&f] { f.showSummary(); };
        window = app.Log_Form.get();
    }
    QPoint centre;
    QTimer poll; // also inside a modal window's own event loop
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!window->isVisible())
            return;
        poll.stop();
        centre = window->frameGeometry().center();
        window->close();
    });
    poll.start(20);
    open();
    QTRY_VERIFY(!poll.isActive());
    // Within the frame of a window shown the first time, which is not known before.
    const QPoint expected = f.frameGeometry().center();
    QVERIFY2((centre - expected).manhattanLength() <= 4,
             qPrintable(QStringLiteral("%1, %2 against %3, %4")
                            .arg(centre.x())
                            .arg(centre.y())
                            .arg(expected.x())
                            .arg(expected.y())));
}

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VERITAM_LAPTOP_SCREEN);
    QApplication application(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_MainWindow.moc"
