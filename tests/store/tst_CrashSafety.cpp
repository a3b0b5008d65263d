// The process killed in the middle of saving records leaves a sound database.
#include "TestSupport.h"

#include <QtTest>

using namespace veritam;
using namespace veritam::test;

class TestCrashSafety : public QObject {
    Q_OBJECT
private slots:
    void killedWhileSavingLeavesSoundDatabase();
};

void TestCrashSafety::killedWhileSavingLeavesSoundDatabase() {
    TempDataFolder folder;
    folder.createDatabaseWithCodeLists();
    int previous = 0;
    for (int round = 0; round < 5; ++round) {
        QVERIFY(killWhileAtWork(QStringLiteral("veritam-save-loop"), folder.path()));

        // Opens again, as the next start would, and finds every saved record whole.
        OpenedStore s(folder.path());
        QCOMPARE(s.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                 QStringLiteral("ok"));
        const int parcels = s.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely")).toInt();
        QVERIFY(parcels > previous);
        previous = parcels;
        QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely WHERE cislo_1 IS NULL OR "
                                         "nazev <> 'parcela ' || cislo_1"))
                     .toInt(),
                 0);
        // At most the last record may lack its change row: each statement commits alone.
        const int changes = s.scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt();
        QVERIFY2(parcels - changes <= round + 1,
                 qPrintable(QStringLiteral("%1 %2").arg(parcels).arg(changes)));
    }
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_CrashSafety.moc"
