// The full check run end to end: the program started headless against the portal simulator,
// with the real browser, a real database and a real data folder.
#include "FileSystemLimits.h"
#include "PortalSimulator.h"
#include "TestSupport.h"

#include "platform/CodePage1250.h"
#include "portal/PortalCredentials.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

#include <csignal>

using namespace veritam;
using namespace veritam::test;

namespace {

QJsonObject world(const char* owner = "Novák Jan") {
    QJsonObject s = QJsonDocument::fromJson(R"({
      "loginStep": true,
      "territories": [{"code": 602582, "name": "Benice"}, {"code": 774871, "name": "Ústí nad Labem"}],
      "municipalities": [{"code": 554782, "name": "Praha", "parts": [{"code": 1520, "name": "Běchovice"}]}],
      "objects": [
        {"id": "pkn", "kind": "parcel", "territory": 602582, "numbering": 2, "number": "345", "subdivision": "6",
         "area": "1254", "owners": [["OWNER", "1/1"]]},
        {"id": "st", "kind": "parcel", "territory": 602582, "numbering": 1, "number": "12", "area": "187",
         "owners": [["Obec Benice", ""]]},
        {"id": "pze", "kind": "parcel", "territory": 774871, "type": "PZE", "source": "6", "numbering": 2,
         "number": "1021", "area": "5310", "owners": [["Obec", ""]]},
        {"id": "broken", "kind": "parcel", "territory": 602582, "numbering": 2, "number": "902", "fault": "http500"},
        {"id": "b", "kind": "building", "municipality": 554782, "part": 1520, "buildingType": 1, "building": "45",
         "owners": [["Novák Jan", ""]]},
        {"id": "u", "kind": "unit", "municipality": 554782, "part": 1520, "buildingType": 1, "building": "1200",
         "unit": "14", "share": "6543/120000", "owners": [["Dvořák Tomáš", ""]]}
      ]})")
                        .object();
    QJsonArray objects = s[QStringLiteral("objects")].toArray();
    QJsonObject first = objects[0].toObject();
    first[QStringLiteral("owners")] =
        QJsonArray{QJsonArray{QString::fromUtf8(owner), QStringLiteral("1/1")}};
    objects[0] = first;
    s[QStringLiteral("objects")] = objects;
    return s;
}

using Run = ProgramRun;

/// Watched parcels, each given as its values of uzemi, typ_parcely, puvod_parcely,
/// druh_cislovani, cislo_1, cislo_2, nazev and kontrolovat in SQL form.
void insertParcels(OpenedStore& s, const QStringList& rows) {
    for (const QString& values : rows)
        s.exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, puvod_parcely, "
                              "druh_cislovani, cislo_1, cislo_2, nazev, kontrolovat) VALUES (1, ") +
               values + u')');
}

} // namespace

class TestHeadlessRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void recordsExactlyTheChangesMadeBetweenRuns();
    void cannotStartWithoutDatabase();
    void refusalsEndTheRunBeforeFurtherSearches_data();
    void refusalsEndTheRunBeforeFurtherSearches();
    void expiredLoginRecordsNothingFalse_data();
    void expiredLoginRecordsNothingFalse();
    void proceedingsAndAnOddPageBetweenRuns();
    void portalGoneMidRunEndsTheRunAsRefused();
    void automaticRunClosesOnlyWithoutChanges();
    void killedRunLeavesSoundFiles();
    void fullDiskFailsTheRunAndLosesNothing();
    void fullDiskAtTheStartIsARecordingFailure();

private:
    Run run(const QString& dataFolder);
    std::unique_ptr<PortalSimulator> m_sim;
};

void TestHeadlessRun::initTestCase() {
    m_sim = std::make_unique<PortalSimulator>(world());
}

Run TestHeadlessRun::run(const QString& dataFolder) {
    return runProgram({QStringLiteral("/autoload"), QStringLiteral("--headless"),
                       QStringLiteral("--files"), dataFolder});
}

