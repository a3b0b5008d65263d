// The record editor as the user drives it, on a real database and a real data folder. Its
// lookups go to a session of fixture pages; the one path through the real browser, to a
// saved record's first values and a full run after it, goes to the portal simulator.
#include "FixtureSession.h"
#include "PortalSimulator.h"
#include "QuestionAnswer.h"
#include "RecordingRunWindow.h"
#include "TestSupport.h"

#include "analysis/HistoryLog.h"
#include "check/FullCheckRun.h"
#include "entry/RecordGrid.h"
#include "entry/TInsert_Form.h"
#include "portal/BrowserSession.h"
#include "portal/TBrowser_Form.h"
#include "store/SectionTable.h"
#include "store/TDM1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

QJsonObject world() {
    return QJsonDocument::fromJson(R"({
      "loginStep": true,
      "territories": [{"code": 602582, "name": "Benice"}],
      "municipalities": [{"code": 554782, "name": "Praha", "parts": [{"code": 1520, "name": "Běchovice"}]}],
      "objects": [
        {"kind": "parcel", "territory": 602582, "numbering": 2, "number": "345", "area": "1254",
         "owners": [["Novák Jan", "1/1"]]},
        {"kind": "parcel", "territory": 602582, "numbering": 2, "number": "346", "area": "80",
         "owners": [["Dvořák Petr", "1/1"]]},
        {"kind": "building", "municipality": 554782, "part": 1520, "buildingType": 1, "building": "45",
         "owners": [["Obec", ""]]},
        {"kind": "unit", "municipality": 554782, "part": 1520, "buildingType": 1, "building": "1200",
         "unit": "14", "share": "6543/120000", "owners": [["Dvořák Tomáš", ""]]}
      ]})")
        .object();
}

/// The checked button's text of a radio group, empty when none is checked.
QString chosen(QGroupBox* group) {
    for (QAbstractButton* b : group->findChildren<QAbstractButton*>())
        if (b->isChecked())
            return b->text();
    return {};
}

QAbstractButton* item(QGroupBox* group, const char* text) {
    for (QAbstractButton* b : group->findChildren<QAbstractButton*>())
        if (b->text() == QString::fromUtf8(text))
            return b;
    return nullptr;
}

} // namespace

class TestRecordEditor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void insertShowsDefaultsAndRefusesIncompleteSaves();
    void narrowingFollowsEveryKeystroke();
    void unsavedWorkIsGuarded();
    void keyboardAlone();
    void savedRecordsGetTheirBaseline();
    void objectTheportalDoesNotShowKeepsAnEmptyBaseline();
    void refusedLoginIsSaidAndTheRecordKept();
    void editedRecordGetsItsOwnBaseline();
    void deletionAsksFirst();
    void listImportedFromTheMenu();
    void captureRefusesANumberThatIsNone();
    void numbersAsTheUserTypesThem_data();
    void numbersAsTheUserTypesThem();

private:
    TInsert_Form& editor() { return *m_editor; }
    int count(const char* sql) { return m_store->scalar(QString::fromUtf8(sql)).toInt(); }
    void typeInto(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    std::unique_ptr<PortalSimulator> m_sim;
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<RecordingMessages> m_messages;
    std::unique_ptr<TInsert_Form> m_editor;
    std::unique_ptr<TDM1> m_dm;
    std::unique_ptr<FixtureSession> m_fixture;
    std::unique_ptr<TBrowser_Form> m_browser;
    std::unique_ptr<BrowserSession> m_browserSession;
    PortalSession* m_session = nullptr;   ///< one of the two
    std::unique_ptr<OpenedStore> m_store; ///< a second connection, for the test's own reads
};

void TestRecordEditor::initTestCase() {
    m_sim = std::make_unique<PortalSimulator>(world());
}

