// Comparing an object with its last check and recording a change, against a real database
// and a real data folder.
#include "FileSystemLimits.h"
#include "TestSupport.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/Fingerprint.h"
#include "analysis/HistoryLog.h"
#include "analysis/SectionExtractor.h"
#include "platform/CodePage1250.h"
#include "platform/DataFolder.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"
#include "store/WatchedRecord.h"

#include <QDir>
#include <QtTest>

#include <sqlite3.h>

#include <memory>

using namespace veritam;
using namespace veritam::test;
using namespace veritam::ChangeRecorder;

namespace {

const QString kPage = QStringLiteral("<head></head><body><h1>Nguyễn Văn Ánh</h1></body>\r\n");

TParseKatastr sections(const char* area = "1254", const char* owners = "Novák Jan") {
    TParseKatastr s;
    s.vymera = QString::fromUtf8(area);
    s.vlastnici = QString::fromUtf8(owners);
    s.ochrana = QStringLiteral("Bez ochrany");
    return s;
}

/// A new database in the given folder, or in a temporary one.
struct DatabaseIn {
    explicit DatabaseIn(const QString& given)
        : path(given.isEmpty() ? temporary.path() : given) {
        Schema::createDatabase(path + Schema::databaseFileName());
    }
    TempDataFolder temporary;
    QString path;
};

struct Recorder : DatabaseIn, OpenedStore {
    explicit Recorder(const QString& dataFolder = {})
        : DatabaseIn(dataFolder)
        , OpenedStore(path) {
        exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, druh_cislovani, cislo_1, nazev) "
                            "VALUES (1, 602582, 2, 7, 'Zahrada')"));
        exec(QStringLiteral(
            "INSERT INTO jednotky (user_id, obec, cast_obce, typ_stavby, cislo_stavby, "
            "cislo_jednotky, nazev) VALUES (1, 554782, 1520, 1, 12, 3, 'Byt')"));
        dm.setClock([this] { return now; });
    }
    /// The clock of the checks: tests move it on instead of waiting.
    QDateTime now{QDate(2026, 3, 7), QTime(14, 5, 9)};
    /// The check of record 1 of the kind's table with these sections.
    bool check(RecordKind kind, TParseKatastr s) {
        auto row = dm.OpenStatement(QStringLiteral("SELECT * FROM ") + kindTable(kind).recordTable +
                                    QStringLiteral(" WHERE ID = 1"));
        return CompareAndRecord(dm, WatchedRecord::read(kind, *row), s, kPage).any();
    }
    QVariant parcel(const char* column) {
        return scalar(
            QStringLiteral("SELECT %1 FROM parcely WHERE ID = 1").arg(QString::fromLatin1(column)));
    }
    int changeRows() { return scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(); }
    QStringList snapshots(QDir::Filters extra = {}) {
        return QDir(path + QStringLiteral("historie/parcely/parcela-id-1"))
            .entryList(QDir::Files | extra);
    }
    /// What a check writes into the parcel's row.
    QVariantList parcelState() {
        auto row = dm.OpenStatement(QStringLiteral(
            "SELECT hash_vymera, hash_vlastnici, hash_ochrana, hash_omezeni, hash_jine, "
            "zmena_vymera, zmena_vlastnici, zmena_ochrana, zmena_omezeni, zmena_jine, "
            "posledni_kontrola FROM parcely WHERE ID = 1"));
        QVariantList values;
        for (int column = 0; column < 11; ++column)
            values.append(row->rowValue(0, column));
        return values;
    }
    QStringList logLines() {
        QFile log(HistoryLog::path(path));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return CodePage1250::decode(log.readAll())
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
};

} // namespace

class TestChangeRecorder : public QObject {
    Q_OBJECT
private slots:
    void neverStoredRecordRecordsAChange();
    void noDifferenceKeepsTheFlagsUntilSeenAndWritesNothing();
    void differenceInOneSectionOnly();
    void unitNeverComparesTheArea();
    void twoChangesInOneSecondKeepTwoSnapshots();
    void proceedings_data();
    void proceedings();
    void failedChangeLeavesTheOldValues_data();
    void failedChangeLeavesTheOldValues();
    void fullDiskRecordsNothingUntilThereIsRoom();
    void unwritableLogKeepsTheRecordedChange();
    void killedWhileRecordingKeepsEveryChange();
    void nameWithLineBreakGivesOneLogLine();
    void historyLogLines();
};

