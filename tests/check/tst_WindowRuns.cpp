// The check runs from the main window, with the real browser against the simulator.
#include "PortalSimulator.h"
#include "TestSupport.h"

#include "app/Application.h"
#include "app/TLog_Form.h"
#include "app/TMain_Form.h"
#include "entry/RecordGrid.h"
#include "entry/TInsert_Form.h"
#include "history/TZmeny_Form.h"
#include "portal/BrowserSession.h"
#include "portal/PortalCredentials.h"
#include "portal/TBrowser_Form.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

QJsonObject world() {
    QJsonObject s = QJsonDocument::fromJson(R"({
      "loginStep": false,
      "territories": [{"code": 602582, "name": "Benice"}],
      "municipalities": [{"code": 554782, "name": "Praha", "parts": [{"code": 1520, "name": "Běchovice"}]}],
      "objects": [
        {"kind": "parcel", "territory": 602582, "number": "1", "owners": [["A"]]},
        {"kind": "parcel", "territory": 602582, "number": "2", "owners": [["B"]]},
        {"kind": "parcel", "territory": 602582, "number": "3", "owners": [["C"]], "fault": "delay:1500"},
        {"kind": "parcel", "territory": 602582, "number": "4", "owners": [["D"]]},
        {"kind": "parcel", "territory": 602582, "number": "5", "owners": [["E"]], "fault": "delay:1500"},
        {"kind": "building", "municipality": 554782, "part": 1520, "building": "45", "owners": [["F"]]},
        {"kind": "parcel", "territory": 602582, "type": "PZE", "source": "6", "numbering": 1,
         "number": "123", "subdivision": "4", "owners": [["G"]]},
        {"kind": "building", "municipality": 554782, "part": 1520, "buildingType": 2, "building": "15",
         "owners": [["H"]]},
        {"kind": "unit", "municipality": 554782, "part": 1520, "buildingType": 1, "building": "1520",
         "unit": "7", "share": "1/2", "owners": [["I"]]}
      ]})")
                        .object();
    return s;
}

int searches(PortalSimulator& sim, const char* path) {
    int n = 0;
    for (const QJsonObject& r : sim.requests())
        if (r[QStringLiteral("path")].toString() == QLatin1String(path) &&
            r[QStringLiteral("params")].toObject().contains(
                QStringLiteral("ctl00$bodyPlaceHolder$btnVyhledat")))
            ++n;
    return n;
}

} // namespace

class TestWindowRuns : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void interruptDuringTheThirdParcel();
    void singleCheckKeepsItsRecordWhileTheListMoves();
    void portalButtonShowsTheCurrentRecord();
    void editorOpensOnTheFocusedListsPage();
    void historyShowsWhatChanged();
    void captureFillsANewRecordFromThePortalPage_data();
    void captureFillsANewRecordFromThePortalPage();
    void automaticRunIsSeenAndClosingEndsIt(); // last: it ends the application's event loops

private:
    std::unique_ptr<PortalSimulator> m_sim;
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<RecordingMessages> m_messages;
    std::unique_ptr<Application> m_app;
};

void TestWindowRuns::initTestCase() {
    m_sim = std::make_unique<PortalSimulator>(world());
}

void TestWindowRuns::init() {
    m_app.reset();
    m_folder = std::make_unique<TempDataFolder>();
    m_folder->createDatabaseWithCodeLists();
    {
        OpenedStore s(m_folder->path());
        for (int n = 1; n <= 5; ++n)
            s.exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, "
                                  "druh_cislovani, cislo_1, nazev, "
                                  "kontrolovat) VALUES (1, 602582, 'PKN', 2, %1, 'parcela %1', 1)")
                       .arg(n));
        s.exec(QStringLiteral(
            "INSERT INTO stavby (user_id, obec, cast_obce, typ_stavby, cislo_stavby, nazev, "
            "kontrolovat, zmeny) VALUES (1, 554782, 1520, 1, 45, 'dům', 1, 1)"));
        s.exec(QStringLiteral("UPDATE user_table SET login = 'jan'"));
    }
    saveAccount(m_folder->path());
    m_sim->clearLog();
    m_messages = std::make_unique<RecordingMessages>();
    m_app = std::make_unique<Application>(
        CommandLine({QStringLiteral("--files"), m_folder->path()}), *m_messages);
    m_app->Main_Form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_app->Main_Form.get()));
}