void TestRecordEditor::init() {
    m_folder = std::make_unique<TempDataFolder>();
    m_folder->createDatabaseWithCodeLists();
    saveAccount(m_folder->path());
    m_messages = std::make_unique<RecordingMessages>();
    m_editor = std::make_unique<TInsert_Form>();
    m_dm = std::make_unique<TDM1>(*m_messages, *m_editor);
    m_dm->DataModuleCreate(m_folder->path());
    // Only the first values through the real browser need it.
    if (qstrcmp(QTest::currentTestFunction(), "savedRecordsGetTheirBaseline") == 0) {
        m_browser = std::make_unique<TBrowser_Form>(*m_messages, m_folder->path());
        m_browserSession = std::make_unique<BrowserSession>(*m_browser, m_folder->path());
        m_session = m_browserSession.get();
    } else {
        m_fixture = std::make_unique<FixtureSession>();
        for (const char* number : {"345", "346", "45", "1200/14"})
            m_fixture->pages[QString::fromLatin1(number)] = {informationPage(QStringLiteral("A"))};
        m_session = m_fixture.get();
    }
    m_editor->attach({*m_dm, *m_session, *m_messages, {}});
    m_store = std::make_unique<OpenedStore>(m_folder->path());
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
}

void TestRecordEditor::cleanup() {
    m_store.reset();
    m_editor.reset();
    m_session = nullptr;
    m_fixture.reset();
    m_browserSession.reset();
    m_browser.reset();
    m_dm.reset();
}

void TestRecordEditor::insertShowsDefaultsAndRefusesIncompleteSaves() {
    TInsert_Form& e = editor();
    QVERIFY(e.KU_Hledat_1_Edit->isReadOnly());
    QVERIFY(e.DBEdit2->isReadOnly());
    e.Parcely_DBNavigator->button(DBNavigator::Insert)->click();
    QCOMPARE(chosen(e.DBRadioGroup4), QStringLiteral("Parcela katastru nemovitostí (KN)"));
    QCOMPARE(chosen(e.DBRadioGroup5), QStringLiteral("Pozemkový katastr"));
    QVERIFY(!e.DBRadioGroup5->isEnabled());
    QCOMPARE(chosen(e.DBRadioGroup1), QStringLiteral("pozemková parcela"));
    QVERIFY(e.DBCheckBox1->isChecked());
    QVERIFY(!e.KU_Hledat_1_Edit->isReadOnly());
    QVERIFY(e.KU_Hledat_1_Edit->hasFocus());

    // The ZE type opens the origin; the KN type closes it again.
    item(e.DBRadioGroup4, "Parcela zjednodušené evidence (ZE)")->click();
    QVERIFY(e.DBRadioGroup5->isEnabled());
    item(e.DBRadioGroup4, "Parcela katastru nemovitostí (KN)")->click();
    QVERIFY(!e.DBRadioGroup5->isEnabled());

    e.Parcely_DBNavigator->button(DBNavigator::Post)->click();
    QCOMPARE(m_messages->messages.last(), QStringLiteral("Chybí vyplnit číslo parcely."));
    QVERIFY(m_dm->Parcely_Query.isEditing());
    QVERIFY(!e.DBEdit2->isReadOnly());

    typeInto(e.DBEdit2, QStringLiteral("345"));
    typeInto(e.KU_Hledat_1_Edit, QStringLiteral("qqq")); // matches no territory
    e.Parcely_DBNavigator->button(DBNavigator::Post)->click();
    QCOMPARE(m_messages->messages.last(), QStringLiteral("Vyberte katastrální území."));
    QVERIFY(m_dm->Parcely_Query.isEditing());

    e.Parcely_DBNavigator->button(DBNavigator::Cancel)->click();
    QVERIFY(!m_dm->Parcely_Query.isEditing());
    QVERIFY(e.DBEdit2->isReadOnly());
    QCOMPARE(e.KU_Hledat_1_Edit->text(), QString());
    QCOMPARE(count("SELECT COUNT(*) FROM parcely"), 0);
    QVERIFY(m_fixture->looked.isEmpty()); // nothing was looked up
}