void TestChangeRecorder::neverStoredRecordRecordsAChange() {
    Recorder r;
    QVERIFY(r.check(RecordKind::Parcel, sections("12 O'Neil")));
    QCOMPARE(r.parcel("hash_vymera").toString(), QStringLiteral("12 O'Neil"));
    QCOMPARE(r.parcel("hash_vlastnici").toString(), Fingerprint(QStringLiteral("Novák Jan")));
    QCOMPARE(r.parcel("hash_omezeni").toString(), Fingerprint(QString())); // empty has one too
    for (const char* flag :
         {"zmena_vymera", "zmena_vlastnici", "zmena_ochrana", "zmena_omezeni", "zmena_jine"})
        QVERIFY2(r.parcel(flag).toBool(), flag);
    QVERIFY(!r.parcel("posledni_kontrola").isNull());

    const QStringList files = r.snapshots();
    QCOMPARE(files.size(), 1);
    QVERIFY(QRegularExpression(
                QStringLiteral("^\\d{4}\\.\\d\\d\\.\\d\\d,\\d\\d\\.\\d\\d\\.\\d\\d\\.html$"))
                .match(files[0])
                .hasMatch());
    const QString relative = QStringLiteral("historie/parcely/parcela-id-1/") + files[0];
    QCOMPARE(r.scalar(QStringLiteral("SELECT filename FROM zmeny_parcel")).toString(), relative);
    QFile snapshot(r.path + relative);
    QVERIFY(snapshot.open(QIODevice::ReadOnly));
    const QByteArray content = snapshot.readAll();
    QVERIFY(content.startsWith(
        "<!DOCTYPE html><html><head><link href=\"../../../cascade1.css\" rel=\"stylesheet\"/>"));
    QVERIFY(content.endsWith(kPage.toUtf8())); // every letter of the page kept, in UTF-8
    QCOMPARE(r.logLines(),
             QStringList{QStringLiteral("Změna u parcely ID 1. Vlastní označení parcely Zahrada, "
                                        "cesta k souboru je: ") +
                         r.path + relative});
}

void TestChangeRecorder::noDifferenceKeepsTheFlagsUntilSeenAndWritesNothing() {
    Recorder r;
    QVERIFY(r.check(RecordKind::Parcel, sections()));
    r.exec(QStringLiteral("UPDATE parcely SET posledni_kontrola = NULL"));
    QVERIFY(!r.check(RecordKind::Parcel, sections()));
    const char* flags[] = {"zmena_vymera", "zmena_vlastnici", "zmena_ochrana", "zmena_omezeni",
                           "zmena_jine"};
    // A daily run must not wipe a change the user has not seen yet.
    for (const char* flag : flags)
        QVERIFY2(r.parcel(flag).toBool(), flag);
    r.dm.MarkSeen(RecordKind::Parcel, 1);
    for (const char* flag : flags)
        QVERIFY2(!r.parcel(flag).toBool(), flag);
    QCOMPARE(r.snapshots().size(), 1);
    QCOMPARE(r.changeRows(), 1);
    QCOMPARE(r.logLines().size(), 1);
    QVERIFY(!r.parcel("posledni_kontrola").isNull());
}

void TestChangeRecorder::differenceInOneSectionOnly() {
    Recorder r;
    QVERIFY(r.check(RecordKind::Parcel, sections()));
    r.dm.MarkSeen(RecordKind::Parcel, std::nullopt);
    r.now = r.now.addSecs(1);
    QVERIFY(r.check(RecordKind::Parcel, sections("1254", "Novák Jan, Nováková Marie")));
    QCOMPARE(r.snapshots().size(), 2);
    QCOMPARE(r.changeRows(), 2);
    QVERIFY(r.parcel("zmena_vlastnici").toBool());
    for (const char* flag : {"zmena_vymera", "zmena_ochrana", "zmena_omezeni", "zmena_jine"})
        QVERIFY2(!r.parcel(flag).toBool(), flag);
}