void TestHeadlessRun::recordsExactlyTheChangesMadeBetweenRuns() {
    PreparedFolder prepared(true);
    const QString folder = prepared.folder.path();
    {
        OpenedStore s(folder);
        insertParcels(s, texts({"602582, 'PKN', 4, 2, 345, 6, 'Louka', 1",
                                "602582, 'PKN', 4, 1, 12, NULL, 'Stavební', 1",
                                "774871, 'PZE', 6, 2, 1021, NULL, 'Pole', 1",
                                "602582, 'PKN', 4, 2, 902, NULL, 'Rozbitá', 1",
                                "602582, 'PKN', 4, 2, 777, NULL, 'Nesledovaná', 0"}));
        s.exec(QStringLiteral("UPDATE parcely SET zmeny = 1"));
        s.exec(QStringLiteral(
            "INSERT INTO stavby (user_id, obec, cast_obce, typ_stavby, cislo_stavby, nazev, "
            "kontrolovat) VALUES (1, 554782, 1520, 1, 45, 'Dům', 1)"));
        s.exec(QStringLiteral(
            "INSERT INTO jednotky (user_id, obec, cast_obce, typ_stavby, cislo_stavby, "
            "cislo_jednotky, nazev, kontrolovat) VALUES (1, 554782, 1520, 1, 1200, 14, 'Byt', 1)"));
    }
    saveAccount(folder);
    m_sim->setState(world());
    m_sim->clearLog();

    // First run: nothing stored yet, so every object found is a change; the broken one fails.
    Run first = run(folder);
    QCOMPARE(first.exitCode, 1);
    QCOMPARE(first.lines.first(), QStringLiteral("Zahájena kontrola"));
    const qsizetype end = first.lines.indexOf(QStringLiteral("KONTROLA SKONČILA"));
    QVERIFY2(end > 0, qPrintable(first.lines.join(u'\n')));
    QVERIFY(first.lines.contains(QStringLiteral("Procházím parcelu č. 345 / 6")));
    QVERIFY(first.lines.contains(QStringLiteral("Procházím parcelu č. st. 12")));
    QVERIFY(first.lines.contains(QStringLiteral("Procházím jednotku č. 1200/14")));
    const qsizetype block = first.lines.indexOf(
        QStringLiteral("- parcela č. 902 / . Prosím zkontrolujte vstupní data. "));
    QVERIFY(block > 0);
    // The cause follows the record line, so a portal fault is not taken for wrong input.
    QVERIFY2(first.lines[block + 1].startsWith(QStringLiteral("Příčina: Stránku")) &&
                 first.lines[block + 1].contains(QStringLiteral("(HTTP 500)")),
             qPrintable(first.lines[block + 1]));
    // Only the program's own words: the engine's diagnostics are filtered out.
    QCOMPARE(first.err,
             QStringLiteral("Záznamů, které se nepodařilo zkontrolovat: 1 (viz výpis výše).\n"));
    QCOMPARE(first.lines.mid(end + 1),
             texts({"Změna u parcely p. č. 345 / 6, vlastní označení Louka: výměra, vlastníci, "
                    "ochrana, omezení, jiné zápisy",
                    "Změna u parcely p. č. st. 12, vlastní označení Stavební: výměra, vlastníci, "
                    "ochrana, omezení, jiné zápisy",
                    "Změna u parcely p. č. 1021, vlastní označení Pole: výměra, vlastníci, "
                    "ochrana, omezení, jiné zápisy",
                    "Změna u stavby 45, vlastní označení Dům: vlastníci, ochrana, omezení, "
                    "jiné zápisy",
                    "Změna u jednotky 14, vlastní označení Byt: podíl, vlastníci, ochrana, "
                    "omezení, jiné zápisy"}));
    for (const QJsonObject& request : m_sim->requests())
        QVERIFY(request[QStringLiteral("params")]
                    .toObject()[QStringLiteral("ctl00$bodyPlaceHolder$txtParcis")] !=
                QStringLiteral("777"));
    {
        OpenedStore s(folder);
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely WHERE zmeny = 1")).toInt(),
                 0);
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 3);
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_jednotek")).toInt(), 1);
        QCOMPARE(s.scalar(QStringLiteral("SELECT hash_podil FROM jednotky")).toString(),
                 QStringLiteral("6543/120000"));
    }

    // Second run, nothing changed on the portal: the page noise counts for nothing.
    Run second = run(folder);
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(second.lines.last(), QStringLiteral("KONTROLA SKONČILA"));
    {
        OpenedStore s(folder);
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 3);
        // The first run's changes stay marked until the user has seen them.
        QCOMPARE(
            s
                .scalar(QStringLiteral(
                    "SELECT COUNT(*) FROM parcely WHERE zmena_vlastnici = 1 OR zmena_vymera = 1"))
                .toInt(),
            3);
        s.dm.MarkSeen(RecordKind::Parcel, std::nullopt);
    }

    // One owner changes on the portal: exactly that record's owners section is recorded.
    m_sim->setState(world("Nováková Marie"));
    Run third = run(folder);
    QCOMPARE(third.exitCode, 1);
    QCOMPARE(third.lines.last(),
             QStringLiteral("Změna u parcely p. č. 345 / 6, vlastní označení Louka: vlastníci"));
    OpenedStore s(folder);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 4);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_staveb")).toInt(), 1);
    auto louka = s.dm.OpenStatement(QStringLiteral("SELECT * FROM parcely WHERE nazev = 'Louka'"));
    QVERIFY(louka->yesNo(QStringLiteral("zmena_vlastnici")));
    QVERIFY(!louka->yesNo(QStringLiteral("zmena_vymera")));
    QVERIFY(!louka->yesNo(QStringLiteral("zmena_jine")));
    const QStringList log = CodePage1250::decode([&] {
                                QFile file(folder + QStringLiteral("history_log.txt"));
                                file.open(QIODevice::ReadOnly);
                                return file.readAll();
                            }())
                                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(log.size(), 6);
    QVERIFY(log.last().startsWith(
        QStringLiteral(
            "Změna u parcely ID 1. Vlastní označení parcely Louka, cesta k souboru je: ") +
        folder + QStringLiteral("historie/parcely/parcela-id-1/")));
}

