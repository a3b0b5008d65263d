// The line texts of the run log, the change summary and the change log.
#include "TestSupport.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/LogLines.h"
#include "store/WatchedRecord.h"

#include <QtTest>

using namespace veritam;
using namespace veritam::test;

class TestLogLines : public QObject {
    Q_OBJECT
private slots:
    void parcelLines_data();
    void parcelLines();
    void buildingAndUnitLines();
};

void TestLogLines::parcelLines_data() {
    QTest::addColumn<QString>("values"); // druh_cislovani, cislo_1, cislo_2
    QTest::addColumn<QString>("visiting");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("description");
    QTest::newRow("building parcel with subdivision")
        << "1, 12, 3"
        << "Procházím parcelu č. st. 12 / 3"
        << "Změna u parcely p. č. st. 12 / 3, vlastní označení Louka"
        << "\r\n********* CHYBA !!! ***********\r\n- parcela č. 12 / 3. Prosím zkontrolujte "
           "vstupní data. \r\n"
        << "parcela st. 12/3";
    QTest::newRow("land parcel without subdivision")
        << "2, 345, NULL"
        << "Procházím parcelu č. 345"
        << "Změna u parcely p. č. 345, vlastní označení Louka"
        << "\r\n********* CHYBA !!! ***********\r\n- parcela č. 345 / . Prosím zkontrolujte "
           "vstupní data. \r\n"
        << "parcela 345";
}

void TestLogLines::parcelLines() {
    QFETCH(QString, values);
    QFETCH(QString, visiting);
    QFETCH(QString, summary);
    QFETCH(QString, failure);
    QFETCH(QString, description);
    StoreFixture s(false);
    s.exec(
        QStringLiteral("INSERT INTO parcely (druh_cislovani, cislo_1, cislo_2, nazev) VALUES (") +
        values + QStringLiteral(", 'Louka')"));
    const auto row = s.dm.OpenStatement(QStringLiteral("SELECT parcely.* FROM parcely"));
    const WatchedRecord record = WatchedRecord::read(RecordKind::Parcel, *row);
    QCOMPARE(LogLines::visiting(record), visiting);
    QCOMPARE(LogLines::summary(record, {}), summary);
    QCOMPARE(LogLines::failure(record), failure);
    Comparison changed;
    changed.changed = {Section::Owners, Section::Restrictions, Section::Proceedings};
    changed.proceedingsAdded = texts({"Z-55/2026-101"});
    changed.proceedingsRemoved = texts({"V-1234/2026-101"});
    const QString news =
        QStringLiteral("nové řízení Z-55/2026-101, skončené řízení V-1234/2026-101");
    QCOMPARE(LogLines::notification(record, changed),
             description + QStringLiteral(" Louka: vlastníci, omezení, ") + news);
    QCOMPARE(LogLines::summary(record, changed),
             summary + QStringLiteral(": vlastníci, omezení, ") + news);
}

void TestLogLines::buildingAndUnitLines() {
    StoreFixture s(false);
    s.exec(QStringLiteral(
        "INSERT INTO jednotky (cislo_stavby, cislo_jednotky, nazev) VALUES (1200, 14, 'Byt')"));
    auto unit = s.dm.OpenStatement(QStringLiteral("SELECT jednotky.* FROM jednotky"));
    QCOMPARE(LogLines::visiting(WatchedRecord::read(RecordKind::Unit, *unit)),
             QStringLiteral("Procházím jednotku č. 1200/14"));
    QCOMPARE(LogLines::summary(WatchedRecord::read(RecordKind::Unit, *unit), {}),
             QStringLiteral("Změna u jednotky 14, vlastní označení Byt"));
    QCOMPARE(LogLines::failure(WatchedRecord::read(RecordKind::Building, *unit)),
             QStringLiteral(
                 "\r\n********* CHYBA !!! ***********\r\n- stavba vlastní označení Byt. Prosím "
                 "zkontrolujte vstupní data. \r\n"));
    QCOMPARE(
        LogLines::history(
            RecordKind::Building, QStringLiteral("3"), QStringLiteral("Chata"),
            QStringLiteral("/d/historie/stavby/stavba-id-3/2015.03.07,14.05.09.html")),
        QStringLiteral("Změna u stavby ID 3. Vlastní označení stavby Chata, cesta k souboru je: "
                       "/d/historie/stavby/stavba-id-3/2015.03.07,14.05.09.html"));
    s.dm.ADOConnection.exec(QStringLiteral(
        "UPDATE jednotky SET nazev = 'Byt' || char(13, 10, 9) || 'KONTROLA SKONČILA'"));
    unit = s.dm.OpenStatement(QStringLiteral("SELECT jednotky.* FROM jednotky"));
    QCOMPARE(LogLines::summary(WatchedRecord::read(RecordKind::Unit, *unit), {}),
             QStringLiteral("Změna u jednotky 14, vlastní označení Byt   KONTROLA SKONČILA"));
    QCOMPARE(LogLines::runStarted(), QStringLiteral("Zahájena kontrola"));
    QCOMPARE(LogLines::runEnded(), QStringLiteral("KONTROLA SKONČILA"));
}

QTEST_APPLESS_MAIN(TestLogLines)
#include "tst_LogLines.moc"