void TestChangeRecorder::unitNeverComparesTheArea() {
    Recorder r;
    TParseKatastr s = sections();
    s.podil = QStringLiteral("1/4");
    QVERIFY(r.check(RecordKind::Unit, s));
    QVERIFY(r.scalar(QStringLiteral("SELECT hash_podil FROM jednotky")).toString() ==
            QStringLiteral("1/4"));
    s = sections("9999");
    s.podil = QStringLiteral("1/4");
    QVERIFY(!r.check(RecordKind::Unit, s));
    QCOMPARE(r.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_jednotek")).toInt(), 1);
}

void TestChangeRecorder::twoChangesInOneSecondKeepTwoSnapshots() {
    Recorder r;
    QVERIFY(r.check(RecordKind::Parcel, sections("1")));
    QVERIFY(r.check(RecordKind::Parcel, sections("2")));
    QVERIFY(r.check(RecordKind::Parcel, sections("3")));
    auto rows = r.dm.OpenStatement(QStringLiteral("SELECT filename FROM zmeny_parcel ORDER BY ID"));
    QStringList names;
    for (rows->first(); !rows->eof(); rows->next())
        names.append(rows->text(QStringLiteral("filename")).section(u'/', -1));
    QCOMPARE(names, texts({"2026.03.07,14.05.09.html", "2026.03.07,14.05.09-2.html",
                           "2026.03.07,14.05.09-3.html"}));
    QStringList files = r.snapshots();
    files.sort();
    names.sort();
    QCOMPARE(files, names);
    QFile second(r.path + QStringLiteral("historie/parcely/parcela-id-1/") + files[0]);
    QVERIFY(second.open(QIODevice::ReadOnly));
    QVERIFY(second.readAll().endsWith(kPage.toUtf8()));
}

void TestChangeRecorder::proceedings_data() {
    QTest::addColumn<QVariant>("stored"); // hash_prevod before the check
    QTest::addColumn<QString>("found");
    QTest::addColumn<bool>("change");
    QTest::addColumn<QString>("news"); // added, then removed, as "+X -Y"
    QTest::newRow("never read, none found: no change") << QVariant() << "" << false << "";
    QTest::newRow("never read, one found: the user must hear of it")
        << QVariant() << "V-1234/2026-101" << true << "+V-1234/2026-101";
    QTest::newRow("one came") << QVariant(QStringLiteral("V-1234/2026-101"))
                              << "V-1234/2026-101, Z-55/2026-101" << true << "+Z-55/2026-101";
    QTest::newRow("one ended") << QVariant(QStringLiteral("V-1234/2026-101")) << "" << true
                               << "-V-1234/2026-101";
    QTest::newRow("read before, none still") << QVariant(QString()) << "" << false << "";
}

void TestChangeRecorder::proceedings() {
    QFETCH(QVariant, stored);
    QFETCH(QString, found);
    QFETCH(bool, change);
    QFETCH(QString, news);
    Recorder r;
    QVERIFY(r.check(RecordKind::Parcel, sections()));
    const qsizetype rows = r.changeRows();
    SqliteStatement reset(r.dm.ADOConnection, QStringLiteral("UPDATE parcely SET hash_prevod = ?"));
    reset.bind(1, stored);
    reset.run();
    TParseKatastr s = sections();
    s.rizeni = found;
    const auto row = r.dm.OpenStatement(QStringLiteral("SELECT * FROM parcely WHERE ID = 1"));
    const Comparison c =
        CompareAndRecord(r.dm, WatchedRecord::read(RecordKind::Parcel, *row), s, kPage);
    QCOMPARE(c.changed,
             change ? std::vector<Section>{Section::Proceedings} : std::vector<Section>{});
    QStringList got;
    for (const QString& n : c.proceedingsAdded)
        got.append(u'+' + n);
    for (const QString& n : c.proceedingsRemoved)
        got.append(u'-' + n);
    QCOMPARE(got.join(u' '), news);
    QCOMPARE(r.parcel("zmena_prevod").toBool(), change);
    QCOMPARE(r.changeRows(), rows + (change ? 1 : 0));
    // Read now, whatever it found: an empty text, not NULL.
    QCOMPARE(r.parcel("hash_prevod").isNull(), false);
    QCOMPARE(r.parcel("hash_prevod").toString(), found);
}

void TestChangeRecorder::failedChangeLeavesTheOldValues_data() {
    QTest::addColumn<QString>("trouble");
    QTest::newRow("change row refused") << QStringLiteral("trigger");
    QTest::newRow("another writer holds the database") << QStringLiteral("busy");
    QTest::newRow("snapshot folder cannot be made") << QStringLiteral("blocked");
}

void TestChangeRecorder::failedChangeLeavesTheOldValues() {
    QFETCH(QString, trouble);
    Recorder r;
    QVERIFY(r.check(RecordKind::Parcel, sections("816")));
    const QVariantList before = r.parcelState();
    const QStringList snapshotsBefore = r.snapshots(QDir::Hidden);
    r.now = r.now.addSecs(1);

    std::unique_ptr<SqliteConnection> writer;
    if (trouble == QLatin1String("trigger")) {
        r.dm.ADOConnection.exec(
            QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zmeny_parcel "
                           "BEGIN SELECT RAISE(ABORT, 'zápis odmítnut'); END"));
    } else if (trouble == QLatin1String("busy")) {
        writer = std::make_unique<SqliteConnection>();
        writer->open(r.path + Schema::databaseFileName());
        writer->exec(QStringLiteral("BEGIN IMMEDIATE"));
        sqlite3_busy_timeout(r.dm.ADOConnection.handle(), 50);
    } else {
        QVERIFY(DataFolder::removeRecursively(r.path + QStringLiteral("historie/parcely")));
        QFile blocker(r.path + QStringLiteral("historie/parcely"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    }
    try {
        r.check(RecordKind::Parcel, sections("817"));
        QFAIL("recorded");
    } catch (const RecordingError& e) {
        QVERIFY(!e.committed());
        QVERIFY2(e.message().startsWith(QStringLiteral("Změnu se nepodařilo zaznamenat")),
                 qPrintable(e.message()));
    }
    QCOMPARE(r.parcelState(), before);
    QCOMPARE(r.changeRows(), 1);
    QCOMPARE(r.logLines().size(), 1);
    if (trouble != QLatin1String("blocked"))
        QCOMPARE(r.snapshots(QDir::Hidden), snapshotsBefore);

    // Once the trouble is gone, the next check finds the same difference and records it.
    if (writer)
        writer->exec(QStringLiteral("ROLLBACK"));
    r.dm.ADOConnection.exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse"));
    QFile::remove(r.path + QStringLiteral("historie/parcely"));
    QVERIFY(r.check(RecordKind::Parcel, sections("817")));
    QCOMPARE(r.parcel("hash_vymera").toString(), QStringLiteral("817"));
    QVERIFY(r.parcel("zmena_vymera").toBool());
    QCOMPARE(r.changeRows(), 2);
    QCOMPARE(r.logLines().size(), 2);
}

void TestChangeRecorder::fullDiskRecordsNothingUntilThereIsRoom() {
    SmallFileSystem disk(1024 * 1024);
    if (!disk.mounted())
        QSKIP("A tmpfs cannot be mounted here (needs root); the full disk is not tried.");
    Recorder r(disk.path());
    QVERIFY(r.check(RecordKind::Parcel, sections("816")));
    const QVariantList before = r.parcelState();
    const QStringList files = QDir(r.path).entryList(QDir::Files | QDir::Hidden);
    const QStringList snapshots = r.snapshots(QDir::Hidden);
    r.now = r.now.addSecs(1);
    disk.fill();
    QVERIFY_THROWS_EXCEPTION(RecordingError, r.check(RecordKind::Parcel, sections("817")));
    disk.makeRoom();
    QCOMPARE(r.parcelState(), before);
    QCOMPARE(r.changeRows(), 1);
    QCOMPARE(r.logLines().size(), 1); // not emptied
    QCOMPARE(r.snapshots(QDir::Hidden), snapshots);
    QCOMPARE(QDir(r.path).entryList(QDir::Files | QDir::Hidden), files);

    QVERIFY(r.check(RecordKind::Parcel, sections("817")));
    QCOMPARE(r.changeRows(), 2);
    QCOMPARE(r.logLines().size(), 2);
}

void TestChangeRecorder::unwritableLogKeepsTheRecordedChange() {
    Recorder r;
    QDir().mkpath(HistoryLog::path(r.path)); // a folder where the log should be
    try {
        r.check(RecordKind::Parcel, sections());
        QFAIL("no error");
    } catch (const RecordingError& e) {
        QVERIFY(e.committed());
        QVERIFY(e.message().contains(HistoryLog::path(r.path)));
    }
    QCOMPARE(r.snapshots().size(), 1);
    QCOMPARE(r.changeRows(), 1);
    QCOMPARE(r.parcel("hash_vymera").toString(), QStringLiteral("1254"));
}

void TestChangeRecorder::killedWhileRecordingKeepsEveryChange() {
    TempDataFolder folder;
    { Recorder r(folder.path()); }
    int previous = 0;
    for (int round = 0; round < 5; ++round) {
        QVERIFY(killWhileAtWork(QStringLiteral("veritam-record-loop"), folder.path()));

        OpenedStore s(folder.path());
        QCOMPARE(s.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                 QStringLiteral("ok"));
        // Each change stores the next number: the stored number is the count of its rows.
        const int stored = s.scalar(QStringLiteral("SELECT hash_vymera FROM parcely")).toInt();
        const int rows = s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt();
        QCOMPARE(rows, stored);
        QVERIFY(stored > previous);
        previous = stored;
        QSet<QString> named;
        auto names = s.dm.OpenStatement(QStringLiteral("SELECT filename FROM zmeny_parcel"));
        for (names->first(); !names->eof(); names->next()) {
            named.insert(QFileInfo(names->text(QStringLiteral("filename"))).fileName());
            QVERIFY(QFileInfo::exists(folder.path() + names->text(QStringLiteral("filename"))));
        }
        // Only a kill between a snapshot taking its name and the commit leaves one unnamed.
        const QStringList files =
            QDir(folder.path() + QStringLiteral("historie/parcely/parcela-id-1"))
                .entryList(QDir::Files);
        int unnamed = 0;
        for (const QString& file : files)
            unnamed += named.contains(file) ? 0 : 1;
        QVERIFY2(unnamed <= round + 1, qPrintable(files.join(u' ')));
    }
}

void TestChangeRecorder::nameWithLineBreakGivesOneLogLine() {
    Recorder r;
    r.dm.ADOConnection.exec(QStringLiteral(
        "UPDATE parcely SET nazev = 'Zahrada' || char(13, 10) || 'Změna u parcely ID 99.' "
        "|| char(8232) || 'x' WHERE ID = 1"));
    QVERIFY(r.check(RecordKind::Parcel, sections()));
    const QStringList lines = r.logLines();
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].contains(QStringLiteral("parcely Zahrada  Změna u parcely ID 99. x, cesta")),
             qPrintable(lines[0]));
}

void TestChangeRecorder::historyLogLines() {
    TempDataFolder folder;
    HistoryLog::AppendHistoryLog(folder.path(), QStringLiteral("první"));
    QFile log(HistoryLog::path(folder.path()));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("prvn\xED\r\n"));
    log.close();
    QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Truncate));
    log.write("bez konce");
    log.close();
    HistoryLog::AppendHistoryLog(folder.path(), QStringLiteral("další"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("bez konce\r\ndal\x9A\xED\r\n"));
}

QTEST_GUILESS_MAIN(TestChangeRecorder)
#include "tst_ChangeRecorder.moc"
