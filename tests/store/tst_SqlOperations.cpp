// The shared SQL operations of the data module against a real database.
#include "TestSupport.h"

#include "store/DatabaseError.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"

#include <QtTest>

using namespace veritam;
using namespace veritam::test;

class TestSqlOperations : public QObject {
    Q_OBJECT
private slots:
    void dateToSql_data();
    void dateToSql();
    void maxIdOfEmptyAndFilledTable();
    void updateFieldWithUnquotedTextFailsAndWritesNothing();
    void insertChangeStoresQuotedNameUnchanged();
    void refreshGoesToFirstRow();
    void refreshReportsFailureInThreeLinesAndRetries();
    void secondInstanceWritesWhileFirstIsOpen();
    void missingDatabaseFileIsNotCreatedByOpening();
    void hostileTextRoundTrips();
    void lockedDatabaseFailsTheSaveAndKeepsTheEdit();
};

void TestSqlOperations::dateToSql_data() {
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("literal");
    QTest::newRow("plain") << QDateTime(QDate(2015, 3, 7), QTime(14, 5, 9))
                           << "#2015-03-07 14.05.09#";
    QTest::newRow("milliseconds dropped, day kept")
        << QDateTime(QDate(2015, 12, 31), QTime(23, 59, 59, 999)) << "#2015-12-31 23.59.59#";
    QTest::newRow("year below 1000")
        << QDateTime(QDate(999, 1, 2), QTime(3, 4, 5)) << "#0999-01-02 03.04.05#";
    QTest::newRow("midnight") << QDateTime(QDate(2026, 1, 1), QTime(0, 0))
                              << "#2026-01-01 00.00.00#";
}

void TestSqlOperations::dateToSql() {
    QFETCH(QDateTime, time);
    QFETCH(QString, literal);
    QCOMPARE(TDM1::DateToSql(time), literal);
}

void TestSqlOperations::maxIdOfEmptyAndFilledTable() {
    StoreFixture s(false);
    QCOMPARE(s.dm.GetMaxId(QStringLiteral("parcely"), QStringLiteral("ID")), QString());
    for (int i = 0; i < 3; ++i)
        s.exec(QStringLiteral("INSERT INTO parcely (user_id, cislo_1) VALUES (1, 1)"));
    s.exec(QStringLiteral("DELETE FROM parcely WHERE ID = 3"));
    s.exec(QStringLiteral("INSERT INTO parcely (user_id, cislo_1) VALUES (1, 1)"));
    // Auto-numbers only grow: a deleted number is never given again.
    QCOMPARE(s.dm.GetMaxId(QStringLiteral("parcely"), QStringLiteral("ID")), QStringLiteral("4"));
}

void TestSqlOperations::updateFieldWithUnquotedTextFailsAndWritesNothing() {
    StoreFixture s(false);
    s.exec(
        QStringLiteral("INSERT INTO parcely (user_id, cislo_1, hash_vymera) VALUES (1, 1, 'old')"));
    QVERIFY_THROWS_EXCEPTION(SqlError, s.dm.UpdateField(1, QStringLiteral("parcely"),
                                                        QStringLiteral("hash_vymera"),
                                                        QStringLiteral("12 m2 O'Brien")));
    QVERIFY_THROWS_EXCEPTION(SqlError, s.dm.UpdateField(1, QStringLiteral("parcely"),
                                                        QStringLiteral("no_such_column"),
                                                        QStringLiteral("1")));
    QCOMPARE(s.scalar(QStringLiteral("SELECT hash_vymera FROM parcely")).toString(),
             QStringLiteral("old"));
    s.dm.UpdateField(1, QStringLiteral("parcely"), QStringLiteral("hash_vymera"),
                     TDM1::QuotedLiteral(QStringLiteral("12 m2 O'Brien")));
    QCOMPARE(s.scalar(QStringLiteral("SELECT hash_vymera FROM parcely")).toString(),
             QStringLiteral("12 m2 O'Brien"));
}

void TestSqlOperations::insertChangeStoresQuotedNameUnchanged() {
    StoreFixture s(false);
    const QString name = QStringLiteral("historie/parcely/parcela-id-7/O'Neil's.html");
    const QDateTime when(QDate(2015, 3, 7), QTime(14, 5, 9, 500));
    s.dm.InsertChange(QStringLiteral("zmeny_parcel"), QStringLiteral("id_parcely"),
                      QStringLiteral("7"), when, name);
    auto q = s.dm.OpenStatement(QStringLiteral("SELECT * FROM zmeny_parcel"));
    QCOMPARE(q->recordCount(), 1);
    QCOMPARE(q->text(QStringLiteral("filename")), name);
    QCOMPARE(q->integer(QStringLiteral("id_parcely")), 7);
    QCOMPARE(q->value(QStringLiteral("datum")).toDateTime(),
             QDateTime(QDate(2015, 3, 7), QTime(14, 5, 9)));
}