void TestRecordEditor::narrowingFollowsEveryKeystroke() {
    TInsert_Form& e = editor();
    const int all = m_dm->KatastralniUzemi_Query.recordCount();
    e.Parcely_DBNavigator->button(DBNavigator::Insert)->click();
    QTest::keyClicks(e.KU_Hledat_1_Edit, QStringLiteral("bo"));
    // Bohnice, Bohunice, Bosonohy, Božtěšice
    QCOMPARE(m_dm->KatastralniUzemi_Query.recordCount(), 4);
    e.KU_Hledat_1_Edit->insert(QStringLiteral("Ž")); // keyClicks types ASCII only
    QCOMPARE(m_dm->KatastralniUzemi_Query.recordCount(), 1);
    QCOMPARE(e.KU1_DBGrid->model()->rowCount(), 1);
    QCOMPARE(m_dm->KatastralniUzemi_Query.text(QStringLiteral("ku_nazev")),
             QStringLiteral("Božtěšice"));
    e.KU_Hledat_1_Edit->clear();
    QCOMPARE(m_dm->KatastralniUzemi_Query.recordCount(), all);

    // Both pages narrow the one municipality list, and its parts follow it.
    e.Parcely_DBNavigator->button(DBNavigator::Cancel)->click();
    e.showPage(RecordKind::Building);
    e.Stavby_DBNavigator->button(DBNavigator::Insert)->click();
    QTest::keyClicks(e.Obec_Hledat_1_Edit, QStringLiteral("Praha"));
    QCOMPARE(m_dm->Obce_Query.text(QStringLiteral("obec_nazev")), QStringLiteral("Praha"));
    QCOMPARE(e.DBGrid5->model()->rowCount(), e.DBGrid2->model()->rowCount());
    QCOMPARE(m_dm->CastiObce_Query.recordCount(), 4); // the fixture's parts of Praha
}

void TestRecordEditor::unsavedWorkIsGuarded() {
    TInsert_Form& e = editor();
    const QString guard =
        QStringLiteral("Data nejsou uložená. Buď práci uložte, nebo data zahoďte. ");
    e.Parcely_DBNavigator->button(DBNavigator::Insert)->click();
    e.PageControl1->setCurrentIndex(1);
    QCOMPARE(e.PageControl1->currentIndex(), 0);
    QCOMPARE(m_messages->messages.last(), guard);
    e.close();
    QVERIFY(e.isVisible());
    QCOMPARE(m_messages->messages.size(), 2);
    e.Parcely_DBNavigator->button(DBNavigator::Cancel)->click();
    e.PageControl1->setCurrentIndex(1);
    QCOMPARE(e.PageControl1->currentIndex(), 1);
    e.close();
    QVERIFY(!e.isVisible());
}

void TestRecordEditor::keyboardAlone() {
    TInsert_Form& e = editor();
    e.activateWindow();
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Insert);
    QVERIFY(e.KU_Hledat_1_Edit->hasFocus());
    QTest::keyClicks(e.KU_Hledat_1_Edit, QStringLiteral("Benice"));
    QTest::keyClick(e.KU_Hledat_1_Edit, Qt::Key_Return);
    QVERIFY(e.KU1_DBGrid->hasFocus());
    // Tab walks the panel top to bottom.
    QList<QWidget*> order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget());
    }
    QCOMPARE(order.value(0)->parentWidget(), e.DBRadioGroup4);
    QCOMPARE(order.value(1)->parentWidget(), e.DBRadioGroup1); // the origin is off for KN
    QCOMPARE(order.value(2), e.DBEdit2);
    QCOMPARE(order.value(3), e.DBEdit3);
    QCOMPARE(order.value(4), e.DBEdit4);
    QCOMPARE(order.value(5), e.DBCheckBox1);

    // Esc drops the new record once the user agrees; Ctrl+S saves.
    answerNextQuestion(QMessageBox::No);
    QTest::keyClick(&e, Qt::Key_Escape);
    QVERIFY(m_dm->Parcely_Query.isEditing());
    answerNextQuestion(QMessageBox::Yes);
    QTest::keyClick(&e, Qt::Key_Escape);
    QVERIFY(!m_dm->Parcely_Query.isEditing());
    QVERIFY(e.isVisible());
    e.activateWindow(); // the question's window had it
    QVERIFY(QTest::qWaitForWindowActive(&e));
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Insert);
    QTest::keyClicks(e.KU_Hledat_1_Edit, QStringLiteral("Benice"));
    typeInto(e.DBEdit2, QStringLiteral("346"));
    QTest::keyClick(e.DBEdit2, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(count("SELECT COUNT(*) FROM zmeny_parcel"), 1); // saved and looked up at once
    QCOMPARE(count("SELECT cislo_1 FROM parcely"), 346);
    QTest::keyClick(&e, Qt::Key_Escape);
    QVERIFY(!e.isVisible());
}

