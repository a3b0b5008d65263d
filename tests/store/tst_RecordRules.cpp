// The rules on the record queries' events: their effects on records, queries, files and
// the editor's controls.
#include "TestSupport.h"

#include "store/DatabaseError.h"

#include <QDir>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;
using SearchBox = RecordEditorPort::SearchBox;

namespace {

const qlonglong kBenice = 602582;
const qlonglong kPraha = 554782;
const qlonglong kBechovice = 1520;

void addParcels(StoreFixture& s, int count) {
    for (int n = 1; n <= count; ++n)
        s.exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, druh_cislovani, "
                              "cislo_1, nazev) VALUES (1, 602582, 'PKN', 2, %1, 'p%1')")
                   .arg(n));
    s.refresh(s.dm.Parcely_Query);
}

QString makeSnapshotFolder(const StoreFixture& s, int id) {
    const QString folder =
        s.folder.path() + QStringLiteral("historie/parcely/parcela-id-%1").arg(id);
    QDir().mkpath(folder);
    writeFile(folder + QStringLiteral("/2015.03.07,14.05.09.html"), "<html></html>");
    return folder;
}

} // namespace

class TestRecordRules : public QObject {
    Q_OBJECT
private slots:
    void insertFillsDefaults_data();
    void insertFillsDefaults();
    void savingParcelCopiesTerritoryAndRefusesMissingNumber();
    void saveWithoutAPlaceIsRefused_data();
    void saveWithoutAPlaceIsRefused();
    void unitWithBothNumbersMissingShowsOnlyTheFirstMessage();
    void savingBuildingCopiesMunicipalityAndPart();
    void editPutsLookupsOnTheRecord();
    void cancelClearsFlagAndSearchBox();
    void historyFollowsCurrentRow();
    void deleteRemovesChangeRowsAndSnapshotFolder();
    void deleteWithoutSnapshotFolderSucceedsSilently();
    void failedRecordDeletionKeepsChangeRows();
    void failedChangeRowDeletionRefusesSilently();
    void newUserRowIsNotForLogin();
};

void TestRecordRules::insertFillsDefaults_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("parcel") << 0;
    QTest::newRow("building") << 1;
    QTest::newRow("unit") << 2;
}

void TestRecordRules::insertFillsDefaults() {
    QFETCH(int, kind);
    StoreFixture s;
    Dataset& q = s.dm.recordQuery(static_cast<RecordKind>(kind));
    q.insert();
    QCOMPARE(q.value(QStringLiteral("user_id")).toInt(), 1);
    QCOMPARE(q.yesNo(QStringLiteral("kontrolovat")), true);
    const bool flags[] = {s.dm.Rules.NewParcelInserted, s.dm.Rules.NewBuildingInserted,
                          s.dm.Rules.NewUnitInserted};
    for (int k = 0; k < 3; ++k)
        QCOMPARE(flags[k], k == kind);
    if (kind == 0) {
        QCOMPARE(q.text(QStringLiteral("typ_parcely")), QStringLiteral("PKN"));
        QCOMPARE(q.integer(QStringLiteral("puvod_parcely")), 4);
        QCOMPARE(q.integer(QStringLiteral("druh_cislovani")), 2);
        QVERIFY(!s.editor.originGroupEnabled);
    } else {
        QCOMPARE(q.integer(QStringLiteral("typ_stavby")), 1);
    }
    // A row in insert state has no changes yet.
    Dataset& history = s.dm.historyQuery(static_cast<RecordKind>(kind));
    QCOMPARE(history.param(QStringLiteral("par_id")).toInt(), 0);
    QVERIFY(history.isOpen());
    QCOMPARE(history.recordCount(), 0);
}

void TestRecordRules::savingParcelCopiesTerritoryAndRefusesMissingNumber() {
    StoreFixture s;
    QVERIFY(s.dm.KatastralniUzemi_Query.locate(QStringLiteral("ku_kod"), kBenice));
    Dataset& q = s.dm.Parcely_Query;
    q.insert();
    q.setValue(QStringLiteral("nazev"), QStringLiteral("zahrada"));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q.post());
    QCOMPARE(s.messages.messages, QStringList{QStringLiteral("Chybí vyplnit číslo parcely.")});
    QCOMPARE(s.editor.statusText, QStringLiteral("Ukládám záznam"));
    QCOMPARE(q.state(), Dataset::State::Insert);
    QCOMPARE(q.value(QStringLiteral("uzemi")).toLongLong(), kBenice);
    QCOMPARE(q.text(QStringLiteral("nazev")), QStringLiteral("zahrada"));

    q.setValue(QStringLiteral("cislo_1"), 15);
    q.post();
    QCOMPARE(s.editor.statusText, QString());
    QVERIFY(s.editor.cleared.contains(static_cast<int>(SearchBox::KU_Hledat_1_Edit)));
    QCOMPARE(s.scalar(QStringLiteral("SELECT uzemi FROM parcely WHERE cislo_1 = 15")).toLongLong(),
             kBenice);
    // The editor, not the rules, handles the flag after its save.
    QVERIFY(s.dm.Rules.NewParcelInserted);
}

