// Where the portal lives: the built-in addresses, the user's corrections in nastaveni.ini,
// and the rule that tells the portal's pages from every other page.
#include "TestSupport.h"

#include "platform/IniFile.h"
#include "portal/PortalCredentials.h"
#include "portal/PortalSettings.h"
#include "store/RecordKind.h"

#include <QFile>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

class TestPortalSettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void builtInAddressesAreWrittenNowhere();
    void userCorrectionsAreRead();
    void environmentWinsForTests();
    void onlyTheHostCounts_data();
    void onlyTheHostCounts();

private:
    std::unique_ptr<TempDataFolder> m_folder;
    QString iniFile() const { return PortalCredentials::settingsFile(m_folder->path()); }
};

void TestPortalSettings::init() {
    for (const char* variable :
         {"VERITAM_PORTAL_VIEWER", "VERITAM_PORTAL_LOGIN", "VERITAM_PORTAL_DOMAIN"})
        qunsetenv(variable);
    m_folder = std::make_unique<TempDataFolder>();
}

void TestPortalSettings::builtInAddressesAreWrittenNowhere() {
    const PortalSettings s = PortalSettings::load(m_folder->path());
    QCOMPARE(
        s.searchPage(RecordKind::Unit),
        QUrl(QStringLiteral("https://nahlizenidokn.cuzk.gov.cz/VyberBudovu/Jednotka/InformaceO")));
    QCOMPARE(s.loginPage(),
             QUrl(QStringLiteral("https://login.cuzk.gov.cz/login.do?typPrihlaseni=NAHLIZENI")));
    QCOMPARE(s.domains, texts({"cuzk.gov.cz", "cuzk.cz"}));
    QCOMPARE(s.pause.count(), PortalSettings::kDefaultPauseSeconds);
    QVERIFY(!QFile::exists(iniFile()));
}

void TestPortalSettings::userCorrectionsAreRead() {
    writeFile(iniFile(),
              "[cuzk]\r\njmeno=jan\r\n[portal]\r\nnahlizeni= https://nahlizeni.example.cz/ \r\n"
              "prihlaseni=nesmysl\r\ndomena=Example.cz, .cuzk.cz\r\nprodleva_s=0\r\n");
    const PortalSettings s = PortalSettings::load(m_folder->path());
    QCOMPARE(s.viewerBase, QStringLiteral("https://nahlizeni.example.cz"));
    QCOMPARE(s.loginBase, QStringLiteral("https://login.cuzk.gov.cz")); // unusable: the default
    QCOMPARE(s.domains, texts({"example.cz", "cuzk.cz"}));
    QCOMPARE(s.pause.count(), 0);
    QCOMPARE(IniFile::read(iniFile(), QStringLiteral("cuzk"), QStringLiteral("jmeno")),
             QStringLiteral("jan"));
}

void TestPortalSettings::environmentWinsForTests() {
    IniFile::write(iniFile(), QStringLiteral("portal"), QStringLiteral("domena"),
                   QStringLiteral("example.cz"));
    qputenv("VERITAM_PORTAL_DOMAIN", "portal.test");
    qputenv("VERITAM_PORTAL_VIEWER", "http://nahlizeni.portal.test:8123");
    const PortalSettings s = PortalSettings::load(m_folder->path());
    QCOMPARE(s.domains, texts({"portal.test"}));
    QVERIFY(s.isPortal(QUrl(QStringLiteral("http://nahlizeni.portal.test:8123/"))));
}

void TestPortalSettings::onlyTheHostCounts_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("portal");
    QTest::addColumn<bool>("loginHost");
    QTest::newRow("the domain as the host") << "https://cuzk.gov.cz/" << true << false;
    QTest::newRow("the viewer host")
        << "https://nahlizenidokn.cuzk.gov.cz/VyberParcelu" << true << false;
    QTest::newRow("the login host, letters in capitals")
        << "https://LOGIN.cuzk.gov.cz/login.do" << true << true;
    QTest::newRow("an old host that redirects")
        << "https://login.cuzk.cz/login.do" << true << false;
    QTest::newRow("the domain inside a foreign host")
        << "https://portal.cuzk.gov.cz.evil.example/login.do" << false << false;
    QTest::newRow("a host that only ends with the text")
        << "https://evilcuzk.gov.cz/" << false << false;
    QTest::newRow("the domain in the path")
        << "https://evil.example/cuzk.gov.cz/" << false << false;
    QTest::newRow("the domain in the query")
        << "https://evil.example/?dalsi=https://nahlizenidokn.cuzk.gov.cz" << false << false;
    QTest::newRow("the domain as a user name")
        << "https://cuzk.gov.cz@evil.example/" << false << false;
    QTest::newRow("another scheme") << "ftp://nahlizenidokn.cuzk.gov.cz/" << false << false;
    QTest::newRow("a local file") << "file:///tmp/cuzk.gov.cz.html" << false << false;
}

void TestPortalSettings::onlyTheHostCounts() {
    QFETCH(QString, address);
    QFETCH(bool, portal);
    QFETCH(bool, loginHost);
    const PortalSettings s = PortalSettings::load(m_folder->path());
    QCOMPARE(s.isPortal(QUrl(address)), portal);
    QCOMPARE(s.isLoginHost(QUrl(address)), loginHost);
}

QTEST_GUILESS_MAIN(TestPortalSettings)
#include "tst_PortalSettings.moc"