void TestHeadlessRun::cannotStartWithoutDatabase() {
    TempDataFolder folder;
    const Run result = run(folder.path());
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(QStringLiteral("Kontrolu nelze spustit")), qPrintable(result.err));
    QVERIFY(!QFileInfo::exists(folder.path() + QStringLiteral("katastr_data.sqlite")));
}

namespace {

/// The search requests (those that press "Vyhledat"), oldest first, as "number".
QStringList searchesOf(const QList<QJsonObject>& requests) {
    QStringList result;
    for (const QJsonObject& r : requests) {
        const QJsonObject params = r[QStringLiteral("params")].toObject();
        if (params.contains(QStringLiteral("ctl00$bodyPlaceHolder$btnVyhledat")))
            result.append(params[QStringLiteral("ctl00$bodyPlaceHolder$txtParcis")].toString() +
                          params[QStringLiteral("ctl00$bodyPlaceHolder$txtBudova")].toString());
    }
    return result;
}

/// A data folder watching the world's parcels 345/6, st. 12 and 1021, with an account.
QString folderWithParcels(const PreparedFolder& prepared) {
    OpenedStore s(prepared.folder.path());
    insertParcels(s, texts({"602582, 'PKN', 4, 2, 345, 6, 'Louka', 1",
                            "602582, 'PKN', 4, 1, 12, NULL, 'Stavební', 1",
                            "774871, 'PZE', 6, 2, 1021, NULL, 'Pole', 1"}));
    saveAccount(prepared.folder.path());
    return prepared.folder.path();
}

/// Starts the headless full run on the folder and returns at once.
void startHeadless(QProcess& process, const QString& folder) {
    process.setProcessEnvironment(programEnvironment());
    process.start(binFolder() + QStringLiteral("/veritam"),
                  {QStringLiteral("/autoload"), QStringLiteral("--headless"),
                   QStringLiteral("--files"), folder});
}

/// The state with one value of the objects named set (all of them without names).
QJsonObject withObjects(QJsonObject state, const QStringList& ids, const QString& key,
                        const QJsonValue& value) {
    QJsonArray objects = state[QStringLiteral("objects")].toArray();
    for (int i = 0; i < objects.size(); ++i) {
        QJsonObject o = objects[i].toObject();
        if (ids.isEmpty() || ids.contains(o[QStringLiteral("id")].toString()))
            o[key] = value;
        objects[i] = o;
    }
    state[QStringLiteral("objects")] = objects;
    return state;
}

QJsonObject withObjectFault(const QJsonObject& state, const QString& id, const QString& fault) {
    return withObjects(state, {id}, QStringLiteral("fault"), fault);
}

} // namespace

