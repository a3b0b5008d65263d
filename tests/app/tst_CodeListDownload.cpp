// Downloading the code lists from the authority's service, played by a loopback server.
#include "LoopbackHttpServer.h"
#include "TestSupport.h"

#include "app/CodeListSetup.h"
#include "store/CodeListImporter.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

void serveFixtureLists(LoopbackHttpServer& server) {
    const auto files = CodeListImporter::readFolder(fixtureCodeListFolder());
    for (auto it = files.begin(); it != files.end(); ++it)
        server.serve(QStringLiteral("/cis/") + it.key() + QStringLiteral(".zip"),
                     makeZip(it.key() + QStringLiteral(".csv"), it.value()));
}

int territories(StoreFixture& s) {
    return s.scalar(QStringLiteral("SELECT COUNT(*) FROM kat_uzemi_obce")).toInt();
}

} // namespace

class TestCodeListDownload : public QObject {
    Q_OBJECT
private slots:
    void downloadsAndInstallsTheFourLists();
    void failuresKeepThePreviousLists_data();
    void failuresKeepThePreviousLists();
    void cancelledDownloadChangesNothing();
};

void TestCodeListDownload::downloadsAndInstallsTheFourLists() {
    LoopbackHttpServer server;
    serveFixtureLists(server);
    qputenv("VERITAM_CODELISTS_URL", server.url(QStringLiteral("/cis/")).toEncoded());
    StoreFixture s(false);
    QVERIFY(CodeListSetup::codeListsEmpty(s.dm));
    QVERIFY(CodeListSetup::download(nullptr, s.dm));
    QCOMPARE(server.requests,
             (QStringList{QStringLiteral("/cis/UI_KATASTRALNI_UZEMI.zip"),
                          QStringLiteral("/cis/UI_OBEC.zip"), QStringLiteral("/cis/UI_OKRES.zip"),
                          QStringLiteral("/cis/UI_CAST_OBCE.zip")}));
    QCOMPARE(territories(s), kFixtureTerritories);
    QVERIFY(!CodeListSetup::codeListsEmpty(s.dm));
    // The lookups show the new lists at once.
    QCOMPARE(s.dm.KatastralniUzemi_Query.recordCount(), kFixtureTerritories);
    QCOMPARE(s.messages.messages.last(),
             QStringLiteral("Načteno 11 katastrálních území v 3 obcích a 10 částí obcí."));
}

void TestCodeListDownload::failuresKeepThePreviousLists_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("truncated archive") << "truncate"
                                       << "Archiv UI_OBEC.zip je poškozený nebo neúplný";
    QTest::newRow("missing archive") << "404"
                                     << "Číselník UI_OBEC nelze stáhnout";
    QTest::newRow("no server") << "down"
                               << "Číselník UI_KATASTRALNI_UZEMI nelze stáhnout";
}

void TestCodeListDownload::failuresKeepThePreviousLists() {
    QFETCH(QString, fault);
    QFETCH(QString, message);
    StoreFixture s;
    QUrl base;
    {
        LoopbackHttpServer server;
        serveFixtureLists(server);
        const QString obec = QStringLiteral("/cis/UI_OBEC.zip");
        const QByteArray zip = makeZip(QStringLiteral("UI_OBEC.csv"), QByteArray(50000, 'x'));
        if (fault == QLatin1String("truncate"))
            server.serve(obec, zip.left(zip.size() / 2));
        else if (fault == QLatin1String("404"))
            server.serve(obec, "gone", 404);
        base = server.url(QStringLiteral("/cis/"));
        qputenv("VERITAM_CODELISTS_URL", base.toEncoded());
        if (fault != QLatin1String("down"))
            QVERIFY(!CodeListSetup::download(nullptr, s.dm));
    }
    if (fault == QLatin1String("down")) // the server is gone: nobody listens on its port
        QVERIFY(!CodeListSetup::download(nullptr, s.dm));
    QCOMPARE(s.messages.errors.size(), 1);
    QVERIFY2(s.messages.errors[0].startsWith(message), qPrintable(s.messages.errors[0]));
    QVERIFY(
        s.messages.errors[0].endsWith(QStringLiteral("Dosavadní číselníky zůstaly beze změny.")));
    QCOMPARE(territories(s), kFixtureTerritories);
}

void TestCodeListDownload::cancelledDownloadChangesNothing() {
    QTcpServer silent; // takes the connections and never answers: the download goes on
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    qputenv("VERITAM_CODELISTS_URL",
            QStringLiteral("http://127.0.0.1:%1/cis/").arg(silent.serverPort()).toLatin1());
    StoreFixture s;
    QWidget parent; // the progress is modal to a window
    parent.show();
    bool cancelled = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        auto* progress = parent.findChild<QProgressDialog*>();
        if (!progress || !progress->isVisible() || !silent.hasPendingConnections())
            return;
        watch.stop();
        for (QPushButton* b : progress->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Zrušit")) {
                b->click();
                cancelled = true;
            }
    });
    watch.start(20);
    QVERIFY(!CodeListSetup::download(&parent, s.dm));
    QVERIFY(cancelled);
    QVERIFY2(s.messages.errors.isEmpty(), qPrintable(s.messages.errors.join(u'\n')));
    QCOMPARE(territories(s), kFixtureTerritories);
}

QTEST_MAIN(TestCodeListDownload)
#include "tst_CodeListDownload.moc"