void TestRecordEditor::numbersAsTheUserTypesThem_data() {
    QTest::addColumn<QString>("building");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("stored"); // the unit saved with this number; 0: refused
    QTest::addColumn<QString>("said");
    QTest::newRow("plain") << "1520"
                           << "7" << 7 << "";
    QTest::newRow("with the building's number")
        << "1520"
        << "1520/7" << 7 << "Číslo jednotky „1520/7“: uloženo jako jednotka 7 ve stavbě 1520.";
    QTest::newRow("another building's number")
        << "1521"
        << "1520/7" << 0
        << "Číslo jednotky: „1520/7“ – číslo před lomítkem není číslo stavby záznamu (1521). "
           "Zadejte jen číslo jednotky.";
    QTest::newRow("a letter") << "1520"
                              << "12a" << 0
                              << "Číslo jednotky: „12a“ není celé číslo od 1 do 999999999. "
                                 "Zadejte jen číslice.";
    QTest::newRow("negative") << "1520"
                              << "-3" << 0
                              << "Číslo jednotky: „-3“ není celé číslo od 1 do 999999999. "
                                 "Zadejte jen číslice.";
    QTest::newRow("too large") << "1520"
                               << "2147483648" << 0
                               << "Číslo jednotky: „2147483648“ není celé číslo od 1 do "
                                  "999999999. Zadejte jen číslice.";
}

void TestRecordEditor::numbersAsTheUserTypesThem() {
    QFETCH(QString, building);
    QFETCH(QString, unit);
    QFETCH(int, stored);
    QFETCH(QString, said);
    TInsert_Form& e = editor();
    e.showPage(RecordKind::Unit);
    e.Jednotky_DBNavigator->BtnClick(DBNavigator::Insert);
    QTest::keyClicks(e.Obec_Hledat_2_Edit, QStringLiteral("Praha"));
    QVERIFY(m_dm->CastiObce_Query.locate(QStringLiteral("kod"), 1520));
    typeInto(e.DBEdit5, building);
    typeInto(e.DBEdit8, unit);
    QCOMPARE(e.DBEdit8->text().isEmpty(), false); // never dropped
    if (stored)
        QCOMPARE(e.statusText(), said);
    e.Jednotky_DBNavigator->BtnClick(DBNavigator::Post);
    if (stored) {
        QCOMPARE(count("SELECT cislo_jednotky FROM jednotky"), stored); // saved, then looked up
        return;
    }
    QCOMPARE(m_messages->messages.value(m_messages->messages.size() - 1), said);
    QVERIFY(m_dm->Jednotky_Query.isEditing()); // the user mends it
    QCOMPARE(e.DBEdit8->text(), unit);
    QCOMPARE(count("SELECT COUNT(*) FROM jednotky"), 0);
}

void TestRecordEditor::savedRecordsGetTheirBaseline() {
    TInsert_Form& e = editor();
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Insert);
    QTest::keyClicks(e.KU_Hledat_1_Edit, QStringLiteral("Benice"));
    typeInto(e.DBEdit2, QStringLiteral("345"));
    typeInto(e.DBEdit4, QStringLiteral("Zahrada"));
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Post);

    e.showPage(RecordKind::Building);
    e.Stavby_DBNavigator->BtnClick(DBNavigator::Insert);
    QTest::keyClicks(e.Obec_Hledat_1_Edit, QStringLiteral("Praha"));
    QVERIFY(m_dm->CastiObce_Query.locate(QStringLiteral("kod"), 1520));
    typeInto(e.DBEdit1, QStringLiteral("45"));
    e.Stavby_DBNavigator->BtnClick(DBNavigator::Post);

    e.showPage(RecordKind::Unit);
    e.Jednotky_DBNavigator->BtnClick(DBNavigator::Insert);
    QTest::keyClicks(e.Obec_Hledat_2_Edit, QStringLiteral("Praha"));
    QVERIFY(m_dm->CastiObce_Query.locate(QStringLiteral("kod"), 1520));
    typeInto(e.DBEdit5, QStringLiteral("1200"));
    typeInto(e.DBEdit8, QStringLiteral("14"));
    e.Jednotky_DBNavigator->BtnClick(DBNavigator::Post);
    QVERIFY2(m_messages->errors.isEmpty(), qPrintable(m_messages->errors.join(u'\n')));

    for (const char* table : {"zmeny_parcel", "zmeny_staveb", "zmeny_jednotek"})
        QCOMPARE(
            m_store->scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)))
                .toInt(),
            1);
    QCOMPARE(m_store->scalar(QStringLiteral("SELECT hash_vymera FROM parcely")).toString(),
             QStringLiteral("1254"));
    QCOMPARE(m_store->scalar(QStringLiteral("SELECT hash_podil FROM jednotky")).toString(),
             QStringLiteral("6543/120000"));
    QCOMPARE(m_store->scalar(QStringLiteral("SELECT nazev FROM parcely")).toString(),
             QStringLiteral("Zahrada"));
    QFile log(HistoryLog::path(m_folder->path()));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().count("\r\n"), 3);
    QCOMPARE(QDir(m_folder->path() + QStringLiteral("historie/parcely/parcela-id-1"))
                 .entryList(QDir::Files)
                 .size(),
             1);

    // The next full run compares with what the editor stored and finds nothing new.
    RecordingRunWindow window;
    bool autoStart = false;
    bool autoRun = false;
    FullCheckRun run(*m_dm, *m_session, window, autoStart, autoRun);
    run.Kontrola_ButtonClick();
    QVERIFY2(run.failedRecords() == 0, qPrintable(window.log.join(u'\n')));
    QCOMPARE(run.changesRecorded(), 0);
}

