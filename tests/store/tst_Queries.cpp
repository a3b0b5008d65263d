// The named queries and every ad-hoc statement of the program, run through the dialect
// adapter against a real database holding the authority's code lists.
#include "TestSupport.h"

#include "store/DatabaseError.h"

#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

const QString kPrahaObec = QStringLiteral("554782");
const QString kPrahaPart = QStringLiteral("1520"); // Běchovice
const QString kBenice = QStringLiteral("602582");  // a territory of Praha

QString insertParcel(const QString& values) {
    return QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, druh_cislovani, "
                          "cislo_1, cislo_2, nazev, kontrolovat) VALUES (") +
           values + u')';
}

QString insertBuilding(const QString& table, const QString& values) {
    const bool unit = table == QLatin1String("jednotky");
    return QStringLiteral("INSERT INTO ") + table +
           QStringLiteral(" (user_id, obec, cast_obce, typ_stavby, cislo_stavby, nazev, "
                          "kontrolovat") +
           (unit ? QStringLiteral(", cislo_jednotky") : QString()) + QStringLiteral(") VALUES (") +
           values + (unit ? QStringLiteral(", 5") : QString()) + u')';
}

} // namespace

class TestQueries : public QObject {
    Q_OBJECT
private slots:
    void startUpOpensTheQueriesInOrder();
    void parcelDesignation_data();
    void parcelDesignation();
    void buildingTypeText();
    void oneRowPerBuildingInMunicipalityWithManyTerritories();
    void rowsWithoutCodeListMatchOrOtherUserAreNotListed();
    void lookupsIgnoreCzechLetterCase_data();
    void lookupsIgnoreCzechLetterCase();
    void partListMatchesNumberColumnByText();
    void sortLineReplacesOrder();
    void namesInCzechOrder();
    void yesNoAndDateTimeAsShown();
    void statementsOfTheChecksAndWindows_data();
    void statementsOfTheChecksAndWindows();
    void fieldMissingFailsOpening();
};

void TestQueries::startUpOpensTheQueriesInOrder() {
    StoreFixture s;
    QVERIFY(s.messages.messages.isEmpty());
    QCOMPARE(s.dm.KatastralniUzemi_Query.recordCount(), kFixtureTerritories);
    QCOMPARE(s.dm.Obce_Query.recordCount(), kFixtureMunicipalities);
    QCOMPARE(s.dm.User_Query.recordCount(), 1);
    QCOMPARE(s.dm.User_Query.text(QStringLiteral("login")), QStringLiteral("prihlasovaci_jmeno"));
    QVERIFY(s.dm.Parcely_Query.isOpen());
    // Empty record tables run no after-scroll, so their history queries stay closed until
    // the first refresh; the municipality list has rows and opens the part list.
    QVERIFY(!s.dm.ZmenyParcel_Query.isOpen());
    QVERIFY(!s.dm.ZmenyStaveb_Query.isOpen());
    QVERIFY(!s.dm.ZmenyJednotek_Query.isOpen());
    QVERIFY(s.dm.CastiObce_Query.isOpen());
    QCOMPARE(s.dm.CastiObce_Query.param(QStringLiteral("par_obec_kod")),
             s.dm.Obce_Query.value(QStringLiteral("obec_kod")));

    s.refresh(s.dm.ZmenyParcel_Query);
    QVERIFY(s.dm.ZmenyParcel_Query.isOpen());
    QCOMPARE(s.dm.ZmenyParcel_Query.recordCount(), 0);
    QCOMPARE(s.dm.ZmenyParcel_Query.param(QStringLiteral("par_id")).toString(),
             QStringLiteral("-1"));
}

void TestQueries::parcelDesignation_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("subdivision");
    QTest::addColumn<QString>("designation");
    QTest::newRow("building parcel") << "1"
                                     << "NULL"
                                     << "st. 12";
    QTest::newRow("building parcel with subdivision") << "1"
                                                      << "6"
                                                      << "st. 12/6";
    QTest::newRow("land parcel") << "2"
                                 << "NULL"
                                 << "12";
    QTest::newRow("land parcel with subdivision") << "2"
                                                  << "6"
                                                  << "12/6";
}

