// The About window's account fields and the start-up reminder.
#include "FileSystemLimits.h"
#include "LoopbackHttpServer.h"
#include "TestSupport.h"

#include "platform/IniFile.h"
#include "portal/PortalCredentials.h"
#include "settings/TAbout_Form.h"
#include "settings/TNastaveni_Form.h"
#include "settings/TUpozorneni_Form.h"
#include "settings/UpdateCheck.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void aboutShowsSavedNameNeverThePassword();
    void storedPasswordIsKeptMaskedAndForgotten();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void reminderWhileLoginIsThePlaceholder();
    void noticeLinksTheTermsAndComesOnce();
    void updateCheck_data();
    void updateCheck();
    void versionFileOfBuildAndInstallation();

public slots:
    void opened(const QUrl& url) { m_opened.append(url.toString()); }

private:
    QStringList m_opened;
};

void TestSettings::aboutShowsSavedNameNeverThePassword() {
    TempDataFolder folder;
    PortalCredentials::save(folder.path(), QStringLiteral("novak"), QStringLiteral("tajne"));
    RecordingMessages messages;
    TAbout_Form about(folder.path(), messages);
    QCOMPARE(about.windowTitle(), QStringLiteral("O programu"));
    QCOMPARE(about.CUZK_Jmeno_Edit->text(), QStringLiteral("novak"));
    QCOMPARE(about.CUZK_Heslo_Edit->text(), QString());
    QCOMPARE(about.CUZK_Heslo_Edit->placeholderText(), QStringLiteral("(uloženo)"));
    QCOMPARE(about.CUZK_Heslo_Edit->echoMode(), QLineEdit::Password);
    QCOMPARE(about.MistoDatovychSouboruLabel->text(),
             QStringLiteral("Místo datových souborů: ") + folder.path());
}

void TestSettings::storedPasswordIsKeptMaskedAndForgotten() {
    TempDataFolder folder;
    // The user made the file for the portal's settings, readable by all.
    const QString file = PortalCredentials::settingsFile(folder.path());
    IniFile::write(file, QStringLiteral("portal"), QStringLiteral("prodleva_s"),
                   QStringLiteral("8"));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                            QFile::ReadOther));
    const auto ownerOnly = [&] {
        return QFileInfo(file).permissions() ==
               (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    };
    RecordingMessages messages;
    {
        TAbout_Form about(folder.path(), messages);
        QVERIFY(!about.SmazatHeslo_Button->isEnabled());
        about.CUZK_Jmeno_Edit->setText(QStringLiteral(" Jiří ")); // keyClicks takes ASCII only
        about.CUZK_Heslo_Edit->setText(QStringLiteral("kůň 1"));
        QTest::mouseClick(about.Button3, Qt::LeftButton);
        QCOMPARE(messages.messages, QStringList{QStringLiteral("Údaje uloženy.")});
        QCOMPARE(about.CUZK_Heslo_Edit->text(), QString()); // not left in clear text
        QCOMPARE(about.CUZK_Heslo_Edit->placeholderText(), QStringLiteral("(uloženo)"));
    }
    QVERIFY(ownerOnly());
    QCOMPARE(IniFile::read(file, QStringLiteral("portal"), QStringLiteral("prodleva_s")),
             QStringLiteral("8"));
    const auto account = [&] { return PortalCredentials::read(folder.path()); };
    QCOMPARE(account().name, QStringLiteral(" Jiří "));
    QCOMPARE(account().password, QStringLiteral("kůň 1"));

    // After a restart the empty field keeps the stored password.
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    TAbout_Form again(folder.path(), messages);
    again.CUZK_Jmeno_Edit->setText(QStringLiteral("novak"));
    again.Button3Click();
    QCOMPARE(account().name, QStringLiteral("novak"));
    QCOMPARE(account().password, QStringLiteral("kůň 1"));
    QVERIFY(ownerOnly());

    QVERIFY(again.SmazatHeslo_Button->isEnabled());
    again.SmazatHesloClick();
    QCOMPARE(account().password, QString());
    QCOMPARE(account().name, QStringLiteral("novak"));
    QVERIFY(!again.SmazatHeslo_Button->isEnabled());
    QCOMPARE(again.CUZK_Heslo_Edit->placeholderText(), QString());
    again.Button3Click();
    QVERIFY2(messages.messages.last().contains(QStringLiteral("Heslo uloženo není")),
             qPrintable(messages.messages.last()));
}