void TestRecordEditor::objectTheportalDoesNotShowKeepsAnEmptyBaseline() {
    m_fixture->pages[QStringLiteral("999")] = {notFoundPage()};
    TInsert_Form& e = editor();
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Insert);
    QTest::keyClicks(e.KU_Hledat_1_Edit, QStringLiteral("Benice"));
    typeInto(e.DBEdit2, QStringLiteral("999"));
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Post);
    QCOMPARE(m_messages->errors,
             QStringList{QStringLiteral(
                 "Nemovitá věc je zřejmě špatně zadána. Zkontrolujte údaje o nemovitosti.")});
    QCOMPARE(count("SELECT COUNT(*) FROM parcely"), 1);
    QVERIFY(m_store->scalar(QStringLiteral("SELECT hash_vlastnici FROM parcely")).isNull());
    QVERIFY(!m_store->scalar(QStringLiteral("SELECT posledni_kontrola FROM parcely")).isNull());
    QCOMPARE(count("SELECT COUNT(*) FROM zmeny_parcel"), 0);
    QVERIFY(!QFileInfo::exists(HistoryLog::path(m_folder->path())));
}

void TestRecordEditor::refusedLoginIsSaidAndTheRecordKept() {
    m_fixture->loginOutcomes = {LoginOutcome::Refused};
    TInsert_Form& e = editor();
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Insert);
    QTest::keyClicks(e.KU_Hledat_1_Edit, QStringLiteral("Benice"));
    typeInto(e.DBEdit2, QStringLiteral("345"));
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Post);
    QCOMPARE(m_messages->errors.size(), 1);
    QVERIFY2(
        m_messages->errors[0].startsWith(QStringLiteral("Portál katastru odmítl přihlášení")) &&
            m_messages->errors[0].contains(QStringLiteral("Záznam je uložen.")),
        qPrintable(m_messages->errors[0]));
    QCOMPARE(count("SELECT COUNT(*) FROM parcely"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM zmeny_parcel"), 0);

    // A double click on the record shows it on the portal, once the account is right.
    m_dm->Obnovit_Query(m_dm->Parcely_Query);
    QCOMPARE(m_session->login(), LoginOutcome::LoggedIn);
    const QRect cell = e.DBGrid1->visualRect(e.DBGrid1->model()->index(0, 0));
    QTest::mouseClick(e.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(e.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(m_fixture->shown, texts({"345"}));
    QCOMPARE(count("SELECT COUNT(*) FROM zmeny_parcel"), 0); // nothing is stored
}

void TestRecordEditor::editedRecordGetsItsOwnBaseline() {
    for (const char* number : {"345", "346"})
        m_store->exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, "
                                     "puvod_parcely, druh_cislovani, cislo_1, nazev, kontrolovat) "
                                     "VALUES (1, 602582, 'PKN', 4, 2, %1, 'p%1', 1)")
                          .arg(QLatin1String(number)));
    m_dm->Obnovit_Query(m_dm->Parcely_Query);
    TInsert_Form& e = editor();
    QVERIFY(m_dm->Parcely_Query.locate(QStringLiteral("cislo_1"), 346));
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Edit);
    // Editing puts the territory list on the record's territory.
    QCOMPARE(m_dm->KatastralniUzemi_Query.value(QStringLiteral("ku_kod")).toInt(), 602582);
    typeInto(e.DBEdit4, QStringLiteral("Louka"));
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Post);
    QVERIFY2(m_messages->errors.isEmpty(), qPrintable(m_messages->errors.join(u'\n')));
    const int id =
        m_store->scalar(QStringLiteral("SELECT ID FROM parcely WHERE cislo_1 = 346")).toInt();
    QCOMPARE(m_store->scalar(QStringLiteral("SELECT id_parcely FROM zmeny_parcel")).toInt(), id);
    QCOMPARE(m_store->scalar(QStringLiteral("SELECT nazev FROM parcely WHERE ID = %1").arg(id))
                 .toString(),
             QStringLiteral("Louka"));
    QCOMPARE(count("SELECT COUNT(*) FROM parcely WHERE hash_vlastnici IS NOT NULL"), 1);
}

