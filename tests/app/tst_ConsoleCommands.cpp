// The program's entries without a display, run as the user runs them.
#include "TestSupport.h"

#include "store/Schema.h"
#include "store/SqliteConnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

#include <sys/resource.h>

using namespace veritam;
using namespace veritam::test;

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
};

QProcessEnvironment withoutDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // A GUI start would fail with this platform and no display.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

/// `memoryLimit`: the most address space the program may take, in bytes (none under the
/// address sanitizer, whose shadow memory alone is larger).
Run runVeritam(const QStringList& arguments, rlim_t memoryLimit = RLIM_INFINITY) {
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
#ifndef __SANITIZE_ADDRESS__
    process.setChildProcessModifier([memoryLimit] {
        const rlimit limit{memoryLimit, memoryLimit};
        ::setrlimit(RLIMIT_AS, &limit);
    });
#else
    Q_UNUSED(memoryLimit)
#endif
    process.start(binFolder() + QStringLiteral("/veritam"), arguments);
    if (!process.waitForFinished(60000))
        qFatal("veritam did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

int count(const QString& database, const char* table) {
    SqliteConnection connection;
    connection.open(database);
    SqliteStatement q(connection,
                      QStringLiteral("SELECT COUNT(*) FROM ") + QString::fromLatin1(table));
    q.step();
    return q.value(0).toInt();
}

QString integrity(const QString& database) {
    SqliteConnection connection;
    connection.open(database);
    SqliteStatement q(connection, QStringLiteral("PRAGMA integrity_check"));
    q.step();
    return q.value(0).toString();
}

} // namespace

class TestConsoleCommands : public QObject {
    Q_OBJECT
private slots:
    void helpAndVersion();
    void refusesParametersItCannotUse_data();
    void refusesParametersItCannotUse();
    void importsIntoNewDataFolder();
    void badFolderChangesNothing();
    void killedImportLeavesOldOrNewLists();
    void extractPrintsSectionsAndFingerprints();
    void diffNamesWhatChanged();
    void deeplyNestedPageStaysWithinItsMemory();
};

void TestConsoleCommands::helpAndVersion() {
    const Run help = runVeritam({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains(QStringLiteral("--import-codelists")));
    const Run version = runVeritam({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("veritam " VERITAM_VERSION "\n"));
}

void TestConsoleCommands::refusesParametersItCannotUse_data() {
    // Without a display: a start of the window would abort instead of answering.
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("usage");
    const QString missing = QStringLiteral("/nonexistent/veritam-data");
    const QString notFound =
        QStringLiteral("Datová složka %1 neexistuje. Vytvořte ji, nebo zadejte existující složku.")
            .arg(missing);
    QTest::newRow("unknown switch")
        << QStringList{QStringLiteral("--frobnicate")}
        << QStringLiteral("Neznámý přepínač nebo parametr „--frobnicate“.") << true;
    QTest::newRow("stray parameter")
        << QStringList{QStringLiteral("--autoload"), QStringLiteral("seznam.csv")}
        << QStringLiteral("Neznámý přepínač nebo parametr „seznam.csv“.") << true;
    QTest::newRow("headless run on a missing folder")
        << QStringList{QStringLiteral("--autoload"), QStringLiteral("--headless"),
                       QStringLiteral("--files"), missing}
        << notFound << false;
    QTest::newRow("record import on a missing folder")
        << QStringList{QStringLiteral("--import-records"), QStringLiteral("seznam.csv"),
                       QStringLiteral("--files"), missing}
        << notFound << false;
    QTest::newRow("code-list import on a missing folder")
        << QStringList{QStringLiteral("--import-codelists"), QStringLiteral("/tmp"),
                       QStringLiteral("--files=") + missing}
        << notFound << false;
    QTest::newRow("schedule for a missing folder")
        << QStringList{QStringLiteral("--schedule"), QStringLiteral("09:05"),
                       QStringLiteral("--files"), missing}
        << notFound << false;
    QTest::newRow("no folder after files")
        << QStringList{QStringLiteral("--headless"), QStringLiteral("--autoload"),
                       QStringLiteral("--files")}
        << QStringLiteral("Chybí datová složka: --files SLOŽKA") << false;
}

void TestConsoleCommands::refusesParametersItCannotUse() {
    QFETCH(QStringList, parameters);
    QFETCH(QString, message);
    QFETCH(bool, usage);
    const Run run = runVeritam(parameters);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QString());
    const QStringList lines = run.err.split(u'\n');
    QCOMPARE(lines.first(), message);
    QCOMPARE(run.err.contains(QStringLiteral("Použití: veritam")), usage);
    QVERIFY(!QFileInfo::exists(QStringLiteral("/nonexistent")));
}

void TestConsoleCommands::importsIntoNewDataFolder() {
    TempDataFolder folder;
    const Run run = runVeritam({QStringLiteral("/IMPORT-CODELISTS"), fixtureCodeListFolder(),
                                QStringLiteral("--files"), folder.path()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith(
                 QStringLiteral("Načteno 11 katastrálních území v 3 obcích a 10 částí obcí.")),
             qPrintable(run.out + run.err));
    const QString database = folder.path() + Schema::databaseFileName();
    QCOMPARE(count(database, "kat_uzemi_obce"), kFixtureTerritories);
    QCOMPARE(count(database, "kat_casti_obce"), kFixtureParts);
    QCOMPARE(count(database, "user_table"), 1);
}

void TestConsoleCommands::badFolderChangesNothing() {
    TempDataFolder folder;
    const QString database = folder.createDatabaseWithCodeLists();
    QTemporaryDir partial;
    QFile::copy(fixtureCodeListFolder() + QStringLiteral("/UI_OBEC.csv"),
                partial.filePath(QStringLiteral("UI_OBEC.csv")));
    for (const QString& source : {partial.path(), partial.path() + QStringLiteral("/none")}) {
        const Run run = runVeritam({QStringLiteral("--import-codelists"), source,
                                    QStringLiteral("--files"), folder.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Číselníky nebyly změněny.")),
                 qPrintable(run.err));
    }
    QCOMPARE(runVeritam({QStringLiteral("--import-codelists")}).exitCode, 2);
    QCOMPARE(count(database, "kat_uzemi_obce"), kFixtureTerritories);
}

void TestConsoleCommands::killedImportLeavesOldOrNewLists() {
    REQUIRE_NATIONAL_CODE_LISTS(); // long enough an import to be killed at work
    TempDataFolder folder;
    const QString database = folder.createDatabase();
    for (int round = 0; round < 6; ++round) {
        QProcess process;
        process.setProcessEnvironment(withoutDisplay());
        process.start(binFolder() + QStringLiteral("/veritam"),
                      {QStringLiteral("--import-codelists"), nationalCodeListFolder(),
                       QStringLiteral("--files"), folder.path()});
        QVERIFY(process.waitForStarted());
        QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(20, 200)));
        // processId() is 0 once the import has finished, and kill(0) would hit this test.
        if (const qint64 pid = process.processId(); pid > 0)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        process.waitForFinished();
        QCOMPARE(integrity(database), QStringLiteral("ok"));
        const int territories = count(database, "kat_uzemi_obce");
        QVERIFY2(territories == 0 || territories == 13084,
                 qPrintable(QString::number(territories)));
        QCOMPARE(count(database, "kat_casti_obce"), territories == 0 ? 0 : 15104);
    }
}

void TestConsoleCommands::extractPrintsSectionsAndFingerprints() {
    TempDataFolder folder;
    // The same object's page twice, with other links and another date in its footer.
    const auto save = [&](const char* name, const char* token, const char* date) {
        const QString path = folder.path() + QString::fromLatin1(name);
        writeFile(path,
                  QStringLiteral(
                      "<html><body><table><tr><td class=\"nazev\">Výměra [m2]:</td><td><b>77</b>"
                      "</td></tr><tr><td class=\"nazev\">Parcelní číslo:</td><td>st. 12/3</td>"
                      "</tr><tr><td class=\"nazev\">Katastrální území:</td><td>Benice [602582]"
                      "</td></tr></table><p class=\"plomba\">Objekt je dotčen změnou právního "
                      "vztahu: <a href=\"/R?t=%1\">Z-77/2026-702</a>, <a href=\"/R?t=%1\">"
                      "V-1234/2026-101</a></p><h2>Vlastníci, jiní oprávnění</h2><p>Novák "
                      "<a href=\"/O?t=%1\">detail</a></p><p>Platnost k %2</p></body></html>")
                      .arg(QString::fromLatin1(token), QString::fromLatin1(date))
                      .toUtf8());
        return path;
    };
    const QString page = save("stranka.html", "a1", "10.12.2026 21:07:33");
    const Run again =
        runVeritam({QStringLiteral("--extract"), save("znovu.html", "b2", "11.12.2026 08:00:01")});
    const Run run = runVeritam({QStringLiteral("--extract"), page});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(again.exitCode, 0);
    const QJsonObject other = QJsonDocument::fromJson(again.out.toUtf8()).object();
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(json[QStringLiteral("vymera")].toString(), QStringLiteral("77"));
    QCOMPARE(json[QStringLiteral("vlastnici")].toString(), QStringLiteral("Novák detail"));
    QCOMPARE(json[QStringLiteral("podil")].toString(), QString());
    QCOMPARE(json[QStringLiteral("rizeni")].toString(),
             QStringLiteral("V-1234/2026-101, Z-77/2026-702"));
    const QJsonObject fingerprints = json[QStringLiteral("fingerprints")].toObject();
    QCOMPARE(fingerprints.size(), 4);
    QCOMPARE(other[QStringLiteral("fingerprints")].toObject(), fingerprints);
    QCOMPARE(other[QStringLiteral("rizeni")], json[QStringLiteral("rizeni")]);
    QCOMPARE(fingerprints[QStringLiteral("omezeni")].toString(),
             QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
    // What capture would write, for each kind.
    const QJsonObject identity = json[QStringLiteral("identity")].toObject();
    QCOMPARE(identity[QStringLiteral("parcela")].toObject(),
             (QJsonObject{{QStringLiteral("cislo_1"), QStringLiteral("12")},
                          {QStringLiteral("cislo_2"), QStringLiteral("3")},
                          {QStringLiteral("druh_cislovani"), QStringLiteral("1")},
                          {QStringLiteral("uzemi"), QStringLiteral("602582")},
                          {QStringLiteral("typ_parcely"), QStringLiteral("PKN")},
                          {QStringLiteral("puvod_parcely"), QStringLiteral("4")}}));
    QCOMPARE(identity[QStringLiteral("stavba")].toObject().keys(),
             texts({"cast_obce", "cislo_stavby", "obec", "typ_stavby"}));
    QCOMPARE(identity[QStringLiteral("jednotka")].toObject().keys(),
             texts({"cislo_jednotky", "cislo_stavby"}));

    const Run missing =
        runVeritam({QStringLiteral("--extract"), folder.path() + QStringLiteral("nic.html")});
    QCOMPARE(missing.exitCode, 2);
    QCOMPARE(
        missing.err,
        QStringLiteral("Soubor %1nic.html nelze přečíst: soubor neexistuje.\n").arg(folder.path()));
}

void TestConsoleCommands::diffNamesWhatChanged() {
    TempDataFolder folder;
    const auto save = [&](const char* name, const char* owners, const char* area,
                          const char* proceedings) {
        const QString path = folder.path() + QString::fromLatin1(name);
        writeFile(path, QStringLiteral(
                            "<html><body><table><tr><td class=\"nazev\">Výměra [m2]:</td>"
                            "<td><b>%1</b></td></tr></table><p class=\"plomba\">%3</p>"
                            "<h2>Vlastníci, jiní oprávnění</h2><table>%2</table></body></html>")
                            .arg(QString::fromUtf8(area), QString::fromUtf8(owners),
                                 QString::fromUtf8(proceedings))
                            .toUtf8());
        return path;
    };
    const QString old =
        save("a.html", "<tr><td>Novák</td><td>1/1</td></tr>", "816", "V-1234/2026-101");
    const QString changed =
        save("b.html", "<tr><td>Dvořák</td><td>1/1</td></tr>", "817", "Z-55/2026-101");
    const Run run = runVeritam({QStringLiteral("--diff"), old, changed});
    QCOMPARE(run.exitCode, 1);
    const QJsonObject expected = QJsonDocument::fromJson(R"({"sections": [
        {"section": "vymera", "old": "816", "new": "817"},
        {"section": "vlastnici", "removed": [["Novák", "1/1"]], "added": [["Dvořák", "1/1"]]},
        {"section": "rizeni", "removed": ["V-1234/2026-101"], "added": ["Z-55/2026-101"]}]})")
                                     .object();
    QCOMPARE(QJsonDocument::fromJson(run.out.toUtf8()).object(), expected);
    const Run same = runVeritam({QStringLiteral("--diff"), old, old});
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(
        QJsonDocument::fromJson(same.out.toUtf8()).object()[QStringLiteral("sections")].toArray(),
        QJsonArray());
    QCOMPARE(runVeritam({QStringLiteral("--diff"), old, folder.path() + QStringLiteral("nic.html")})
                 .exitCode,
             2);
}

QTEST_GUILESS_MAIN(TestConsoleCommands)
void TestConsoleCommands::deeplyNestedPageStaysWithinItsMemory() {
    // 1.5 MB of tables nested 100,000 deep, none of them closed, then the same closed again
    // with a label cell at every depth.
    TempDataFolder folder;
    const QString open = folder.path() + QStringLiteral("otevrene.html");
    writeFile(open, "<html><body>" + QByteArray("<table><tr><td>").repeated(100000) +
                        "<h2>Jiné zápisy</h2><p>x</p></body></html>");
    const QString closed = folder.path() + QStringLiteral("uzavrene.html");
    writeFile(closed, "<html><body>" +
                          QByteArray("<table><tr><td class=\"nazev\">").repeated(100000) +
                          "Výměra [m2]:" + QByteArray("</td></tr></table>").repeated(100000) +
                          "</body></html>");
    constexpr rlim_t kLimit = rlim_t{1} << 30; // the program itself takes about 300 MB
    const Run first = runVeritam({QStringLiteral("--extract"), open}, kLimit);
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(first.out.toUtf8())[QStringLiteral("jine")].toString(),
             QStringLiteral("x"));
    const Run second = runVeritam({QStringLiteral("--extract"), closed}, kLimit);
    QCOMPARE(second.exitCode, 1); // the innermost label has no value after it
    QVERIFY2(second.err.contains(QStringLiteral("Výměra [m2]:")), qPrintable(second.err));
}

#include "tst_ConsoleCommands.moc"