void TestQueries::parcelDesignation() {
    QFETCH(QString, kind);
    QFETCH(QString, subdivision);
    QFETCH(QString, designation);
    StoreFixture s;
    s.exec(insertParcel(
        QStringLiteral("1, %1, 'PKN', %2, 12, %3, 'x', 1").arg(kBenice, kind, subdivision)));
    s.refresh(s.dm.Parcely_Query);
    QCOMPARE(s.dm.Parcely_Query.recordCount(), 1);
    QCOMPARE(s.dm.Parcely_Query.text(QStringLiteral("cele_cislo")), designation);
    QCOMPARE(s.dm.Parcely_Query.text(QStringLiteral("ku_nazev")), QStringLiteral("Benice"));
}

void TestQueries::buildingTypeText() {
    StoreFixture s;
    for (const char* type : {"1", "2", "7"})
        s.exec(insertBuilding(QStringLiteral("stavby"),
                              QStringLiteral("1, %1, %2, %3, 10, 'typ %3', 1")
                                  .arg(kPrahaObec, kPrahaPart, QString::fromLatin1(type))));
    s.refresh(s.dm.Stavby_Query);
    QStringList texts;
    for (s.dm.Stavby_Query.first(); !s.dm.Stavby_Query.eof(); s.dm.Stavby_Query.next())
        texts << s.dm.Stavby_Query.text(QStringLiteral("typ_stavby_text"));
    QCOMPARE(texts, (QStringList{QStringLiteral("budova s číslem popisným"),
                                 QStringLiteral("budova s číslem evidenčním"),
                                 QStringLiteral("budova s číslem evidenčním")}));
}

void TestQueries::oneRowPerBuildingInMunicipalityWithManyTerritories() {
    StoreFixture s;
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM kat_uzemi_obce WHERE obec_kod = ") +
                      kPrahaObec)
                 .toInt(),
             4); // the fixture's territories of Praha
    for (const QString& table : {QStringLiteral("stavby"), QStringLiteral("jednotky")}) {
        s.exec(insertBuilding(
            table, QStringLiteral("1, %1, %2, 1, 101, 'A', 1").arg(kPrahaObec, kPrahaPart)));
        s.exec(insertBuilding(
            table, QStringLiteral("1, %1, %2, 2, 102, 'B', 1").arg(kPrahaObec, kPrahaPart)));
    }
    for (Dataset* q : {&s.dm.Stavby_Query, &s.dm.Jednotky_Query}) {
        s.refresh(*q);
        QCOMPARE(q->recordCount(), 2);
        QCOMPARE(q->text(QStringLiteral("obec_nazev")), QStringLiteral("Praha"));
        QCOMPARE(q->text(QStringLiteral("nazev_casti_obce")), QStringLiteral("Běchovice"));
    }
    QCOMPARE(s.dm.Jednotky_Query.integer(QStringLiteral("cislo_jednotky")), 5);
}

void TestQueries::rowsWithoutCodeListMatchOrOtherUserAreNotListed() {
    StoreFixture s;
    s.exec(insertParcel(QStringLiteral("1, 1, 'PKN', 2, 1, NULL, 'no territory', 1")));
    s.exec(insertParcel(QStringLiteral("2, %1, 'PKN', 2, 1, NULL, 'other user', 1").arg(kBenice)));
    s.exec(insertParcel(QStringLiteral("1, %1, 'PKN', 2, 1, NULL, 'listed', 1").arg(kBenice)));
    s.exec(insertBuilding(QStringLiteral("stavby"),
                          QStringLiteral("1, %1, 999999, 1, 1, 'no part', 1").arg(kPrahaObec)));
    s.exec(insertBuilding(QStringLiteral("stavby"),
                          QStringLiteral("1, 1, %1, 1, 1, 'no municipality', 1").arg(kPrahaPart)));
    s.refresh(s.dm.Parcely_Query);
    s.refresh(s.dm.Stavby_Query);
    QCOMPARE(s.dm.Parcely_Query.recordCount(), 1);
    QCOMPARE(s.dm.Parcely_Query.text(QStringLiteral("nazev")), QStringLiteral("listed"));
    QCOMPARE(s.dm.Stavby_Query.recordCount(), 0);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM stavby")).toInt(), 2);
}