void TestRecordRules::saveWithoutAPlaceIsRefused_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("lookup");
    QTest::addColumn<QString>("message");
    QTest::newRow("parcel, no territory matches")
        << int(RecordKind::Parcel) << "KatastralniUzemi_Query"
        << "Vyberte katastrální území.";
    QTest::newRow("building, no municipality matches") << int(RecordKind::Building) << "Obce_Query"
                                                       << "Vyberte obec.";
    QTest::newRow("unit, no municipality matches") << int(RecordKind::Unit) << "Obce_Query"
                                                   << "Vyberte obec.";
}

void TestRecordRules::saveWithoutAPlaceIsRefused() {
    QFETCH(int, kind);
    QFETCH(QString, lookup);
    QFETCH(QString, message);
    StoreFixture s;
    Dataset& list =
        lookup == QLatin1String("Obce_Query") ? s.dm.Obce_Query : s.dm.KatastralniUzemi_Query;
    list.setParam(QStringLiteral("par_nazev"), QStringLiteral("%qqq%"));
    s.refresh(list);
    Dataset& q = s.dm.recordQuery(static_cast<RecordKind>(kind));
    q.insert();
    for (const char* number : {"cislo_1", "cislo_stavby", "cislo_jednotky"})
        if (q.hasField(QString::fromLatin1(number)))
            q.setValue(QString::fromLatin1(number), 3);
    // Stored with an empty code, the record would show in no list and fail every check.
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q.post());
    QCOMPARE(s.messages.messages, QStringList{message});
    QVERIFY(q.isEditing());
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM ") +
                      kindTable(static_cast<RecordKind>(kind)).recordTable)
                 .toInt(),
             0);
}

void TestRecordRules::unitWithBothNumbersMissingShowsOnlyTheFirstMessage() {
    StoreFixture s;
    Dataset& q = s.dm.Jednotky_Query;
    q.insert();
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q.post());
    QCOMPARE(s.messages.messages, QStringList{QStringLiteral("Chybí vyplnit číslo stavby.")});
    q.setValue(QStringLiteral("cislo_stavby"), 12);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q.post());
    QCOMPARE(s.messages.messages.last(), QStringLiteral("Chybí vyplnit číslo jednotky."));
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM jednotky")).toInt(), 0);
}

void TestRecordRules::savingBuildingCopiesMunicipalityAndPart() {
    StoreFixture s;
    QVERIFY(s.dm.Obce_Query.locate(QStringLiteral("obec_kod"), kPraha));
    QVERIFY(s.dm.CastiObce_Query.locate(QStringLiteral("kod"), kBechovice));
    Dataset& q = s.dm.Stavby_Query;
    q.insert();
    q.setValue(QStringLiteral("cislo_stavby"), 44);
    q.post();
    QVERIFY(s.editor.cleared.contains(static_cast<int>(SearchBox::Obec_Hledat_1_Edit)));
    auto row = s.dm.OpenStatement(QStringLiteral("SELECT * FROM stavby"));
    QCOMPARE(row->value(QStringLiteral("obec")).toLongLong(), kPraha);
    QCOMPARE(row->value(QStringLiteral("cast_obce")).toLongLong(), kBechovice);
    s.refresh(q);
    QCOMPARE(q.recordCount(), 1);
}

void TestRecordRules::editPutsLookupsOnTheRecord() {
    StoreFixture s;
    s.exec(QStringLiteral("INSERT INTO stavby (user_id, obec, cast_obce, typ_stavby, cislo_stavby) "
                          "VALUES (1, 554782, 1520, 1, 1)"));
    s.refresh(s.dm.Stavby_Query);
    s.dm.Stavby_Query.edit();
    QCOMPARE(s.dm.Obce_Query.value(QStringLiteral("obec_kod")).toLongLong(), kPraha);
    QCOMPARE(s.dm.CastiObce_Query.value(QStringLiteral("kod")).toLongLong(), kBechovice);
    s.dm.Stavby_Query.cancel();

    // The territory lookup moves to the parcel's territory, wherever it stood.
    addParcels(s, 1);
    s.exec(QStringLiteral("UPDATE parcely SET uzemi = 602582"));
    QVERIFY(s.dm.KatastralniUzemi_Query.locate(QStringLiteral("ku_kod"), 730556));
    s.dm.Parcely_Query.edit();
    QCOMPARE(s.dm.KatastralniUzemi_Query.value(QStringLiteral("ku_kod")).toLongLong(), kBenice);
}

void TestRecordRules::cancelClearsFlagAndSearchBox() {
    StoreFixture s;
    s.dm.Jednotky_Query.insert();
    QVERIFY(s.dm.Rules.NewUnitInserted);
    s.dm.Jednotky_Query.cancel();
    QVERIFY(!s.dm.Rules.NewUnitInserted);
    QCOMPARE(s.editor.cleared.last(), static_cast<int>(SearchBox::Obec_Hledat_2_Edit));
    QCOMPARE(s.dm.Jednotky_Query.recordCount(), 0);
}