void TestWindowRuns::interruptDuringTheThirdParcel() {
    TMain_Form& form = *m_app->Main_Form;
    QTimer watcher;
    QString summary;
    bool interrupted = false;
    connect(&watcher, &QTimer::timeout, this, [&] {
        const QString log = form.Log_Memo->toPlainText();
        if (!interrupted && log.count(QStringLiteral("Procházím parcelu")) == 3) {
            QVERIFY(form.Prerusit_Button->isVisible());
            QVERIFY(!form.Kontrola_Button->isEnabled());
            QCOMPARE(form.Kontrola_Button->text(), QStringLiteral("Kontroluji záznamy"));
            QCOMPARE(form.StatusBar1->text(),
                     QStringLiteral("Průběh kontroly - hotovo parcel 2/5"));
            form.Prerusit_Button->click();
            interrupted = true;
        }
        if (m_app->Log_Form->isVisible()) {
            summary = m_app->Log_Form->Memo1->toPlainText();
            m_app->Log_Form->close();
        }
    });
    watcher.start(20);
    form.Kontrola_Button->click();
    watcher.stop();

    QVERIFY(interrupted);
    // The third lookup's wait ended at once: nothing of it is recorded.
    QVERIFY(searches(*m_sim, "/VyberParcelu/Parcela/InformaceO") <= 3);
    QCOMPARE(searches(*m_sim, "/VyberBudovu/Stavba/InformaceO"), 0);
    QCOMPARE(summary,
             QStringLiteral("Změna u parcely p. č. 1, vlastní označení parcela 1: vlastníci, "
                            "ochrana, omezení, jiné zápisy\n"
                            "Změna u parcely p. č. 2, vlastní označení parcela 2: vlastníci, "
                            "ochrana, omezení, jiné zápisy"));
    QVERIFY2(form.Log_Memo->toPlainText().endsWith(
                 QStringLiteral("KONTROLA PŘERUŠENA, zkontrolované záznamy: 2")),
             qPrintable(form.Log_Memo->toPlainText().right(80)));
    // The notification of an automatic run names the records and the sections that changed
    // (a first check: every fingerprinted section; the pages have no area).
    QCOMPARE(form.changesForNotification(),
             QStringLiteral("Automatická kontrola našla změny:\n"
                            "parcela 1 parcela 1: vlastníci, ochrana, omezení, jiné zápisy\n"
                            "parcela 2 parcela 2: vlastníci, ochrana, omezení, jiné zápisy"));
    OpenedStore s(m_folder->path());
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 2);
    QCOMPARE(s.scalar(QStringLiteral("SELECT zmeny FROM stavby")).toInt(), 0); // reset all the same
    QCOMPARE(form.Kontrola_Button->text(), QStringLiteral("Zkontrolovat záznamy"));
    QVERIFY(form.Kontrola_Button->isEnabled() && form.Parcely_DBGrid->isEnabled());
    QVERIFY(!form.Prerusit_Button->isVisible());
    QCOMPARE(form.StatusBar1->text(), QString());
}

void TestWindowRuns::singleCheckKeepsItsRecordWhileTheListMoves() {
    TMain_Form& form = *m_app->Main_Form;
    Dataset& parcels = m_app->DM1->Parcely_Query;
    QVERIFY(
        parcels.locate(QStringLiteral("nazev"), QStringLiteral("parcela 3"))); // its page is slow
    const int checkedId = parcels.integer(QStringLiteral("ID"));
    form.activateWindow();
    form.Parcely_DBGrid->setFocus();
    QTRY_VERIFY(form.Parcely_DBGrid->hasFocus());
    // During the waits the user moves to another row.
    QTimer::singleShot(300, this, [&] { parcels.setCurrentRow(0); });
    form.Kontrola_Jednoho->click();
    QCOMPARE(m_messages->messages.last(), QStringLiteral("Kontrola je u konce."));
    QVERIFY2(m_messages->errors.isEmpty(), qPrintable(m_messages->errors.join(u'\n')));
    OpenedStore s(m_folder->path());
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 1);
    QCOMPARE(s.scalar(QStringLiteral("SELECT id_parcely FROM zmeny_parcel")).toInt(), checkedId);
    QCOMPARE(form.Log_Memo->toPlainText(), QString()); // the single check writes no run log
    QCOMPARE(parcels.currentRow(), 0);
}

