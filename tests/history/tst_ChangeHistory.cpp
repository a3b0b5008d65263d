// The change history window with the real snapshot browser, a real database and data folder.
#include "LoopbackHttpServer.h"
#include "QuestionAnswer.h"
#include "TestSupport.h"

#include "analysis/ChangeRecorder.h"
#include "history/TZmeny_Form.h"
#include "portal/CzechContextMenu.h"
#include "portal/PortalBrowser.h"
#include "portal/SnapshotView.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

/// A snapshot as the recorder writes it: the header, then an information page.
QByteArray snapshot(const QString& owners) {
    return (QStringLiteral("<!DOCTYPE html><html><head><link href=\"../../../cascade1.css\" "
                           "rel=\"stylesheet\"/></head><body><h1>Informace o stavbě</h1>"
                           "<h2>Vlastníci, jiní oprávnění</h2><table>%1</table>"
                           "<h2>Omezení vlastnického práva</h2><table><tr><td>Bez zápisu."
                           "</td></tr></table></body></html>")
                .arg(owners))
        .toUtf8();
}

} // namespace

class TestChangeHistory : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listShowsNewestFirstAndTheSelectedDate();
    void twoChangesOfOneSecondAreShownApart();
    void deletionAsksAndKeepsWhatIsShown();
    void snapshotReachesNothingOutside();
    void contextMenuIsCzechAndShort();

private:
    /// A building with changes whose snapshots hold these owners, oldest first.
    int building(std::initializer_list<const char*> owners);
    void open(int buildingId);
    QString shown() const { return QFileInfo(m_form->WebBrowser1->shownPath()).fileName(); }

    std::unique_ptr<StoreFixture> m_store;
    std::unique_ptr<TZmeny_Form> m_form;
};

void TestChangeHistory::init() {
    m_store = std::make_unique<StoreFixture>(true); // the list joins the code lists
    m_form = std::make_unique<TZmeny_Form>(m_store->dm, m_store->messages);
}

void TestChangeHistory::cleanup() {
    m_form.reset();
    m_store.reset();
}

int TestChangeHistory::building(std::initializer_list<const char*> owners) {
    m_store->exec(QStringLiteral("INSERT INTO stavby (user_id, obec, cast_obce, typ_stavby, "
                                 "cislo_stavby, nazev) VALUES (1, 554782, 1520, 1, 45, 'Dům')"));
    const int id = m_store->scalar(QStringLiteral("SELECT MAX(ID) FROM stavby")).toInt();
    const QString folder = QStringLiteral("historie/stavby/stavba-id-%1/").arg(id);
    QDir().mkpath(m_store->folder.path() + folder);
    int day = 1;
    for (const char* owner : owners) {
        const QString name =
            folder + QStringLiteral("2026.03.%1,10.00.00.html").arg(day, 2, 10, QChar(u'0'));
        writeFile(m_store->folder.path() + name, snapshot(QString::fromUtf8(owner)));
        m_store->dm.InsertChange(QStringLiteral("zmeny_staveb"), QStringLiteral("id_stavby"),
                                 QString::number(id), QDateTime(QDate(2026, 3, day), QTime(10, 0)),
                                 name);
        ++day;
    }
    return id;
}

/// As the main window opens it for the building.
void TestChangeHistory::open(int buildingId) {
    TDM1& dm = m_store->dm;
    m_store->refresh(dm.Stavby_Query);
    QVERIFY(dm.Stavby_Query.locate(QStringLiteral("ID"), buildingId));
    dm.Obnovit_Query(dm.ZmenyStaveb_Query);
    m_form->setDataSource(dm.ZmenySTaveb_DataSource);
    m_form->Zmeny_DBGridDblClick();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestChangeHistory::listShowsNewestFirstAndTheSelectedDate() {
    const int id =
        building({"<tr><td>Novák</td><td>1/1</td></tr>",
                  "<tr><td>Novák</td><td>1/2</td></tr><tr><td>Dvořák</td><td>1/2</td></tr>",
                  "<tr><td>Dvořák</td><td>1/1</td></tr>"});
    open(id);
    QTableView* list = m_form->Zmeny_DBGrid;
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("Datum změny"));
    QVERIFY(list->model()->index(0, 0).data().toString().startsWith(QStringLiteral("3.3.2026")));
    QCOMPARE(shown(), QStringLiteral("2026.03.03,10.00.00.html"));
    const QString report = m_form->Rozdily->toPlainText();
    QVERIFY2(report.contains(QStringLiteral("Vlastníci, jiní oprávnění")) &&
                 report.contains(QStringLiteral("− Novák | 1/2")) &&
                 report.contains(QStringLiteral("− Dvořák | 1/2")) &&
                 report.contains(QStringLiteral("+ Dvořák | 1/1")) &&
                 report.contains(QStringLiteral("Beze změny: Omezení vlastnického práva.")),
             qPrintable(report));

    // The wheel moves nothing; an arrow key or a click shows the date it makes current.
    const QPoint centre = list->viewport()->rect().center();
    QWheelEvent wheel(centre, list->viewport()->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &wheel);
    QCOMPARE(m_store->dm.ZmenyStaveb_Query.currentRow(), 0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(m_store->dm.ZmenyStaveb_Query.currentRow(), 1);
    QCOMPARE(shown(), QStringLiteral("2026.03.02,10.00.00.html"));
    QVERIFY2(m_form->Rozdily->toPlainText().contains(QStringLiteral("+ Dvořák | 1/2")),
             qPrintable(m_form->Rozdily->toPlainText()));
    const QRect oldest = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, oldest.center());
    QCOMPARE(shown(), QStringLiteral("2026.03.01,10.00.00.html"));
    QVERIFY2(m_form->Rozdily->toPlainText().startsWith(QStringLiteral("První záznam nemovitosti")),
             qPrintable(m_form->Rozdily->toPlainText()));
    QTest::keyClick(list, Qt::Key_Up);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(list->model()->index(0, 0)).center());
    QCOMPARE(shown(), QStringLiteral("2026.03.03,10.00.00.html"));
}