void TestRecordEditor::deletionAsksFirst() {
    m_store->exec(
        QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, druh_cislovani, "
                       "cislo_1, kontrolovat) VALUES (1, 602582, 'PKN', 2, 7, 1)"));
    m_dm->Obnovit_Query(m_dm->Parcely_Query);
    TInsert_Form& e = editor();
    QString asked;
    answerNextQuestion(QMessageBox::No, &asked);
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Delete);
    QCOMPARE(asked, QStringLiteral("Smazat záznam?"));
    QCOMPARE(count("SELECT COUNT(*) FROM parcely"), 1);
    answerNextQuestion(QMessageBox::Yes);
    e.Parcely_DBNavigator->BtnClick(DBNavigator::Delete);
    QCOMPARE(count("SELECT COUNT(*) FROM parcely"), 0);
    QCOMPARE(m_dm->Parcely_Query.recordCount(), 0);
}

void TestRecordEditor::listImportedFromTheMenu() {
    const QString path = m_folder->path() + QStringLiteral("seznam.csv");
    writeFile(path, "druh;uzemi;cislo_1;obec;cast_obce;cislo_stavby\n"
                    "parcela;602582;345;;;\n"
                    "stavba;;;554782;1520;45\n"
                    "stavba;;;554782;;46\n");
    editor().importRecords(path);
    QCOMPARE(m_messages->errors.size(), 1); // one row needs the user
    QVERIFY2(m_messages->errors[0].startsWith(QStringLiteral(
                 "Celkem řádků: 3; uloženo s výchozím stavem: 2, bez výchozího stavu: 0, "
                 "odmítnuto: 1.")) &&
                 m_messages->errors[0].contains(QStringLiteral("Vyberte část obce")),
             qPrintable(m_messages->errors[0]));
    // The editor's lists show what came in.
    QCOMPARE(m_dm->Parcely_Query.recordCount(), 1);
    QCOMPARE(m_dm->Stavby_Query.recordCount(), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM zmeny_staveb"), 1);
}

void TestRecordEditor::captureRefusesANumberThatIsNone() {
    editor().CaptureRecord(
        RecordKind::Building,
        QStringLiteral("<html><body><table><tr><td class=\"nazev\">Typ stavby:</td>"
                       "<td>Budova s číslem evidenčním</td></tr><tr><td class=\"nazev\">Stavba:"
                       "</td><td><strong>bez č. p.</strong></td></tr></table></body></html>"));
    QCOMPARE(m_messages->errors.size(), 1);
    QCOMPARE(m_messages->errors[0], QStringLiteral("Číslo stavby: „bez č. p.“ není celé číslo od "
                                                   "1 do 999999999. Zadejte jen číslice."));
    // The columns written before it keep their values; the record stays new.
    QCOMPARE(m_dm->Stavby_Query.state(), Dataset::State::Insert);
    QCOMPARE(m_dm->Stavby_Query.integer(QStringLiteral("typ_stavby")), 2);
    QVERIFY(m_dm->Stavby_Query.value(QStringLiteral("cislo_stavby")).isNull());
    QCOMPARE(editor().currentKind(), RecordKind::Building);
}

int main(int argc, char* argv[]) {
    prepareBrowserEnvironment();
    QApplication app(argc, argv);
    TestRecordEditor test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RecordEditor.moc"
