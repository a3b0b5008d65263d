// Comparing an object with its last check and recording a change, against a real database
// and a real data folder.
#include "TestSupport.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/Fingerprint.h"
#include "analysis/HistoryLog.h"
#include "analysis/SectionExtractor.h"
#include "platform/CodePage1250.h"

#include <QDir>
#include <QtTest>

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

struct Recorder : StoreFixture {
    Recorder() {
        exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, druh_cislovani, cislo_1, nazev) "
                            "VALUES (1, 602582, 2, 7, 'Zahrada')"));
        exec(QStringLiteral(
            "INSERT INTO jednotky (user_id, obec, cast_obce, typ_stavby, cislo_stavby, "
            "cislo_jednotky, nazev) VALUES (1, 554782, 1520, 1, 12, 3, 'Byt')"));
    }
    /// The check of record 1 of the kind's table with these sections.
    bool check(RecordKind kind, TParseKatastr s) {
        auto row = dm.OpenStatement(QStringLiteral("SELECT * FROM ") + kindTable(kind).recordTable +
                                    QStringLiteral(" WHERE ID = 1"));
        return CompareAndRecord(dm, kind, *row, s, kPage);
    }
    QVariant parcel(const char* column) {
        return scalar(
            QStringLiteral("SELECT %1 FROM parcely WHERE ID = 1").arg(QString::fromLatin1(column)));
    }
    int changeRows() { return scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(); }
    QStringList snapshots() {
        return QDir(folder.path() + QStringLiteral("historie/parcely/parcela-id-1"))
            .entryList(QDir::Files);
    }
    QStringList logLines() {
        QFile log(HistoryLog::path(folder.path()));
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
    void noDifferenceClearsTheFlagsAndWritesNothing();
    void differenceInOneSectionOnly();
    void unitNeverComparesTheArea();
    void twoChangesInOneSecondShareTheFile();
    void unwritableSnapshotFolderStopsBeforeAnything();
    void unwritableLogLeavesTheSnapshotOnly();
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
    QFile snapshot(r.folder.path() + relative);
    QVERIFY(snapshot.open(QIODevice::ReadOnly));
    const QByteArray content = snapshot.readAll();
    QVERIFY(content.startsWith(
        "<!DOCTYPE html><html><head><link href=\"../../../cascade1.css\" rel=\"stylesheet\"/>"));
    QVERIFY(content.endsWith(kPage.toUtf8())); // every letter of the page kept, in UTF-8
    QCOMPARE(r.logLines(),
             QStringList{QStringLiteral("Změna u parcely ID 1. Vlastní označení parcely Zahrada, "
                                        "cesta k souboru je: ") +
                         r.folder.path() + relative});
}

void TestChangeRecorder::noDifferenceClearsTheFlagsAndWritesNothing() {
    Recorder r;
    QVERIFY(r.check(RecordKind::Parcel, sections()));
    r.exec(QStringLiteral("UPDATE parcely SET posledni_kontrola = NULL"));
    QVERIFY(!r.check(RecordKind::Parcel, sections()));
    for (const char* flag :
         {"zmena_vymera", "zmena_vlastnici", "zmena_ochrana", "zmena_omezeni", "zmena_jine"})
        QVERIFY2(!r.parcel(flag).toBool(), flag);
    QCOMPARE(r.snapshots().size(), 1);
    QCOMPARE(r.changeRows(), 1);
    QCOMPARE(r.logLines().size(), 1);
    QVERIFY(!r.parcel("posledni_kontrola").isNull());
}

void TestChangeRecorder::differenceInOneSectionOnly() {
    Recorder r;
    QVERIFY(r.check(RecordKind::Parcel, sections()));
    QTest::qWait(1100); // a new second, a new file
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

void TestChangeRecorder::twoChangesInOneSecondShareTheFile() {
    Recorder r;
    // Two checks whose changes fall into the same second.
    for (int attempt = 0; attempt < 5; ++attempt) {
        r.exec(QStringLiteral("DELETE FROM zmeny_parcel"));
        const QDateTime start = QDateTime::currentDateTime();
        r.check(RecordKind::Parcel, sections("1"));
        r.check(RecordKind::Parcel, sections("2"));
        if (QDateTime::currentDateTime().toSecsSinceEpoch() == start.toSecsSinceEpoch())
            break;
    }
    auto rows = r.dm.OpenStatement(QStringLiteral("SELECT filename FROM zmeny_parcel"));
    QCOMPARE(rows->recordCount(), 2);
    QCOMPARE(rows->rowValue(0, 0), rows->rowValue(1, 0));
    QFile file(r.folder.path() + rows->text(QStringLiteral("filename")));
    QVERIFY(file.open(QIODevice::ReadOnly)); // the second replaced the first
}

void TestChangeRecorder::unwritableSnapshotFolderStopsBeforeAnything() {
    Recorder r;
    QDir().mkpath(r.folder.path() + QStringLiteral("historie/parcely"));
    QFile blocker(r.folder.path() + QStringLiteral("historie/parcely/parcela-id-1"));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    QVERIFY_THROWS_EXCEPTION(AnalysisError, r.check(RecordKind::Parcel, sections()));
    QVERIFY(r.parcel("hash_vlastnici").isNull());
    QCOMPARE(r.changeRows(), 0);
    QVERIFY(r.logLines().isEmpty());
    QVERIFY(r.parcel("posledni_kontrola").isNull());
}

void TestChangeRecorder::unwritableLogLeavesTheSnapshotOnly() {
    Recorder r;
    QDir().mkpath(HistoryLog::path(r.folder.path())); // a folder where the log should be
    QVERIFY_THROWS_EXCEPTION(AnalysisError, r.check(RecordKind::Parcel, sections()));
    QCOMPARE(r.snapshots().size(), 1); // written before, not undone
    QVERIFY(r.parcel("hash_vlastnici").isNull());
    QVERIFY(!r.parcel("zmena_vlastnici").toBool());
    QCOMPARE(r.changeRows(), 0);
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