void TestWindowRuns::portalButtonShowsTheCurrentRecord() {
    TMain_Form& form = *m_app->Main_Form;
    QVERIFY(m_app->DM1->Parcely_Query.locate(QStringLiteral("nazev"), QStringLiteral("parcela 4")));
    form.activateWindow();
    form.Parcely_DBGrid->setFocus();
    QTRY_VERIFY(form.Parcely_DBGrid->hasFocus());
    form.http_SpeedButton->click();
    QVERIFY(m_app->Browser_Form->isVisible());
    QCOMPARE(form.Log_Memo->toPlainText(), QString()); // emptied
    QCOMPARE(searches(*m_sim, "/VyberParcelu/Parcela/InformaceO"), 1);
    QString number;
    for (const QJsonObject& r : m_sim->requests())
        if (r[QStringLiteral("params")].toObject().contains(
                QStringLiteral("ctl00$bodyPlaceHolder$btnVyhledat")))
            number = r[QStringLiteral("params")]
                         .toObject()[QStringLiteral("ctl00$bodyPlaceHolder$txtParcis")]
                         .toString();
    QCOMPARE(number, QStringLiteral("4"));
    QVERIFY(m_app->Browser_Form->WB->url().toString().contains(QStringLiteral("/ZobrazObjekt")));
    m_app->Browser_Form->hide();
}

void TestWindowRuns::editorOpensOnTheFocusedListsPage() {
    TMain_Form& form = *m_app->Main_Form;
    TInsert_Form& editor = *m_app->Insert_Form;
    const auto open = [&] {
        std::optional<RecordKind> shown;
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            shown = editor.currentKind();
            modal = editor.isModal() && editor.isVisible();
            editor.close();
        });
        form.Insert_Button->click();
        return modal ? shown : std::nullopt;
    };
    form.activateWindow();
    form.Stavby_DBGrid->setFocus();
    QTRY_VERIFY(form.Stavby_DBGrid->hasFocus());
    QCOMPARE(open(), RecordKind::Building);
    form.Stavby_DBGrid->clearFocus(); // no list: the parcels
    QTRY_VERIFY(!form.Stavby_DBGrid->hasFocus());
    QCOMPARE(open(), RecordKind::Parcel);
}