void TestSqlOperations::refreshGoesToFirstRow() {
    StoreFixture s;
    for (int n = 1; n <= 3; ++n)
        s.exec(
            QStringLiteral("INSERT INTO parcely (user_id, uzemi, druh_cislovani, cislo_1, nazev) "
                           "VALUES (1, 602582, 2, %1, 'p%1')")
                .arg(n));
    s.refresh(s.dm.Parcely_Query);
    s.dm.Parcely_Query.setCurrentRow(2);
    s.refresh(s.dm.Parcely_Query);
    QCOMPARE(s.dm.Parcely_Query.currentRow(), 0);
    QCOMPARE(s.dm.Parcely_Query.text(QStringLiteral("nazev")), QStringLiteral("p1"));
}

void TestSqlOperations::refreshReportsFailureInThreeLinesAndRetries() {
    StoreFixture s(false);
    s.exec(QStringLiteral("ALTER TABLE zmeny_parcel RENAME TO stranou"));
    Dataset& q = s.dm.ZmenyParcel_Query;
    s.dm.Obnovit_Query(q);
    QCOMPARE(s.messages.messages.size(), 1);
    QCOMPARE(s.messages.messages[0],
             QStringLiteral("Došlo k chybě. \r\nException class name = SqlError\r\n"
                            "Exception message = no such table: zmeny_parcel"));
    QVERIFY(!q.isOpen());

    s.exec(QStringLiteral("ALTER TABLE stranou RENAME TO zmeny_parcel"));
    s.dm.Obnovit_Query(q);
    QCOMPARE(s.messages.messages.size(), 1);
    QVERIFY(q.isOpen());
}

void TestSqlOperations::secondInstanceWritesWhileFirstIsOpen() {
    StoreFixture s(false);
    SqliteConnection second;
    second.open(s.folder.path() + Schema::databaseFileName());
    second.exec(QStringLiteral("INSERT INTO zmeny_staveb (id_stavby, filename) VALUES (3, 'b')"));
    s.dm.ZmenyStaveb_Query.setParam(QStringLiteral("par_id"), 3);
    s.refresh(s.dm.ZmenyStaveb_Query);
    QCOMPARE(s.dm.ZmenyStaveb_Query.recordCount(), 1);
    s.exec(QStringLiteral("INSERT INTO zmeny_staveb (id_stavby, filename) VALUES (3, 'c')"));
    SqliteStatement count(second, QStringLiteral("SELECT COUNT(*) FROM zmeny_staveb"));
    QVERIFY(count.step());
    QCOMPARE(count.value(0).toInt(), 2);
}

void TestSqlOperations::missingDatabaseFileIsNotCreatedByOpening() {
    TempDataFolder folder;
    RecordingMessages messages;
    RecordingEditor editor;
    TDM1 dm(messages, editor);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, dm.DataModuleCreate(folder.path()));
    QVERIFY(!QFileInfo::exists(folder.path() + Schema::databaseFileName()));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, dm.DataModuleCreate(QString()));
}

void TestSqlOperations::hostileTextRoundTrips() {
    StoreFixture s;
    const QString hostile =
        QStringLiteral("O'Brien\"; DROP TABLE parcely; -- #2015-01-01# + 'x' &");
    Dataset& q = s.dm.Parcely_Query;
    QVERIFY(s.dm.KatastralniUzemi_Query.locate(QStringLiteral("ku_kod"), 602582));
    q.insert();
    q.setValue(QStringLiteral("cislo_1"), 1);
    q.setValue(QStringLiteral("nazev"), hostile);
    q.post();
    const int id = s.dm.GetMaxId(QStringLiteral("parcely"), QStringLiteral("ID")).toInt();
    s.dm.UpdateField(id, QStringLiteral("parcely"), QStringLiteral("hash_vymera"),
                     TDM1::QuotedLiteral(hostile));
    s.refresh(q);
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.text(QStringLiteral("nazev")), hostile);
    QCOMPARE(q.text(QStringLiteral("hash_vymera")), hostile);
    s.dm.KatastralniUzemi_Query.setParam(QStringLiteral("par_nazev"), hostile);
    s.refresh(s.dm.KatastralniUzemi_Query);
    QCOMPARE(s.dm.KatastralniUzemi_Query.recordCount(), 0);
}

void TestSqlOperations::lockedDatabaseFailsTheSaveAndKeepsTheEdit() {
    // Another instance holds the write lock longer than the busy timeout.
    StoreFixture s;
    s.dm.ADOConnection.setBusyTimeout(std::chrono::milliseconds(100));
    SqliteConnection other;
    other.open(s.folder.path() + Schema::databaseFileName());
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    Dataset& q = s.dm.Stavby_Query;
    q.insert();
    q.setValue(QStringLiteral("cislo_stavby"), 8);
    q.setValue(QStringLiteral("nazev"), QStringLiteral("chata"));
    try {
        q.post();
        QFAIL("saved into a locked database");
    } catch (const SqlError& e) {
        QCOMPARE(e.message(), QStringLiteral("database is locked"));
    }
    QCOMPARE(q.state(), Dataset::State::Insert);
    QCOMPARE(q.text(QStringLiteral("nazev")), QStringLiteral("chata"));
    other.exec(QStringLiteral("ROLLBACK"));
    q.post();
    QCOMPARE(s.scalar(QStringLiteral("SELECT nazev FROM stavby")).toString(),
             QStringLiteral("chata"));
}

QTEST_MAIN(TestSqlOperations)
#include "tst_SqlOperations.moc"