void TestChangeHistory::twoChangesOfOneSecondAreShownApart() {
    TDM1& dm = m_store->dm;
    const QDateTime moment(QDate(2026, 10, 25), QTime(2, 30, 0)); // the hour that comes twice
    dm.setClock([moment] { return moment; });
    const int id = building({});
    for (const char* owner : {"Novák", "Dvořák"}) {
        const auto row =
            dm.OpenStatement(QStringLiteral("SELECT * FROM stavby WHERE ID = %1").arg(id));
        TParseKatastr sections;
        sections.vlastnici = QString::fromUtf8(owner);
        QVERIFY(ChangeRecorder::CompareAndRecord(
                    dm, WatchedRecord::read(RecordKind::Building, *row), sections,
                    QString::fromUtf8(snapshot(
                        QStringLiteral("<tr><td>%1</td></tr>").arg(QString::fromUtf8(owner)))))
                    .any());
    }
    open(id);
    QTableView* list = m_form->Zmeny_DBGrid;
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(shown(), QStringLiteral("2026.10.25,02.30.00-2.html")); // the later one
    const QString report = m_form->Rozdily->toPlainText();
    QVERIFY2(report.contains(QStringLiteral("− Novák")) &&
                 report.contains(QStringLiteral("+ Dvořák")),
             qPrintable(report));
    const QRect earlier = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, earlier.center());
    QCOMPARE(shown(), QStringLiteral("2026.10.25,02.30.00.html"));
}

void TestChangeHistory::deletionAsksAndKeepsWhatIsShown() {
    const int none = building({});
    open(none);
    QCOMPARE(m_form->Zmeny_DBGrid->model()->rowCount(), 0);
    m_form->Button1->click(); // asks nothing: a question would wait here
    const int one = building({"<tr><td>Novák</td><td>1/1</td></tr>"});
    open(one);
    const QString file =
        m_store->folder.path() + m_store->dm.ZmenyStaveb_Query.text(QStringLiteral("filename"));
    answerNextQuestion(QMessageBox::No);
    m_form->Button1->click();
    QCOMPARE(m_form->Zmeny_DBGrid->model()->rowCount(), 1);
    QVERIFY(QFileInfo::exists(file));
    answerNextQuestion(QMessageBox::Yes);
    m_form->Button1->click();
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->Zmeny_DBGrid->model()->rowCount(), 0);
    QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(m_form->WebBrowser1->shownPath(), file); // still shown
    QCOMPARE(m_store->scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_staveb")).toInt(), 0);
    QCOMPARE(m_store->scalar(QStringLiteral("SELECT COUNT(*) FROM stavby")).toInt(), 2);
}

void TestChangeHistory::snapshotReachesNothingOutside() {
    LoopbackHttpServer foreign;
    foreign.serve(QStringLiteral("/obrazek.png"), QByteArray("png"));
    foreign.serve(QStringLiteral("/cizi.css"), QByteArray("body { color: red }"));
    const QString path = m_store->folder.path() + QStringLiteral("snimek.html");
    writeFile(path, QStringLiteral("<!DOCTYPE html><html><head><title>snímek</title>"
                                   "<link rel=\"stylesheet\" href=\"%1\"/>"
                                   "<script>document.title = 'spuštěno';</script></head><body>"
                                   "<img src=\"%2\"/><iframe src=\"%3\"></iframe></body></html>")
                        .arg(foreign.url(QStringLiteral("/cizi.css")).toString(),
                             foreign.url(QStringLiteral("/obrazek.png")).toString(),
                             foreign.url(QStringLiteral("/")).toString())
                        .toUtf8());
    SnapshotView view(m_store->folder.path());
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.Navigate(path);
    QVERIFY(loaded.wait(30000));
    QTest::qWait(500); // anything the page asks for later
    QCOMPARE(foreign.requests, QStringList());
    QCOMPARE(view.title(), QStringLiteral("snímek"));
}

void TestChangeHistory::contextMenuIsCzechAndShort() {
    SnapshotView view(m_store->folder.path());
    QCOMPARE(view.contextMenuPolicy(), Qt::CustomContextMenu);
    std::unique_ptr<QMenu> menu(CzechContextMenu::menuFor(view));
    QStringList items;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            items.append(a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)")));
    QCOMPARE(items, texts({"Zpět (off)", "Vpřed (off)", "Obnovit", "Kopírovat (off)"}));
}

int main(int argc, char* argv[]) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    PortalBrowser::prepareEngine();
    QApplication app(argc, argv);
    TestChangeHistory test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ChangeHistory.moc"
