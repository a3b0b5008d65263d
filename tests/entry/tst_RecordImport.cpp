// Importing a list of watched objects: the program started with --import-records against
// the portal simulator, with the real browser, a real database and a real data folder.
#include "PortalSimulator.h"
#include "TestSupport.h"

#include <QJsonDocument>
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
        {"kind": "parcel", "territory": 602582, "numbering": 2, "number": "345", "subdivision": "6",
         "area": "1254", "owners": [["Novák Jan", "1/1"]]},
        {"kind": "parcel", "territory": 602582, "numbering": 1, "number": "12", "area": "80",
         "owners": [["Obec Benice", ""]]},
        {"kind": "parcel", "territory": 602582, "numbering": 2, "number": "346", "owners": [["X", ""]]},
        {"kind": "building", "municipality": 554782, "part": 1520, "buildingType": 1, "building": "45",
         "owners": [["Obec", ""]]},
        {"kind": "unit", "municipality": 554782, "part": 1520, "buildingType": 1, "building": "1200",
         "unit": "14", "share": "6543/120000", "owners": [["Dvořák Tomáš", ""]]}
      ]})")
        .object();
}

QString writeList(const TempDataFolder& folder, const char* text) {
    const QString path = folder.path() + QStringLiteral("seznam.csv");
    writeFile(path, text);
    return path;
}

} // namespace

class TestRecordImport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void importedRecordsAreWatchedFromTheStart();
    void badRowsAreRefusedAndTheRestSaved();
    void badHeaderChangesNothing_data();
    void badHeaderChangesNothing();

private:
    std::unique_ptr<PortalSimulator> m_sim;
};

void TestRecordImport::initTestCase() {
    m_sim = std::make_unique<PortalSimulator>(world());
}

void TestRecordImport::importedRecordsAreWatchedFromTheStart() {
    PreparedFolder prepared(true);
    const QString folder = prepared.folder.path();
    saveAccount(folder);
    const QString list = writeList(prepared.folder,
                                   "\xEF\xBB\xBF" // a spreadsheet's byte-order mark
                                   "druh;uzemi;druh_cislovani;cislo_1;cislo_2;obec;cast_obce;"
                                   "cislo_stavby;cislo_jednotky;nazev;kontrolovat\r\n"
                                   "parcela;602582;;345;6;;;;;\"Louka; u lesa\";ano\r\n"
                                   "parcela;602582;1;12;;;;;;Stavební;\r\n"
                                   "stavba;;;;;554782;1520;45;;Dům;1\r\n"
                                   "jednotka;;;;;554782;1520;1200;14;Byt;ano\r\n");
    m_sim->clearLog();
    const ProgramRun imported =
        runProgram({QStringLiteral("--import-records"), list, QStringLiteral("--files"), folder});
    QVERIFY2(imported.exitCode == 0, qPrintable(imported.lines.join(u'\n') + imported.err));
    QCOMPARE(imported.lines.size(), 5);
    QCOMPARE(imported.lines[0],
             QStringLiteral("Řádek 2 (parcela 345/6, k. ú. 602582): uloženo s výchozím stavem."));
    QCOMPARE(imported.lines[4], QStringLiteral("Celkem řádků: 4; uloženo s výchozím stavem: 4, bez "
                                               "výchozího stavu: 0, odmítnuto: 0."));
    int logins = 0;
    for (const QJsonObject& r : m_sim->requests())
        logins +=
            r[QStringLiteral("params")].toObject().contains(QStringLiteral("PAR_LoginPassword"));
    QCOMPARE(logins, 1); // one login for the whole file
    {
        OpenedStore s(folder);
        QCOMPARE(
            s.scalar(QStringLiteral("SELECT nazev FROM parcely WHERE cislo_1 = 345")).toString(),
            QStringLiteral("Louka; u lesa"));
        QCOMPARE(s.scalar(QStringLiteral("SELECT druh_cislovani FROM parcely WHERE cislo_1 = 12"))
                     .toInt(),
                 1);
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 2);
        QCOMPARE(s.scalar(QStringLiteral("SELECT cast_obce FROM stavby")).toInt(), 1520);
        QCOMPARE(s.scalar(QStringLiteral("SELECT hash_podil FROM jednotky")).toString(),
                 QStringLiteral("6543/120000"));
    }
    // The first check compares with what the import stored: nothing has changed.
    const ProgramRun check = runProgram({QStringLiteral("--autoload"), QStringLiteral("--headless"),
                                         QStringLiteral("--files"), folder});
    QVERIFY2(check.exitCode == 0, qPrintable(check.lines.join(u'\n') + check.err));
}