void TestQueries::lookupsIgnoreCzechLetterCase_data() {
    QTest::addColumn<bool>("territories");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("firstName");
    QTest::newRow("ice") << true << "%ICE%" << 6 << "";
    QTest::newRow("ĚCH finds Běchovice") << true << "%ĚCH%" << 1 << "Běchovice";
    QTest::newRow("ústí finds Ústí") << true << "ústí nad labem" << 1 << "Ústí nad Labem";
    QTest::newRow("ústí within names") << true << "%ústí nad labem%" << 2 << "";
    QTest::newRow("upper case") << true << "ÚSTÍ NAD LABEM" << 1 << "Ústí nad Labem";
    QTest::newRow("everything") << true << "%" << kFixtureTerritories << "";
    QTest::newRow("nothing") << true << "%qqq%" << 0 << "";
    QTest::newRow("municipality once") << false << "%PRAHA%" << 1 << "Praha";
    QTest::newRow("quote in the text") << false << "%o'b%" << 0 << "";
}

void TestQueries::lookupsIgnoreCzechLetterCase() {
    QFETCH(bool, territories);
    QFETCH(QString, pattern);
    QFETCH(int, count);
    QFETCH(QString, firstName);
    StoreFixture s;
    Dataset& q = territories ? s.dm.KatastralniUzemi_Query : s.dm.Obce_Query;
    q.setParam(QStringLiteral("par_nazev"), pattern);
    s.refresh(q);
    QCOMPARE(q.recordCount(), count);
    if (!firstName.isEmpty())
        QCOMPARE(q.text(territories ? QStringLiteral("ku_nazev") : QStringLiteral("obec_nazev")),
                 firstName);
}

void TestQueries::partListMatchesNumberColumnByText() {
    StoreFixture s;
    QVERIFY(s.dm.Obce_Query.locate(QStringLiteral("obec_kod"), kPrahaObec.toLongLong()));
    QCOMPARE(s.dm.CastiObce_Query.recordCount(), 4); // the fixture's parts of Praha
    QVERIFY(s.dm.CastiObce_Query.locate(QStringLiteral("nazev"), QStringLiteral("Běchovice")));
    s.dm.CastiObce_Query.setParam(QStringLiteral("par_obec_kod"), QStringLiteral("-1"));
    s.refresh(s.dm.CastiObce_Query);
    QCOMPARE(s.dm.CastiObce_Query.recordCount(), 0);
}

void TestQueries::sortLineReplacesOrder() {
    StoreFixture s;
    for (int n : {30, 10, 20})
        s.exec(insertParcel(
            QStringLiteral("1, %1, 'PKN', 2, %2, NULL, 'p%2', 1").arg(kBenice).arg(n)));
    Dataset& q = s.dm.Parcely_Query;
    QCOMPARE(q.sql().size(), 9);
    auto numbers = [&q] {
        QList<int> result;
        for (q.first(); !q.eof(); q.next())
            result << q.integer(QStringLiteral("cislo_1"));
        return result;
    };
    q.close();
    q.setLastSqlLine(QStringLiteral("ORDER BY cislo_1 DESC"));
    q.open();
    QCOMPARE(numbers(), (QList<int>{30, 20, 10}));
    q.close();
    q.setLastSqlLine(QStringLiteral("ORDER BY cislo_1 ASC"));
    q.open();
    QCOMPARE(numbers(), (QList<int>{10, 20, 30}));
    QCOMPARE(q.sql().size(), 9);
}