void TestHeadlessRun::refusalsEndTheRunBeforeFurtherSearches_data() {
    QTest::addColumn<QJsonObject>("state");
    QTest::addColumn<QStringList>("searches");
    QTest::addColumn<QString>("message");
    QJsonObject otherAccount = world();
    otherAccount[QStringLiteral("account")] =
        QJsonObject{{QStringLiteral("name"), QStringLiteral("jan")},
                    {QStringLiteral("password"), QStringLiteral("jine")}};
    QTest::newRow("refused login") << otherAccount << QStringList() << "odmítl přihlášení";
    QTest::newRow("traffic protection on the second parcel")
        << withObjectFault(world(), QStringLiteral("st"), QStringLiteral("protection"))
        << texts({"345", "12"}) << "„Omezení přístupu - Nahlížení do katastru nemovitostí“";
}

void TestHeadlessRun::refusalsEndTheRunBeforeFurtherSearches() {
    QFETCH(QJsonObject, state);
    QFETCH(QStringList, searches);
    QFETCH(QString, message);
    m_sim->setState(state);
    m_sim->clearLog();
    PreparedFolder prepared(true);
    const QString folder = folderWithParcels(prepared);
    const Run result = run(folder);
    QCOMPARE(result.exitCode, 3);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QCOMPARE(searchesOf(m_sim->requests()), searches);
    // One login and nothing after the refusal: the page that refused is the last one asked.
    const QList<QJsonObject> requests = m_sim->requests();
    const auto firstSearch =
        std::find_if(requests.begin(), requests.end(), [](const QJsonObject& r) {
            return r[QStringLiteral("path")].toString().startsWith(QLatin1String("/Vyber"));
        });
    for (auto r = firstSearch; r != requests.end(); ++r)
        QVERIFY(!(*r)[QStringLiteral("host")].toString().startsWith(QLatin1String("login.")));
    QStringList pages;
    for (const QJsonObject& r : requests)
        if (!r[QStringLiteral("path")].toString().endsWith(QLatin1String(".css")))
            pages.append(r[QStringLiteral("path")].toString());
    if (searches.size() > 1)
        QCOMPARE(pages.last(), QStringLiteral("/ZobrazObjekt"));
    OpenedStore s(folder);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(),
             searches.size() > 1 ? 1 : 0); // only the parcel before the refusal
    QCOMPARE(
        s.scalar(QStringLiteral("SELECT hash_vymera FROM parcely WHERE cislo_1 = 12")).toString(),
        QString());
}

