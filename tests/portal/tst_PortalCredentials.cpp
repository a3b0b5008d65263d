// The portal account in the settings file, and its scrambling.
#include "TestSupport.h"

#include "platform/CodePage1250.h"
#include "platform/IniFile.h"
#include "portal/PortalCredentials.h"

#include <QFile>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

class TestPortalCredentials : public QObject {
    Q_OBJECT
private slots:
    void scrambleIsItsOwnInverse();
    void readsTheFormatOthersWrite();
    void savesExactlyTheSpecifiedBytes();
    void lineEndPasswordsReadBackExactly_data();
    void lineEndPasswordsReadBackExactly();
};

void TestPortalCredentials::scrambleIsItsOwnInverse() {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    QCOMPARE(PortalCredentials::scramble(PortalCredentials::scramble(all)), all);
    for (const char c : PortalCredentials::scramble("Heslo 1234 ~!")) {
        const int b = static_cast<unsigned char>(c);
        QVERIFY(b >= 128 && b <= 223);
    }
}

void TestPortalCredentials::readsTheFormatOthersWrite() {
    TempDataFolder dir;
    writeFile(PortalCredentials::settingsFile(dir.path()),
              "[jine]\r\na=1\r\n[cuzk]\r\njmeno=novak\r\nheslo=" +
                  PortalCredentials::scramble(CodePage1250::encode(QStringLiteral("žluťoučký"))) +
                  "\r\n");
    const auto account = PortalCredentials::read(dir.path());
    QCOMPARE(account.name, QStringLiteral("novak"));
    QCOMPARE(account.password, QStringLiteral("žluťoučký"));
}

void TestPortalCredentials::savesExactlyTheSpecifiedBytes() {
    TempDataFolder dir;
    PortalCredentials::save(dir.path(), QStringLiteral(" jan "), QStringLiteral("ab"));
    QFile file(PortalCredentials::settingsFile(dir.path()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[cuzk]\r\njmeno= jan \r\nheslo=\x9E\x9D\r\n"));
    // An empty password is stored empty and reads as missing.
    PortalCredentials::save(dir.path(), QStringLiteral(" jan "), QString());
    QCOMPARE(PortalCredentials::read(dir.path()).password, QString());
}

void TestPortalCredentials::lineEndPasswordsReadBackExactly_data() {
    QTest::addColumn<QString>("password");
    QTest::newRow("ň gives CR") << QStringLiteral("kůň");
    QTest::newRow("ő gives LF") << QStringLiteral("ő123");
    QTest::newRow("˙ gives NUL") << QStringLiteral("a˙b");
}

void TestPortalCredentials::lineEndPasswordsReadBackExactly() {
    QFETCH(QString, password);
    TempDataFolder dir;
    PortalCredentials::save(dir.path(), QStringLiteral("jan"), password);
    QCOMPARE(PortalCredentials::read(dir.path()).password, password);
    QFile file(PortalCredentials::settingsFile(dir.path()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count('\n'), 4); // section, name, password, its hexadecimal form
    file.close();
    // An ordinary password saved later is again stored in the plain form alone.
    PortalCredentials::save(dir.path(), QStringLiteral("jan"), QStringLiteral("ab"));
    QCOMPARE(PortalCredentials::read(dir.path()).password, QStringLiteral("ab"));
    QCOMPARE(IniFile::read(PortalCredentials::settingsFile(dir.path()), QStringLiteral("cuzk"),
                           QStringLiteral("heslo_hex")),
             QString());
}

QTEST_APPLESS_MAIN(TestPortalCredentials)
#include "tst_PortalCredentials.moc"