void TestWindowRuns::historyShowsWhatChanged() {
    TMain_Form& form = *m_app->Main_Form;
    TZmeny_Form& history = *m_app->Zmeny_Form;
    Dataset& parcels = m_app->DM1->Parcely_Query;
    form.activateWindow();
    const auto focus = [&](RecordGrid* grid) {
        form.activateWindow(); // the portal window had it during the checks
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
    };
    /// Opens the history of the current record of this list; the window's list and report.
    const auto openHistory = [&](RecordGrid* grid) {
        focus(grid);
        QStringList seen;
        QTimer inside; // fires only in the window's own event loop
        inside.setSingleShot(true);
        connect(&inside, &QTimer::timeout, this, [&] {
            if (!history.isVisible())
                return;
            for (int r = 0; r < history.Zmeny_DBGrid->model()->rowCount(); ++r)
                seen.append(history.Zmeny_DBGrid->model()->index(r, 0).data().toString());
            seen.append(history.Rozdily->toPlainText());
            history.close();
        });
        inside.start(0);
        form.OtevriHistorii_button->click();
        inside.stop();
        return seen;
    };

    // Parcel 1 checked twice, its owner changed on the portal in between.
    focus(form.Parcely_DBGrid);
    QVERIFY(parcels.locate(QStringLiteral("nazev"), QStringLiteral("parcela 1")));
    form.Kontrola_Jednoho->click(); // the second change may come in the same second
    QJsonObject changed = world();
    QJsonArray objects = changed[QStringLiteral("objects")].toArray();
    QJsonObject first = objects[0].toObject();
    first[QStringLiteral("owners")] = QJsonArray{QJsonArray{QStringLiteral("Z")}};
    objects[0] = first;
    changed[QStringLiteral("objects")] = objects;
    m_sim->setState(changed);
    focus(form.Parcely_DBGrid);
    QVERIFY(parcels.locate(QStringLiteral("nazev"), QStringLiteral("parcela 1")));
    form.Kontrola_Jednoho->click();
    m_sim->setState(world());
    QVERIFY2(m_messages->errors.isEmpty(), qPrintable(m_messages->errors.join(u'\n')));

    const auto flagged = [&](const char* name) {
        return m_app->DM1
            ->OpenStatement(QStringLiteral("SELECT zmena_vlastnici FROM parcely WHERE nazev = "
                                           "'%1'")
                                .arg(QString::fromLatin1(name)))
            ->yesNo(QStringLiteral("zmena_vlastnici"));
    };
    QVERIFY(flagged("parcela 1"));
    QVERIFY(parcels.locate(QStringLiteral("nazev"), QStringLiteral("parcela 1")));
    const QStringList seen = openHistory(form.Parcely_DBGrid);
    QVERIFY2(seen.size() == 3, qPrintable(seen.join(u"~"))); // two dates and the report
    QVERIFY(!flagged("parcela 1"));                          // seen now
    QCOMPARE(parcels.text(QStringLiteral("nazev")), QStringLiteral("parcela 1"));
    QCOMPARE(seen[2], QStringLiteral("Oproti předchozímu záznamu:\nVlastníci, jiní oprávnění\n"
                                     "− A\n+ Z\nBeze změny: Způsob ochrany "
                                     "nemovitosti, Omezení vlastnického práva, Jiné zápisy."));
    // The command line says the same of the two snapshot files.
    OpenedStore s(m_folder->path());
    auto files =
        s.dm.OpenStatement(QStringLiteral("SELECT filename FROM zmeny_parcel ORDER BY datum"));
    QCOMPARE(files->recordCount(), 2);
    const ProgramRun diff =
        runProgram({QStringLiteral("--diff"), m_folder->path() + files->rowValue(0, 0).toString(),
                    m_folder->path() + files->rowValue(1, 0).toString()});
    QCOMPARE(diff.exitCode, 1);
    QCOMPARE(QJsonDocument::fromJson(diff.lines.join(u'\n').toUtf8()).object(),
             QJsonDocument::fromJson(R"({"sections": [{"section": "vlastnici",
                 "removed": [["A"]], "added": [["Z"]]}]})")
                 .object());

    // A parcel without changes opens nothing; a building without changes an empty list.
    QVERIFY(parcels.locate(QStringLiteral("nazev"), QStringLiteral("parcela 2")));
    QCOMPARE(openHistory(form.Parcely_DBGrid), QStringList());
    QCOMPARE(openHistory(form.Stavby_DBGrid), QStringList{QString()});
}

void TestWindowRuns::captureFillsANewRecordFromThePortalPage_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("search");
    QTest::addColumn<QStringList>("expected"); // column=value of the new record
    QTest::newRow("building ZE parcel with subdivision")
        << int(RecordKind::Parcel) << texts({"602582", "1", "PZE", "6", "123", "4"})
        << texts({"uzemi=602582", "typ_parcely=PZE", "puvod_parcely=6", "cislo_1=123", "cislo_2=4",
                  "druh_cislovani=1"});
    QTest::newRow("building with a registration number")
        << int(RecordKind::Building) << texts({"554782", "1520", "2", "15"})
        << texts({"typ_stavby=2", "cislo_stavby=15"});
    QTest::newRow("unit") << int(RecordKind::Unit) << texts({"554782", "1520", "1", "1520", "7"})
                          << texts({"cislo_stavby=1520", "cislo_jednotky=7"});
}

