// The settings file routine: every other line kept byte for byte, values exact.
#include "TestSupport.h"

#include "platform/IniFile.h"

#include <QFile>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

QByteArray content(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void setContent(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void missingReadsEmpty();
    void writeKeepsEveryOtherLine_data();
    void writeKeepsEveryOtherLine();
    void valuesAreExactAndNamesIgnoreCase();
    void newFileIsTheOwnersOnly();
    void unwritableFileRaisesTheError();
};

void TestIniFile::missingReadsEmpty() {
    TempDataFolder dir;
    const QString path = dir.path() + QStringLiteral("nastaveni.ini");
    QCOMPARE(IniFile::read(path, QStringLiteral("cuzk"), QStringLiteral("jmeno")), QString());
    setContent(path, "[jine]\r\njmeno=x\r\n");
    QCOMPARE(IniFile::read(path, QStringLiteral("cuzk"), QStringLiteral("jmeno")), QString());
    setContent(path, "[cuzk]\r\nheslo=x\r\n");
    QCOMPARE(IniFile::read(path, QStringLiteral("cuzk"), QStringLiteral("jmeno")), QString());
}

void TestIniFile::writeKeepsEveryOtherLine_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("new file") << QByteArray() << QByteArray("[cuzk]\r\njmeno=Jan\r\n");
    QTest::newRow("key replaced, others kept")
        << QByteArray(
               "; poznámka\r\n[A]\r\nx = 1 \r\n\r\n[cuzk]\r\nheslo=\xEF\r\njmeno=old\r\n[B]\ny=2")
        << QByteArray(
               "; poznámka\r\n[A]\r\nx = 1 \r\n\r\n[cuzk]\r\nheslo=\xEF\r\njmeno=Jan\r\n[B]\ny=2");
    QTest::newRow("key added after the section's last line, blank lines kept")
        << QByteArray("[cuzk]\r\nheslo=h\r\n\r\n[B]\r\ny=2\r\n")
        << QByteArray("[cuzk]\r\nheslo=h\r\njmeno=Jan\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("section added to a file without a last line end")
        << QByteArray("[B]\r\ny=2") << QByteArray("[B]\r\ny=2\r\n[cuzk]\r\njmeno=Jan\r\n");
}

void TestIniFile::writeKeepsEveryOtherLine() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    TempDataFolder dir;
    const QString path = dir.path() + QStringLiteral("nastaveni.ini");
    if (!before.isEmpty())
        setContent(path, before);
    IniFile::write(path, QStringLiteral("cuzk"), QStringLiteral("jmeno"), QStringLiteral("Jan"));
    QCOMPARE(content(path), after);
}

void TestIniFile::valuesAreExactAndNamesIgnoreCase() {
    TempDataFolder dir;
    const QString path = dir.path() + QStringLiteral("nastaveni.ini");
    IniFile::write(path, QStringLiteral("cuzk"), QStringLiteral("jmeno"),
                   QStringLiteral("  Jiří = Říha  "));
    QCOMPARE(IniFile::read(path, QStringLiteral("CUZK"), QStringLiteral("Jmeno")),
             QStringLiteral("  Jiří = Říha  "));
    QCOMPARE(content(path), QByteArray("[cuzk]\r\njmeno=  Ji\xF8\xED = \xD8\xEDha  \r\n"));
}

void TestIniFile::newFileIsTheOwnersOnly() {
    TempDataFolder dir;
    const QString path = dir.path() + QStringLiteral("nastaveni.ini");
    IniFile::write(path, QStringLiteral("cuzk"), QStringLiteral("jmeno"), QStringLiteral("Jan"));
    QCOMPARE(QFile::permissions(path) &
                 (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
}

void TestIniFile::unwritableFileRaisesTheError() {
    const QString path = QStringLiteral("/proc/nastaveni.ini"); // refused even to root
    try {
        IniFile::write(path, QStringLiteral("cuzk"), QStringLiteral("jmeno"),
                       QStringLiteral("Jan"));
        QFAIL("written");
    } catch (const IniWriteError& e) {
        QVERIFY(e.message().startsWith(QStringLiteral("Unable to write to /proc/nastaveni.ini\n")));
    }
}

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_IniFile.moc"
