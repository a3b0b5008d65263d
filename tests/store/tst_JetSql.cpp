#include "store/DatabaseError.h"
#include "store/JetSql.h"

#include <QtTest>

using namespace veritam;

class TestJetSql : public QObject {
    Q_OBJECT
private slots:
    void translates_data();
    void translates();
    void rejectsMalformed_data();
    void rejectsMalformed();
};

void TestJetSql::translates_data() {
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");
    auto row = [](const char* name, const char* jet, const char* sqlite) {
        QTest::newRow(name) << QString::fromUtf8(jet) << QString::fromUtf8(sqlite);
    };
    row("date with full stops", "VALUES (7, #2015-03-07 14.05.09#, 'a')",
        "VALUES (7, '2015-03-07 14:05:09', 'a')");
    row("date with colons", "WHERE datum > #2015-3-7 4:05:09#",
        "WHERE datum > '2015-03-07 04:05:09'");
    row("date alone", "WHERE datum > #0999-12-31#", "WHERE datum > '0999-12-31 00:00:00'");
    row("plus after text", "'st. '+CStr(cislo_1)", "'st. '||CStr(cislo_1)");
    row("plus between calls", "CStr(cislo_1)+'/'+CStr(cislo_2)",
        "CStr(cislo_1)||'/'||CStr(cislo_2)");
    row("plus before CStr", "x + CStr(y)", "x || CStr(y)");
    row("plus between numbers stays", "SELECT cislo_1 + 1 FROM t", "SELECT cislo_1 + 1 FROM t");
    row("plus after nested call", "CStr(abs(x)) + 1", "CStr(abs(x)) || 1");
    row("ampersand", "a & b", "a || b");
    row("isnull call", "iif(isnull(cislo_2), 1, 2)", "iif(jet_isnull(cislo_2), 1, 2)");
    row("isnull as a word stays", "SELECT a isnull FROM t", "SELECT a isnull FROM t");
    row("literal not looked into", "WHERE nazev = 'a + #b# isnull(c) ''d'''",
        "WHERE nazev = 'a + #b# isnull(c) ''d'''");
    row("backquotes and true kept",
        "UPDATE `parcely` SET `kontrolovat` = 1 WHERE id = 3 and x = true",
        "UPDATE `parcely` SET `kontrolovat` = 1 WHERE id = 3 and x = true");
    row("parameters kept", "WHERE ku_nazev LIKE :par_nazev", "WHERE ku_nazev LIKE :par_nazev");
    row("lines kept", "SELECT *,\r\n\r\nx\r\nORDER BY nazev\r\n",
        "SELECT *,\r\n\r\nx\r\nORDER BY nazev COLLATE czech\r\n");
    // Jet sorts texts by the language's rules.
    row("each sort term in Czech", "ORDER BY datum DESC, ID  ASC",
        "ORDER BY datum COLLATE czech DESC, ID COLLATE czech  ASC");
    row("a call as a sort term", "ORDER BY lower(a, 1), b LIMIT 5",
        "ORDER BY lower(a, 1) COLLATE czech, b COLLATE czech LIMIT 5");
    row("a subquery's order", "SELECT * FROM (SELECT x FROM t ORDER BY y) AS s WHERE z",
        "SELECT * FROM (SELECT x FROM t ORDER BY y COLLATE czech) AS s WHERE z");
    row("order in a literal untouched", "WHERE a = 'ORDER BY b'", "WHERE a = 'ORDER BY b'");
}

void TestJetSql::translates() {
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(JetSql::toSqlite(jet), sqlite);
}

void TestJetSql::rejectsMalformed_data() {
    QTest::addColumn<QString>("jet");
    QTest::newRow("unterminated literal") << QStringLiteral("WHERE nazev = 'abc");
    QTest::newRow("unterminated date") << QStringLiteral("WHERE datum = #2015-03-07");
    QTest::newRow("date of words") << QStringLiteral("WHERE datum = #yesterday#");
    QTest::newRow("unterminated name") << QStringLiteral("SELECT `nazev FROM t");
}

void TestJetSql::rejectsMalformed() {
    QFETCH(QString, jet);
    QVERIFY_THROWS_EXCEPTION(SqlError, JetSql::toSqlite(jet));
}

QTEST_APPLESS_MAIN(TestJetSql)
#include "tst_JetSql.moc"
