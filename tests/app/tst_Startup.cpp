// Start-up as the user sees it: the windows, the data folder's first start, and what it
// reports when the database cannot be used.
#include "TestSupport.h"

#include "analysis/ChangeRecorder.h"
#include "app/Application.h"
#include "app/TLog_Form.h"
#include "app/TMain_Form.h"
#include "entry/TInsert_Form.h"
#include "history/TZmeny_Form.h"
#include "portal/PortalCredentials.h"
#include "portal/TBrowser_Form.h"
#include "settings/TAbout_Form.h"
#include "settings/TAuto_Form.h"
#include "settings/TNastaveni_Form.h"
#include "settings/TUpozorneni_Form.h"
#include "store/Schema.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

#include <QDirIterator>
#include <QFile>
#include <QPlainTextEdit>
#include <QWidget>
#include <QtTest>

#include <sys/stat.h>

using namespace veritam;
using namespace veritam::test;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesTheDataFolderContent();
    void everythingCreatedIsTheOwnersOnly();
    void keepsTheUsersStyleSheets();
    void unusableDatabaseIsReportedAndStartUpGoesOn_data();
    void unusableDatabaseIsReportedAndStartUpGoesOn();
    void unwritableDataFolderIsReported();
    void emptyDatabaseFileIsMadeAnew();
    void showStartsTheAutomaticRunOnce();
};

void TestStartup::firstStartCreatesTheDataFolderContent() {
    TempDataFolder folder;
    RecordingMessages messages;
    Application app(CommandLine({QStringLiteral("/files"), folder.path()}), messages);
    QCOMPARE(app.settings().DataFolder, folder.path());
    QVERIFY2(messages.errors.isEmpty(), qPrintable(messages.errors.join(u'\n')));

    const QList<QPair<QWidget*, QString>> windows = {
        {app.Main_Form.get(), QStringLiteral("Veritam")},
        {app.Insert_Form.get(), QStringLiteral("Přidávání a úprava záznamů")},
        {static_cast<QWidget*>(app.Browser_Form.get()), QStringLiteral("Prohlížeč")},
        {static_cast<QWidget*>(app.Zmeny_Form.get()), QStringLiteral("Změny na nemovité věci")},
        {static_cast<QWidget*>(app.Nastaveni_Form.get()), QStringLiteral("Nastavení")},
        {static_cast<QWidget*>(app.About_Form.get()), QStringLiteral("O programu")},
        {static_cast<QWidget*>(app.Upozorneni_Form.get()), QStringLiteral("Upozornění")},
        {static_cast<QWidget*>(app.Log_Form.get()), QStringLiteral("Přehled změn")},
        {static_cast<QWidget*>(app.Auto_Form.get()), QStringLiteral("Automatická kontrola")},
    };
    for (const auto& [window, caption] : windows) {
        QCOMPARE(window->windowTitle(), caption);
        QVERIFY(!window->isVisible());
    }

    for (const char* name : {"katastr_data.sqlite", "cascade1.css", "cascade2.css"})
        QVERIFY2(QFileInfo::exists(folder.path() + QString::fromLatin1(name)), name);
    QVERIFY(app.DM1->ADOConnection.isOpen());
    QCOMPARE(app.DM1->User_Query.text(QStringLiteral("login")),
             QStringLiteral("prihlasovaci_jmeno"));
    QCOMPARE(app.DM1->KatastralniUzemi_Query.recordCount(), 0);
}

void TestStartup::everythingCreatedIsTheOwnersOnly() {
    // A desktop session's umask lets everyone read; the data are third persons' names.
    const mode_t previous = ::umask(022);
    TempDataFolder home;
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("data")).toUtf8());
    RecordingMessages messages;
    {
        Application app(CommandLine({}), messages);
        const QString folder = app.settings().DataFolder;
        QCOMPARE(folder, home.path() + QStringLiteral("data/Veritam/"));
        app.DM1->ExecuteStatement(QStringLiteral(
            "INSERT INTO parcely (user_id, uzemi, cislo_1, nazev) VALUES (1, 602582, 7, 'Sad')"));
        auto row = app.DM1->OpenStatement(QStringLiteral("SELECT * FROM parcely"));
        QVERIFY(ChangeRecorder::CompareAndRecord(*app.DM1,
                                                 WatchedRecord::read(RecordKind::Parcel, *row),
                                                 TParseKatastr(), QStringLiteral("<body></body>"))
                    .any());
        PortalCredentials::save(folder, QStringLiteral("novak"), QStringLiteral("tajne"));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("katastr_data.sqlite-wal")));
    }
    qunsetenv("XDG_DATA_HOME");
    ::umask(previous);
    QVERIFY2(messages.errors.isEmpty(), qPrintable(messages.errors.join(u'\n')));

    QStringList open;
    QDirIterator it(home.path() + QStringLiteral("data"),
                    QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        files += entry.isFile() ? 1 : 0;
        if (entry.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                   QFile::ReadOther | QFile::WriteOther | QFile::ExeOther))
            open.append(entry.filePath());
    }
    QVERIFY2(open.isEmpty(), qPrintable(open.join(u'\n')));
    QVERIFY(files >= 6); // database, style sheets, snapshot, change log, settings
    QCOMPARE(QFileInfo(home.path() + QStringLiteral("data")).permissions() & QFile::ReadOther,
             QFile::Permissions());
}