void TestRecordImport::badRowsAreRefusedAndTheRestSaved() {
    PreparedFolder prepared(true);
    const QString folder = prepared.folder.path();
    saveAccount(folder);
    const QByteArray longName(300, 'x');
    const QByteArray rows = "druh,uzemi,cislo_1,cislo_stavby,nazev,typ_parcely\n"
                            "parcela,602582,,,bez čísla,\n"
                            "parcela,999999,5,,cizí území,\n"
                            "parcela,602582,abc,,písmena,\n"
                            "chata,602582,5,,,\n"
                            "parcela,602582,346,,dobrá,\n"
                            "parcela,602582,777,,portál ji nezná,\n"
                            "parcela,602582,-4,,záporné,\n"
                            "parcela,602582,2147483648,,příliš velké,\n"
                            "parcela,602582,8,,jiný typ,XYZ\n"
                            "parcela,602582,9,," +
                            longName + ",\n";
    const QString list = writeList(prepared.folder, rows.constData());
    const ProgramRun imported =
        runProgram({QStringLiteral("--import-records"), list, QStringLiteral("--files"), folder});
    QCOMPARE(imported.exitCode, 1);
    const QStringList expected = {
        QStringLiteral(
            "Řádek 2 (parcela , k. ú. 602582): odmítnuto – Chybí vyplnit číslo parcely."),
        QStringLiteral("Řádek 3 (parcela 5, k. ú. 999999): odmítnuto – Katastrální území 999999 "
                       "není v číselníku."),
        QStringLiteral("Řádek 4 (parcela abc, k. ú. 602582): odmítnuto – Parcelní číslo: „abc“ "
                       "není celé číslo od 1 do 999999999. Zadejte jen číslice."),
        QStringLiteral("Řádek 5: odmítnuto – Neznámý druh „chata“ (parcela, stavba, jednotka)."),
        QStringLiteral("Řádek 6 (parcela 346, k. ú. 602582): uloženo s výchozím stavem."),
        QStringLiteral(
            "Řádek 7 (parcela 777, k. ú. 602582): uloženo bez výchozího stavu – Nemovitá "
            "věc je zřejmě špatně zadána. Zkontrolujte údaje o nemovitosti. Výchozí stav "
            "se zaznamená při příští kontrole."),
        QStringLiteral("Řádek 8 (parcela -4, k. ú. 602582): odmítnuto – Parcelní číslo: „-4“ "
                       "není celé číslo od 1 do 999999999. Zadejte jen číslice."),
        QStringLiteral("Řádek 9 (parcela 2147483648, k. ú. 602582): odmítnuto – Parcelní číslo: "
                       "„2147483648“ není celé číslo od 1 do 999999999. Zadejte jen číslice."),
        QStringLiteral("Řádek 10 (parcela 8, k. ú. 602582): odmítnuto – Typ parcely: „XYZ“ není "
                       "žádná z hodnot PKN, PZE."),
        QStringLiteral("Řádek 11 (parcela 9, k. ú. 602582): odmítnuto – Vlastní název: text má "
                       "300 znaků, nejvýš lze 255."),
        QStringLiteral("Celkem řádků: 10; uloženo s výchozím stavem: 1, bez výchozího stavu: 1, "
                       "odmítnuto: 8.")};
    QCOMPARE(imported.lines, expected);
    OpenedStore s(folder);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely")).toInt(), 2);
}

void TestRecordImport::badHeaderChangesNothing_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("no kind column")
        << QByteArray("uzemi;cislo_1\n602582;345\n") << "neuvádí sloupec druh";
    QTest::newRow("unknown column")
        << QByteArray("druh;uzemi;cislo\nparcela;602582;345\n") << "neznámý sloupec „cislo“";
}

void TestRecordImport::badHeaderChangesNothing() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    PreparedFolder prepared(true);
    const QString list = writeList(prepared.folder, content.constData());
    const ProgramRun imported = runProgram({QStringLiteral("--import-records"), list,
                                            QStringLiteral("--files"), prepared.folder.path()});
    QCOMPARE(imported.exitCode, 2);
    QVERIFY2(imported.err.contains(message) &&
                 imported.err.contains(QStringLiteral("Nic nebylo uloženo")),
             qPrintable(imported.err));
    OpenedStore s(prepared.folder.path());
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely")).toInt(), 0);
}

QTEST_GUILESS_MAIN(TestRecordImport)
#include "tst_RecordImport.moc"