void TestHeadlessRun::proceedingsAndAnOddPageBetweenRuns() {
    m_sim->setState(world());
    PreparedFolder prepared(true);
    const QString folder = folderWithParcels(prepared);
    {
        OpenedStore s(folder);
        s.exec(QStringLiteral(
            "INSERT INTO jednotky (user_id, obec, cast_obce, typ_stavby, cislo_stavby, "
            "cislo_jednotky, nazev, kontrolovat) VALUES (1, 554782, 1520, 1, 1200, 14, 'Byt', 1)"));
    }
    QCOMPARE(run(folder).exitCode, 1); // the first values
    OpenedStore(folder).dm.MarkSeen(RecordKind::Parcel, std::nullopt);
    const auto proceedings = [&](const char* table, const char* where) {
        OpenedStore s(folder);
        return s
            .scalar(QStringLiteral("SELECT hash_prevod || '|' || zmena_prevod FROM %1 WHERE %2")
                        .arg(QString::fromLatin1(table), QString::fromLatin1(where)))
            .toString();
    };
    QCOMPARE(proceedings("parcely", "cislo_1 = 345"), QStringLiteral("|0"));

    // A proposal is filed on the parcel and the unit; the page of st. 12, between them, has
    // lost its sections.
    const QJsonObject filed =
        withObjectFault(withObjects(world(), texts({"pkn", "u"}), QStringLiteral("proceedings"),
                                    QJsonArray{QStringLiteral("V-1234/2026-101")}),
                        QStringLiteral("st"), QStringLiteral("nosections"));
    m_sim->setState(filed);
    const Run second = run(folder);
    QCOMPARE(second.exitCode, 1);
    QVERIFY2(second.lines.contains(QStringLiteral(
                 "Změna u parcely p. č. 345 / 6, vlastní označení Louka: nové řízení "
                 "V-1234/2026-101")) &&
                 second.lines.contains(QStringLiteral(
                     "Změna u jednotky 14, vlastní označení Byt: nové řízení V-1234/2026-101")),
             qPrintable(second.lines.join(u'\n')));
    QVERIFY(second.lines.contains(
        QStringLiteral("Příčina: Stránka objektu neobsahuje oddíly Vlastníci, jiní oprávnění, "
                       "Způsob ochrany nemovitosti, Omezení vlastnického práva, Jiné zápisy.")));
    QVERIFY(second.lines.contains(QStringLiteral("Procházím parcelu č. 1021"))); // went on
    QCOMPARE(proceedings("parcely", "cislo_1 = 345"), QStringLiteral("V-1234/2026-101|1"));
    QCOMPARE(proceedings("jednotky", "1"), QStringLiteral("V-1234/2026-101|1"));
    QCOMPARE(proceedings("parcely", "cislo_1 = 1021"), QStringLiteral("|0"));

    // The proceedings end.
    m_sim->setState(world());
    const Run third = run(folder);
    QCOMPARE(third.exitCode, 1);
    QVERIFY(third.lines.contains(
        QStringLiteral("Změna u parcely p. č. 345 / 6, vlastní označení Louka: skončené řízení "
                       "V-1234/2026-101")));
    QCOMPARE(proceedings("parcely", "cislo_1 = 345"), QStringLiteral("|1"));
    QCOMPARE(proceedings("jednotky", "1"), QStringLiteral("|1"));
    OpenedStore s(folder);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 5);
    QCOMPARE(
        s.scalar(QStringLiteral("SELECT zmena_vlastnici FROM parcely WHERE cislo_1 = 345")).toInt(),
        0);
}

void TestHeadlessRun::portalGoneMidRunEndsTheRunAsRefused() {
    m_sim->setState(withObjectFault(world(), QStringLiteral("pkn"), QStringLiteral("delay:1500")));
    PreparedFolder prepared(true);
    const QString folder = folderWithParcels(prepared);
    {
        OpenedStore s(folder);
        insertParcels(s, texts({"602582, 'PKN', 4, 2, 902, NULL, 'Čtvrtá', 1",
                                "602582, 'PKN', 4, 2, 903, NULL, 'Pátá', 1"}));
    }
    QProcess process;
    startHeadless(process, folder);
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += process.readAllStandardOutput()).contains("Procházím"), 60000);
    m_sim->stop(); // while the first parcel's page is on its way
    QVERIFY(process.waitForFinished(120000));
    out += process.readAllStandardOutput();
    m_sim = std::make_unique<PortalSimulator>(world());
    const QString printed = QString::fromUtf8(out);
    QCOMPARE(process.exitCode(), 3);
    QVERIFY2(printed.contains(QStringLiteral("KONTROLA UKONČENA: Portál neodpovídá")),
             qPrintable(printed));
    QCOMPARE(printed.count(QStringLiteral("Procházím")), 3); // the other two never asked
    OpenedStore s(folder);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 0);
}

void TestHeadlessRun::expiredLoginRecordsNothingFalse_data() {
    QTest::addColumn<QString>("visitors");
    QTest::newRow("code page for visitors") << "code";
    QTest::newRow("pages without owners for visitors") << "noowners";
}