void TestQueries::namesInCzechOrder() {
    StoreFixture s;
    int code = 990001;
    for (const char* name : {"Adamov u Tupadel", "Bubeneč", "Adamov u Českých Budějovic", "Břevnov",
                             "Běchovice u Adamova", "chata", "Cheb"})
        s.exec(QStringLiteral("INSERT INTO kat_uzemi_obce VALUES (%1, '%2', 1, 'X', 'Y')")
                   .arg(code++)
                   .arg(QString::fromUtf8(name)));
    for (const char* name : {"Bubeneč", "Břevnov", "Běchovice"})
        s.exec(insertParcel(QStringLiteral("1, %1, 'PKN', 2, 1, NULL, '%2', 1")
                                .arg(kBenice)
                                .arg(QString::fromUtf8(name))));
    const auto names = [&](Dataset& q, const char* field) {
        QStringList result;
        for (q.first(); !q.eof(); q.next())
            result << q.text(QString::fromLatin1(field));
        return result;
    };
    Dataset& territories = s.dm.KatastralniUzemi_Query;
    territories.setParam(QStringLiteral("par_nazev"), QStringLiteral("%e%"));
    s.refresh(territories);
    // "Č" comes after "C" and before "D", far before "T": not after "z" as its bytes are.
    // "Č" after "C" and "ř" after "r", not after "z" as their bytes are; "ch" after "h".
    QCOMPARE(
        names(territories, "ku_nazev"),
        texts({"Adamov u Českých Budějovic", "Adamov u Tupadel", "Běchovice", "Běchovice u Adamova",
               "Benice", "Bohnice", "Bohunice", "Božtěšice", "Brná nad Labem", "Břevnov", "Bubeneč",
               "Hostovice u Ústí nad Labem", "Cheb", "Ústí nad Labem"}));
    s.refresh(s.dm.Parcely_Query);
    QCOMPARE(names(s.dm.Parcely_Query, "nazev"), texts({"Běchovice", "Břevnov", "Bubeneč"}));
}

void TestQueries::yesNoAndDateTimeAsShown() {
    StoreFixture s;
    s.exec(insertParcel(QStringLiteral("1, %1, 'PKN', 2, 1, NULL, 'a', 1").arg(kBenice)));
    const int id = s.dm.GetMaxId(QStringLiteral("parcely"), QStringLiteral("ID")).toInt();
    s.dm.UpdateField(id, QStringLiteral("parcely"), QStringLiteral("posledni_kontrola"),
                     TDM1::DateToSql(QDateTime(QDate(2015, 3, 7), QTime(14, 5, 9, 999))));
    s.refresh(s.dm.Parcely_Query);
    Dataset& q = s.dm.Parcely_Query;
    const auto column = [&q](const char* field) {
        return q.fieldIndex(QString::fromLatin1(field));
    };
    QCOMPARE(q.value(QStringLiteral("posledni_kontrola")).toDateTime(),
             QDateTime(QDate(2015, 3, 7), QTime(14, 5, 9)));
    QCOMPARE(q.displayText(0, column("posledni_kontrola")), QStringLiteral("7.3.2015 14:05:09"));
    QCOMPARE(q.displayText(0, column("kontrolovat")), QStringLiteral("ano"));
    QCOMPARE(q.displayText(0, column("zmeny")), QStringLiteral("ne"));
    QCOMPARE(q.displayText(0, column("zmena_vymera")), QStringLiteral("False"));
    QCOMPARE(q.value(QStringLiteral("zmena_jine")), QVariant(false)); // never empty
    QCOMPARE(q.integer(QStringLiteral("id")), id);                    // names ignore case
}