void TestSettings::failedSaveChangesNothing_data() {
    QTest::addColumn<QString>("trouble");
    QTest::newRow("file that cannot be read") << QStringLiteral("unreadable");
    QTest::newRow("full disk") << QStringLiteral("full");
    QTest::newRow("folder that cannot be written") << QStringLiteral("readonly");
}

void TestSettings::failedSaveChangesNothing() {
    QFETCH(QString, trouble);
    SmallFileSystem disk(64 * 1024);
    TempDataFolder temporary;
    const bool onDisk = trouble == QLatin1String("full");
    if (onDisk && !disk.mounted())
        QSKIP("A tmpfs cannot be mounted here (needs root); the full disk is not tried.");
    const QString folder = onDisk ? disk.path() : temporary.path();
    const QString file = PortalCredentials::settingsFile(folder);
    PortalCredentials::save(folder, QStringLiteral("novak"), QStringLiteral("tajne"));
    IniFile::write(file, QStringLiteral("portal"), QStringLiteral("prodleva_s"),
                   QStringLiteral("8"));
    QFile original(file);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    RecordingMessages messages;
    TAbout_Form about(folder, messages);
    about.CUZK_Jmeno_Edit->setText(QStringLiteral("dvorak"));
    about.CUZK_Heslo_Edit->setText(QStringLiteral("jine"));
    if (trouble == QLatin1String("full"))
        disk.fill();
    if (trouble == QLatin1String("unreadable"))
        QVERIFY(QFile::setPermissions(file, QFile::WriteOwner));
    if (trouble == QLatin1String("readonly"))
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    {
        const FileModesApply asUser;
        about.Button3Click();
    }
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(messages.errors.size(), 1);
    QVERIFY2(messages.errors[0].startsWith(QStringLiteral("Unable to write to ") + file + u'\n'),
             qPrintable(messages.errors[0]));
    QVERIFY(messages.messages.isEmpty());
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), before);
}

void TestSettings::reminderWhileLoginIsThePlaceholder() {
    StoreFixture s(false);
    TNastaveni_Form first(s.dm, s.messages);
    QCOMPARE(s.messages.messages,
             QStringList{QStringLiteral(
                 "Pro správnou funkci programu je třeba zadat přihlašovací jméno a "
                 "heslo do systému CUZK. \r\n\r\nPřejděte do Nastavení / Zadat heslo "
                 "do CUZK.")});
    s.exec(QStringLiteral("UPDATE user_table SET login = 'Prihlasovaci_jmeno'")); // case counts
    s.refresh(s.dm.User_Query);
    s.messages.messages.clear();
    TNastaveni_Form second(s.dm, s.messages);
    QVERIFY(s.messages.messages.isEmpty());

    // With the placeholder back, an account saved in the settings file ends the reminder.
    s.exec(QStringLiteral("UPDATE user_table SET login = 'prihlasovaci_jmeno'"));
    s.refresh(s.dm.User_Query);
    PortalCredentials::save(s.folder.path(), QStringLiteral("novak"), QStringLiteral("x"));
    TNastaveni_Form third(s.dm, s.messages);
    QVERIFY(s.messages.messages.isEmpty());
}