void TestHeadlessRun::expiredLoginRecordsNothingFalse() {
    QFETCH(QString, visitors);
    m_sim->setState(world());
    PreparedFolder prepared(true);
    const QString folder = folderWithParcels(prepared);
    QCOMPARE(run(folder).exitCode, 1); // the first values
    OpenedStore(folder).dm.MarkSeen(RecordKind::Parcel, std::nullopt);
    // A login now lasts a few pages: every lookup or two meets it expired.
    QJsonObject expiring = world();
    expiring[QStringLiteral("loginExpiresAfter")] = 8;
    expiring[QStringLiteral("visitors")] = visitors;
    m_sim->setState(expiring);
    const Run second = run(folder);
    QCOMPARE(second.exitCode, 0);
    QVERIFY2(second.lines.filter(QStringLiteral("přihlašuji znovu")).size() >= 1,
             qPrintable(second.lines.join(u'\n')));
    QVERIFY(second.lines.filter(QStringLiteral("CHYBA")).isEmpty());
    OpenedStore s(folder);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 3);
    QCOMPARE(
        s.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely WHERE zmena_vlastnici = 1")).toInt(),
        0);
}

namespace {

/// A data folder with one watched parcel of the simulator's world, and an account.
QString folderWithParcel(const PreparedFolder& prepared) {
    OpenedStore s(prepared.folder.path());
    insertParcels(s, texts({"602582, 'PKN', 4, 2, 345, 6, 'Louka', 1"}));
    s.exec(QStringLiteral("UPDATE user_table SET login = 'jan'"));
    saveAccount(prepared.folder.path());
    return prepared.folder.path();
}

} // namespace

void TestHeadlessRun::automaticRunClosesOnlyWithoutChanges() {
    m_sim->setState(world());
    PreparedFolder prepared(true);
    const QString folder = folderWithParcel(prepared);
    const auto start = [&](QProcess& process) {
        process.setProcessEnvironment(programEnvironment());
        process.start(binFolder() + QStringLiteral("/veritam"),
                      {QStringLiteral("/autoload"), QStringLiteral("/files"), folder});
    };
    // The first run records the parcel's first values: a change, so the program stays open.
    QProcess withChanges;
    start(withChanges);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(folder + QStringLiteral("history_log.txt")), 60000);
    QVERIFY(!withChanges.waitForFinished(3000));
    withChanges.kill();
    withChanges.waitForFinished();
    // Nothing has changed since: the program closes itself.
    QProcess unchanged;
    start(unchanged);
    QVERIFY(unchanged.waitForFinished(60000));
    QCOMPARE(unchanged.exitStatus(), QProcess::NormalExit);
    QCOMPARE(unchanged.exitCode(), 0);
}

void TestHeadlessRun::killedRunLeavesSoundFiles() {
    QJsonObject slow = world();
    QJsonArray objects = slow[QStringLiteral("objects")].toArray();
    for (int i = 0; i < objects.size(); ++i) {
        QJsonObject o = objects[i].toObject();
        o[QStringLiteral("fault")] = QStringLiteral("delay:300");
        objects[i] = o;
    }
    slow[QStringLiteral("objects")] = objects;
    m_sim->setState(slow);
    PreparedFolder prepared(true);
    const QString folder = folderWithParcel(prepared);
    {
        OpenedStore s(folder);
        for (int n = 0; n < 6; ++n)
            insertParcels(s, {QStringLiteral("602582, 'PKN', 4, 2, 345, 6, 'Louka %1', 1").arg(n)});
    }
    for (int round = 0; round < 3; ++round) {
        QProcess process;
        startHeadless(process, folder);
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT(
            (out += process.readAllStandardOutput()).count("Procházím") >= 3 + round, 60000);
        if (const qint64 pid = process.processId(); pid > 0)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        process.waitForFinished();

        OpenedStore s(folder);
        QCOMPARE(s.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                 QStringLiteral("ok"));
        QDir snapshots(folder + QStringLiteral("historie/parcely"));
        for (const QString& sub : snapshots.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QDir dir(snapshots.filePath(sub));
            for (const QFileInfo& file : dir.entryInfoList(QDir::Files)) {
                QVERIFY2(file.fileName().endsWith(QLatin1String(".html")),
                         qPrintable(file.filePath()));
                QFile f(file.filePath());
                QVERIFY(f.open(QIODevice::ReadOnly));
                const QByteArray content = f.readAll();
                QVERIFY(content.startsWith("<!DOCTYPE html>") && content.endsWith("\r\n"));
            }
        }
        QFile log(folder + QStringLiteral("history_log.txt"));
        if (log.open(QIODevice::ReadOnly))
            QVERIFY(log.readAll().endsWith("\r\n"));
    }
    m_sim->setState(world());
    const Run next = run(folder);
    QVERIFY(next.exitCode == 0 || next.exitCode == 1);
    QCOMPARE(next.lines.count(QStringLiteral("KONTROLA SKONČILA")), 1);
}