void TestQueries::statementsOfTheChecksAndWindows_data() {
    // Statements the other parts of the program issue, with a query that shows their effect.
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QVariant>("expected");
    auto row = [](const char* name, const char* statement, const char* check, QVariant expected) {
        QTest::newRow(name) << QString::fromUtf8(statement) << QString::fromUtf8(check) << expected;
    };
    row("switch kontrolovat (backquotes)", "UPDATE `parcely` SET `kontrolovat` = 0 WHERE id = 1",
        "SELECT kontrolovat FROM parcely WHERE ID = 1", false);
    row("switch kontrolovat of buildings", "UPDATE `stavby` SET `kontrolovat` = 0 WHERE id = 1",
        "SELECT kontrolovat FROM stavby WHERE ID = 1", false);
    row("reset zmeny", "UPDATE jednotky SET zmeny = 0",
        "SELECT COUNT(*) FROM jednotky WHERE zmeny = 1", 0);
    row("selection with true",
        "SELECT parcely.* FROM parcely WHERE user_id = 1 and kontrolovat = true",
        "SELECT COUNT(*) FROM parcely WHERE user_id = 1 and kontrolovat = true", 1);
    row("selection with two blanks",
        "SELECT stavby.* FROM stavby WHERE user_id = 1  and kontrolovat = true",
        "SELECT COUNT(*) FROM stavby WHERE user_id = 1  and kontrolovat = true", 1);
    row("record by ID", "SELECT * FROM jednotky WHERE ID = 1",
        "SELECT cislo_jednotky FROM jednotky WHERE ID = 1", 5);
    row("flag set", "UPDATE parcely SET zmena_vlastnici = 1 WHERE ID = 1",
        "SELECT zmena_vlastnici FROM parcely WHERE ID = 1", true);
    row("stored text with a quote",
        "UPDATE parcely SET hash_vymera = 'O''Brien 12 m2' WHERE ID = 1",
        "SELECT hash_vymera FROM parcely WHERE ID = 1", QStringLiteral("O'Brien 12 m2"));
    row("change row with a date literal",
        "INSERT INTO zmeny_staveb (id_stavby, datum, filename) VALUES (1, #2015-03-07 14.05.09#, "
        "'a.html')",
        "SELECT datum FROM zmeny_staveb WHERE id_stavby = 1",
        QDateTime(QDate(2015, 3, 7), QTime(14, 5, 9)));
    row("one change row deleted", "DELETE FROM zmeny_parcel WHERE zmeny_parcel.ID = 1",
        "SELECT COUNT(*) FROM zmeny_parcel", 1);
    row("change rows of a record deleted", "DELETE FROM zmeny_parcel WHERE id_parcely = 1",
        "SELECT COUNT(*) FROM zmeny_parcel", 0);
    row("record deleted", "DELETE FROM parcely WHERE ID = 1", "SELECT COUNT(*) FROM parcely", 0);
}

void TestQueries::statementsOfTheChecksAndWindows() {
    QFETCH(QString, statement);
    QFETCH(QString, check);
    QFETCH(QVariant, expected);
    StoreFixture s;
    s.exec(insertParcel(QStringLiteral("1, %1, 'PKN', 2, 1, NULL, 'a', 1").arg(kBenice)));
    s.exec(insertBuilding(QStringLiteral("stavby"),
                          QStringLiteral("1, %1, %2, 1, 1, 'b', 1").arg(kPrahaObec, kPrahaPart)));
    s.exec(insertBuilding(QStringLiteral("jednotky"),
                          QStringLiteral("1, %1, %2, 1, 1, 'c', 1").arg(kPrahaObec, kPrahaPart)));
    s.exec(QStringLiteral("UPDATE jednotky SET zmeny = 1"));
    for (int i = 0; i < 2; ++i)
        s.dm.InsertChange(QStringLiteral("zmeny_parcel"), QStringLiteral("id_parcely"),
                          QStringLiteral("1"), QDateTime::currentDateTime(), QStringLiteral("x"));

    if (statement.startsWith(QLatin1String("SELECT"))) {
        auto q = s.dm.OpenStatement(statement);
        QCOMPARE(q->recordCount(), 1);
    } else {
        s.exec(statement);
    }
    const QVariant actual = s.scalar(check);
    if (expected.typeId() == QMetaType::Int)
        QCOMPARE(actual.toInt(), expected.toInt());
    else
        QCOMPARE(actual, expected);
}

void TestQueries::fieldMissingFailsOpening() {
    StoreFixture s;
    s.dm.Parcely_Query.close();
    QStringList sql = s.dm.Parcely_Query.sql();
    sql[0] = QStringLiteral("SELECT nazev,");
    s.dm.Parcely_Query.setSql(sql);
    try {
        s.dm.Parcely_Query.open();
        QFAIL("opened without its fields");
    } catch (const DatabaseError& e) {
        QCOMPARE(e.message(), QStringLiteral("Parcely_Query: Field 'ID' not found"));
    }
    QVERIFY(!s.dm.Parcely_Query.isOpen());
}

QTEST_MAIN(TestQueries)
#include "tst_Queries.moc"