void TestRecordRules::historyFollowsCurrentRow() {
    StoreFixture s;
    addParcels(s, 2);
    for (const char* values : {"1, '2015-01-01 10:00:00', 'a'", "1, '2016-01-01 10:00:00', 'b'",
                               "2, '2015-06-01 10:00:00', 'c'"})
        s.exec(QStringLiteral("INSERT INTO zmeny_parcel (id_parcely, datum, filename) VALUES (") +
               QString::fromLatin1(values) + u')');
    Dataset& q = s.dm.Parcely_Query;
    Dataset& history = s.dm.ZmenyParcel_Query;
    s.refresh(q);
    QCOMPARE(history.recordCount(), 2);
    QCOMPARE(history.text(QStringLiteral("filename")), QStringLiteral("b")); // newest first
    q.setCurrentRow(1);
    QCOMPARE(history.recordCount(), 1);
    QCOMPARE(history.text(QStringLiteral("filename")), QStringLiteral("c"));

    s.exec(QStringLiteral("UPDATE parcely SET typ_parcely = 'PZE' WHERE ID = 2"));
    s.refresh(q);
    q.setCurrentRow(1);
    QVERIFY(s.editor.originGroupEnabled);
}

void TestRecordRules::deleteRemovesChangeRowsAndSnapshotFolder() {
    StoreFixture s;
    addParcels(s, 7);
    for (int id : {7, 7, 3})
        s.dm.InsertChange(QStringLiteral("zmeny_parcel"), QStringLiteral("id_parcely"),
                          QString::number(id), QDateTime::currentDateTime(), QStringLiteral("f"));
    const QString folder7 = makeSnapshotFolder(s, 7);
    const QString folder3 = makeSnapshotFolder(s, 3);
    Dataset& q = s.dm.Parcely_Query;
    QVERIFY(q.locate(QStringLiteral("ID"), 7));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, q.deleteRecord());
    QVERIFY(s.messages.messages.isEmpty());
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely WHERE ID = 7")).toInt(), 0);
    QCOMPARE(
        s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel WHERE id_parcely = 7")).toInt(),
        0);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 1);
    QVERIFY(!QFileInfo::exists(folder7));
    QVERIFY(QFileInfo::exists(folder3));
    QCOMPARE(q.recordCount(), 6);
    QCOMPARE(q.currentRow(), 0);
}

void TestRecordRules::deleteWithoutSnapshotFolderSucceedsSilently() {
    StoreFixture s;
    s.exec(
        QStringLiteral("INSERT INTO jednotky (user_id, obec, cast_obce, typ_stavby, cislo_stavby, "
                       "cislo_jednotky) VALUES (1, 554782, 1520, 1, 1, 1)"));
    s.refresh(s.dm.Jednotky_Query);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, s.dm.Jednotky_Query.deleteRecord());
    QVERIFY(s.messages.messages.isEmpty());
    QCOMPARE(s.dm.Jednotky_Query.recordCount(), 0);
}

void TestRecordRules::failedRecordDeletionKeepsChangeRows() {
    StoreFixture s;
    addParcels(s, 1);
    s.dm.InsertChange(QStringLiteral("zmeny_parcel"), QStringLiteral("id_parcely"),
                      QStringLiteral("1"), QDateTime::currentDateTime(), QStringLiteral("f"));
    const QString folder = makeSnapshotFolder(s, 1);
    s.dm.ADOConnection.exec(QStringLiteral(
        "CREATE TRIGGER keep BEFORE DELETE ON parcely BEGIN SELECT RAISE(ABORT, 'locked'); END"));
    try {
        s.dm.Parcely_Query.deleteRecord();
        QFAIL("the deletion went through");
    } catch (const DatabaseError& e) {
        QCOMPARE(e.message(), QStringLiteral("locked"));
    }
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt(), 1);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely")).toInt(), 1);
    QVERIFY(QFileInfo::exists(folder));
}

void TestRecordRules::failedChangeRowDeletionRefusesSilently() {
    StoreFixture s;
    addParcels(s, 1);
    s.dm.ADOConnection.exec(QStringLiteral(
        "CREATE TRIGGER keep BEFORE DELETE ON zmeny_parcel BEGIN SELECT RAISE(ABORT, 'no'); END"));
    s.dm.InsertChange(QStringLiteral("zmeny_parcel"), QStringLiteral("id_parcely"),
                      QStringLiteral("1"), QDateTime::currentDateTime(), QStringLiteral("f"));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, s.dm.Parcely_Query.deleteRecord());
    QVERIFY(s.messages.messages.isEmpty());
    QVERIFY(s.messages.errors.isEmpty());
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely")).toInt(), 1);
    QCOMPARE(s.dm.Parcely_Query.recordCount(), 1);
}

void TestRecordRules::newUserRowIsNotForLogin() {
    StoreFixture s;
    s.dm.User_Query.insert();
    QCOMPARE(s.dm.User_Query.value(QStringLiteral("prihlasovat")), QVariant(false));
}

QTEST_MAIN(TestRecordRules)
#include "tst_RecordRules.moc"