namespace {

/// The files of a folder tree, hidden ones too, with their contents.
QMap<QString, QByteArray> filesUnder(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.fileName().contains(QLatin1String("katastr_data.sqlite")) &&
            file.open(QIODevice::ReadOnly))
            files.insert(file.fileName(), file.readAll());
    }
    return files;
}

/// A data folder on the small disk with the prepared database, these parcels and an account.
QString folderOn(const SmallFileSystem& disk, const QStringList& parcels) {
    PreparedFolder prepared(true);
    const QString folder = disk.path();
    if (!QFile::copy(prepared.folder.path() + Schema::databaseFileName(),
                     folder + Schema::databaseFileName()))
        qFatal("the database cannot be copied to the small disk");
    OpenedStore s(folder);
    insertParcels(s, parcels);
    saveAccount(folder);
    return folder;
}

} // namespace

void TestHeadlessRun::fullDiskFailsTheRunAndLosesNothing() {
    SmallFileSystem disk(16 * 1024 * 1024);
    if (!disk.mounted())
        QSKIP("A tmpfs cannot be mounted here (needs root); the full disk is not tried.");
    const QString folder = folderOn(disk, texts({"602582, 'PKN', 4, 2, 345, 6, 'Louka', 1",
                                                 "602582, 'PKN', 4, 1, 12, NULL, 'Stavební', 1"}));
    m_sim->setState(world());
    QCOMPARE(run(folder).exitCode, 1);

    // The disk fills up while the database still has room in its journal, as on a nearly
    // full disk: a connection held open keeps the journal, and its space is used again.
    auto holder = std::make_unique<SqliteConnection>();
    holder->open(folder + Schema::databaseFileName());
    holder->exec(
        QStringLiteral("CREATE TABLE ballast (x); "
                       "INSERT INTO ballast VALUES (zeroblob(400000)); DROP TABLE ballast; "
                       "PRAGMA wal_checkpoint(RESTART)"));
    const QMap<QString, QByteArray> before = filesUnder(folder);
    disk.fill();
    m_sim->setState(world("Nováková Marie"));
    const Run full = run(folder);
    QCOMPARE(full.exitCode, 4);
    QVERIFY2(full.lines.filter(QStringLiteral("Změnu se nepodařilo zaznamenat")).size() == 1,
             qPrintable(full.lines.join(u'\n')));
    QVERIFY2(full.err.contains(QStringLiteral("na disku není volné místo")), qPrintable(full.err));
    disk.makeRoom();
    QMap<QString, QByteArray> after = filesUnder(folder);
    after.remove(folder + QStringLiteral("zaplneni.bin"));
    QCOMPARE(after, before); // nothing shrunk, emptied, half-written or left aside

    holder.reset();
    const Run roomy = run(folder);
    QCOMPARE(roomy.exitCode, 1);
    OpenedStore s(folder);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 3);
}

void TestHeadlessRun::fullDiskAtTheStartIsARecordingFailure() {
    SmallFileSystem disk(16 * 1024 * 1024);
    if (!disk.mounted())
        QSKIP("A tmpfs cannot be mounted here (needs root); the full disk is not tried.");
    const QString folder = folderOn(disk, texts({"602582, 'PKN', 4, 2, 345, 6, 'Louka', 1"}));
    m_sim->setState(world());
    disk.fill(); // before the database's journal could be made
    const Run full = run(folder);
    disk.makeRoom();
    QCOMPARE(full.exitCode, 4);
    QVERIFY2(full.err.contains(QStringLiteral("není volné místo")) && full.err.contains(folder),
             qPrintable(full.err));
    QCOMPARE(run(folder).exitCode, 1); // with room again, the check is made
}

QTEST_GUILESS_MAIN(TestHeadlessRun)
#include "tst_HeadlessRun.moc"
