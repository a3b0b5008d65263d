// The About window's account fields and the start-up reminder.
#include "TestSupport.h"

#include "portal/PortalCredentials.h"
#include "settings/TAbout_Form.h"
#include "settings/TNastaveni_Form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void aboutShowsSavedNameNeverThePassword();
    void saveWritesBothValuesAsTyped();
    void unwritableSettingsFileIsReported();
    void reminderWhileLoginIsThePlaceholder();
};

void TestSettings::aboutShowsSavedNameNeverThePassword() {
    TempDataFolder folder;
    PortalCredentials::save(folder.path(), QStringLiteral("novak"), QStringLiteral("tajne"));
    RecordingMessages messages;
    TAbout_Form about(folder.path(), messages);
    QCOMPARE(about.windowTitle(), QStringLiteral("O programu"));
    QCOMPARE(about.CUZK_Jmeno_Edit->text(), QStringLiteral("novak"));
    QCOMPARE(about.CUZK_Heslo_Edit->text(), QString());
    QCOMPARE(about.MistoDatovychSouboruLabel->text(),
             QStringLiteral("Místo datových souborů: ") + folder.path());
}

void TestSettings::saveWritesBothValuesAsTyped() {
    TempDataFolder folder;
    RecordingMessages messages;
    TAbout_Form about(folder.path(), messages);
    about.CUZK_Jmeno_Edit->setText(QStringLiteral(" Jiří ")); // keyClicks takes ASCII only
    about.CUZK_Heslo_Edit->setText(QStringLiteral("kůň 1"));
    QTest::mouseClick(about.Button3, Qt::LeftButton);
    QCOMPARE(messages.messages, QStringList{QStringLiteral("Údaje uloženy.")});
    const auto account = PortalCredentials::read(folder.path());
    QCOMPARE(account.name, QStringLiteral(" Jiří "));
    QCOMPARE(account.password, QStringLiteral("kůň 1"));
}

void TestSettings::unwritableSettingsFileIsReported() {
    RecordingMessages messages;
    TAbout_Form about(QStringLiteral("/proc/"), messages);
    about.Button3Click();
    QCOMPARE(messages.errors,
             QStringList{QStringLiteral("Unable to write to /proc/nastaveni.ini")});
    QVERIFY(messages.messages.isEmpty());
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

QTEST_MAIN(TestSettings)
#include "tst_Settings.moc"