void TestSettings::noticeLinksTheTermsAndComesOnce() {
    TempDataFolder folder;
    qputenv("VERITAM_PORTAL_VIEWER", "https://nahlizenidokn.cuzk.gov.cz");
    TUpozorneni_Form notice(folder.path());
    qunsetenv("VERITAM_PORTAL_VIEWER");
    QCOMPARE(notice.Label6->text(), QStringLiteral("https://nahlizenidokn.cuzk.gov.cz/Napoveda/"
                                                   "index.htm?id=idh_podminkyuzivaniaplikace"));
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "opened");
    QTest::mouseClick(notice.Label6, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(m_opened, QStringList{notice.Label6->text()}); // exactly what it shows

    notice.showBeforeFirstUse(true);
    QVERIFY(notice.isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(&notice));
    QCOMPARE(notice.Rozumim_Button->text(), QStringLiteral("Rozumím"));
    QCOMPARE(notice.focusWidget(), notice.Rozumim_Button);
    QTest::keyClick(notice.Rozumim_Button, Qt::Key_Return); // Enter closes it
    QVERIFY(!notice.isVisible());
    notice.showBeforeFirstUse(true); // once per data folder
    QVERIFY(!notice.isVisible());
    QCOMPARE(IniFile::read(PortalCredentials::settingsFile(folder.path()),
                           QStringLiteral("upozorneni"), QStringLiteral("zobrazeno")),
             QStringLiteral("1"));
}

void TestSettings::updateCheck_data() {
    QTest::addColumn<QByteArray>("offered"); // empty: no server
    QTest::addColumn<bool>("newer");
    QTest::addColumn<QString>("problem");
    QTest::newRow("newer") << QByteArray("0.2.0\n") << true << QString();
    QTest::newRow("same") << QByteArray("0.1.0") << false << QString();
    QTest::newRow("older") << QByteArray("0.0.9") << false << QString();
    QTest::newRow("garbage") << QByteArray("<html>chyba</html>") << false << "poškozený";
    QTest::newRow("unreachable") << QByteArray() << false << "není dostupný";
    QTest::newRow("silent server") << QByteArray("silent") << false << "neodpověděl včas";
}

void TestSettings::updateCheck() {
    QFETCH(QByteArray, offered);
    QFETCH(bool, newer);
    QFETCH(QString, problem);
    TempDataFolder folder;
    writeFile(folder.path() + QStringLiteral("veritam.txt"), "0.1.0\n");
    LoopbackHttpServer server;
    server.serve(QStringLiteral("/download/veritam.txt"), offered);
    QTcpServer silent; // takes the connection and never answers
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    const QString address =
        offered.isEmpty() ? QStringLiteral("http://127.0.0.1:1/veritam.txt")
        : offered == "silent"
            ? QStringLiteral("http://127.0.0.1:%1/veritam.txt").arg(silent.serverPort())
            : server.url(QStringLiteral("/download/veritam.txt")).toString();

    const UpdateCheck::Answer answer = UpdateCheck::ZjistiVerzi(
        address, UpdateCheck::localVersionFile(folder.path()), UpdateCheck::downloadPageAddress(),
        folder.path(), 1, std::chrono::milliseconds(300));
    QCOMPARE(answer.newer, newer);
    QVERIFY2(problem.isEmpty() ? answer.problem.isEmpty() : answer.problem.contains(problem),
             qPrintable(answer.problem));
}

void TestSettings::versionFileOfBuildAndInstallation() {
    TempDataFolder prefix; // stands for /usr
    const QString program = prefix.path() + QStringLiteral("bin/");
    const QString installed = prefix.path() + QStringLiteral("share/veritam/veritam.txt");
    QVERIFY(QDir().mkpath(program) &&
            QDir().mkpath(prefix.path() + QStringLiteral("share/veritam")));
    writeFile(installed, "0.1.0\n");
    QCOMPARE(UpdateCheck::localVersionFile(program), installed);
    // The build tree's lies beside the program and wins.
    writeFile(program + QStringLiteral("veritam.txt"), "0.1.0\n");
    QCOMPARE(UpdateCheck::localVersionFile(program), program + QStringLiteral("veritam.txt"));
}

QTEST_MAIN(TestSettings)
#include "tst_Settings.moc"