void TestStartup::keepsTheUsersStyleSheets() {
    TempDataFolder folder;
    QFile sheet(folder.path() + QStringLiteral("cascade1.css"));
    writeFile(sheet.fileName(), "body { color: red }");
    RecordingMessages messages;
    Application app(CommandLine({QStringLiteral("/files"), folder.path()}), messages);
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    QCOMPARE(sheet.readAll(), QByteArray("body { color: red }"));
    QVERIFY(QFileInfo::exists(folder.path() + QStringLiteral("cascade2.css")));
}

void TestStartup::unusableDatabaseIsReportedAndStartUpGoesOn_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("garbage") << "garbage"
                             << "not a database";
    QTest::newRow("cut in half") << "half"
                                 << "malformed";
}

void TestStartup::unusableDatabaseIsReportedAndStartUpGoesOn() {
    QFETCH(QString, damage);
    QFETCH(QString, message);
    TempDataFolder folder;
    QByteArray content;
    if (damage == QLatin1String("garbage")) {
        content = QByteArray(8192, 'x');
    } else if (damage == QLatin1String("half")) {
        QFile whole(folder.createDatabaseWithCodeLists());
        QVERIFY(whole.open(QIODevice::ReadOnly));
        content = whole.readAll();
        content.truncate(content.size() / 2);
    }
    const QString file = folder.path() + Schema::databaseFileName();
    writeFile(file, content);

    RecordingMessages messages;
    Application app(CommandLine({QStringLiteral("/files"), folder.path()}), messages);
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY2(messages.errors[0].contains(message), qPrintable(messages.errors[0]));
    QVERIFY(app.Auto_Form); // the objects after the data module exist all the same
    QVERIFY(!app.DM1->Parcely_Query.isOpen());
    QCOMPARE(QFileInfo(file).size(), content.size()); // never overwritten
}

void TestStartup::unwritableDataFolderIsReported() {
    // /proc refuses new files even to root.
    RecordingMessages messages;
    Application app(CommandLine({QStringLiteral("/files"), QStringLiteral("/proc")}), messages);
    QCOMPARE(app.settings().DataFolder, QStringLiteral("/proc/"));
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY2(messages.errors[0].startsWith(
                 QStringLiteral("Databázi /proc/katastr_data.sqlite nelze vytvořit")),
             qPrintable(messages.errors[0]));
    QVERIFY(!app.DM1->ADOConnection.isOpen());
}

void TestStartup::emptyDatabaseFileIsMadeAnew() {
    TempDataFolder folder;
    writeFile(folder.path() + Schema::databaseFileName(), {});
    RecordingMessages messages;
    Application app(CommandLine({QStringLiteral("/files"), folder.path()}), messages);
    QVERIFY(messages.errors.isEmpty());
    QCOMPARE(app.DM1->User_Query.recordCount(), 1);
}

void TestStartup::showStartsTheAutomaticRunOnce() {
    TempDataFolder folder;
    RecordingMessages messages;
    Application app(
        CommandLine({QStringLiteral("-AUTOLOAD"), QStringLiteral("/files"), folder.path()}),
        messages);
    QVERIFY(app.settings().AutoStartRequested);
    app.show(); // the run, once the window is on screen: no account on file, no records
    QVERIFY(app.settings().AutoStartRequested);
    QTRY_VERIFY(
        app.Main_Form->Log_Memo->toPlainText().endsWith(QStringLiteral("KONTROLA SKONČILA")));
    QVERIFY(!app.settings().AutoStartRequested);
    QVERIFY(app.settings().AutoRunActive);
    app.Main_Form->hide();
    app.Main_Form->show();
    const QString log = app.Main_Form->Log_Memo->toPlainText();
    QCOMPARE(log.count(QStringLiteral("Zahájena kontrola")), 1);
    QVERIFY(log.endsWith(QStringLiteral("KONTROLA SKONČILA")));
    QCOMPARE(messages.messages.filter(QStringLiteral("Zadejte přihlašovací údaje")).size(), 1);
}

QTEST_MAIN(TestStartup)
#include "tst_Startup.moc"