void TestWindowRuns::captureFillsANewRecordFromThePortalPage() {
    QFETCH(int, kind);
    QFETCH(QStringList, search);
    QFETCH(QStringList, expected);
    const auto k = static_cast<RecordKind>(kind);
    QCOMPARE(m_app->Portal->login(), LoginOutcome::LoggedIn);
    WatchedRecord record;
    record.kind = k;
    for (qsizetype i = 0; i < search.size(); ++i)
        record.search[kindTable(k).searchColumns[i]] = search[i];
    m_app->Portal->showObject(record);
    TBrowser_Form& browser = *m_app->Browser_Form;
    QVERIFY(browser.isVisible());
    QAction* items[] = {browser.Pidatzznam1, browser.Pidatstavbu1, browser.Pidatjednotku1};
    items[kind]->trigger();

    TInsert_Form& editor = *m_app->Insert_Form;
    QVERIFY(!browser.isVisible());
    QVERIFY(editor.isVisible());
    QCOMPARE(editor.currentKind(), k);
    Dataset& q = m_app->DM1->recordQuery(k);
    QCOMPARE(q.state(), Dataset::State::Insert);
    QStringList got;
    for (const QString& pair : expected)
        got.append(pair.section(u'=', 0, 0) + u'=' + q.text(pair.section(u'=', 0, 0)));
    QCOMPARE(got, expected);
    if (k == RecordKind::Building) {
        QCOMPARE(m_app->DM1->Obce_Query.text(QStringLiteral("obec_kod")), QStringLiteral("554782"));
        QCOMPARE(m_app->DM1->CastiObce_Query.text(QStringLiteral("kod")), QStringLiteral("1520"));
    }
    if (k == RecordKind::Parcel) {
        QCOMPARE(m_app->DM1->KatastralniUzemi_Query.text(QStringLiteral("ku_kod")),
                 QStringLiteral("602582"));
        QVERIFY(editor.DBRadioGroup5->isEnabled()); // the ZE origin is open
    }
    QCOMPARE(m_messages->messages.isEmpty() ? QString() : m_messages->messages.last(),
             k == RecordKind::Unit ? QStringLiteral("Na stránce jednotky chybí obec a část obce. "
                                                    "Tyto údaje je třeba vyplnit ručně.")
                                   : QString());
    editor.navigator(k)->BtnClick(DBNavigator::Cancel);
    editor.close();
}

void TestWindowRuns::automaticRunIsSeenAndClosingEndsIt() {
    // The program as the daily task starts it: the run begins once the window is up.
    m_app = std::make_unique<Application>(
        CommandLine({QStringLiteral("/autoload"), QStringLiteral("--files"), m_folder->path()}),
        *m_messages);
    TMain_Form& form = *m_app->Main_Form;
    bool seenDuringLookup = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        if (form.isVisible() &&
            form.Log_Memo->toPlainText().contains(QStringLiteral("Procházím parcelu č. 2"))) {
            seenDuringLookup = form.Prerusit_Button->isVisible();
            form.close();
        }
    });
    watcher.start(20);
    m_app->show();
    QVERIFY(!form.Log_Memo->toPlainText().contains(QStringLiteral("Zahájena"))); // not yet
    QElapsedTimer clock;
    clock.start();
    QApplication::exec(); // returns once the window is closed and the run has ended
    watcher.stop();
    QVERIFY(seenDuringLookup);
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(searches(*m_sim, "/VyberParcelu/Parcela/InformaceO") <= 2);
    QCOMPARE(searches(*m_sim, "/VyberBudovu/Stavba/InformaceO"), 0);
    QVERIFY(form.Log_Memo->toPlainText().contains(QStringLiteral("KONTROLA PŘERUŠENA")));
}

int main(int argc, char* argv[]) {
    prepareBrowserEnvironment();
    QApplication app(argc, argv);
    TestWindowRuns test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_WindowRuns.moc"
