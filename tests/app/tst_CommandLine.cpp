// Switches and the data folder they choose.
#include "TestSupport.h"

#include "app/CommandLine.h"
#include "app/ProcessSettings.h"

#include <QtTest>

using namespace veritam;
using namespace veritam::test;

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void init();
    void switches_data();
    void switches();
    void dataFolder_data();
    void dataFolder();
    void unknownParameters_data();
    void unknownParameters();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestCommandLine::init() {
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home->path()));
}

void TestCommandLine::switches_data() {
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<bool>("autoload");
    QTest::addColumn<QString>("files"); // "(none)" when the switch is absent
    auto row = [](const char* name, QStringList parameters, bool autoload, const char* files) {
        QTest::newRow(name) << parameters << autoload << QString::fromUtf8(files);
    };
    row("nothing", {}, false, "(none)");
    row("-AUTOLOAD", {QStringLiteral("-AUTOLOAD")}, true, "(none)");
    row("/AutoLoad", {QStringLiteral("/AutoLoad")}, true, "(none)");
    row("--autoload", {QStringLiteral("--autoload")}, true, "(none)");
    row("autoload without prefix", {QStringLiteral("autoload")}, false, "(none)");
    row("prefix of a longer word", {QStringLiteral("/autoloadx")}, false, "(none)");
    row("files", {QStringLiteral("/files"), QStringLiteral("/data/")}, false, "/data/");
    row("last files counts",
        {QStringLiteral("-files"), QStringLiteral("/a/"), QStringLiteral("--FILES"),
         QStringLiteral("/b/")},
        false, "/b/");
    row("files as last parameter", {QStringLiteral("/autoload"), QStringLiteral("/files")}, true,
        "");
    row("files=", {QStringLiteral("--files=/c/")}, false, "/c/");
    row("argument that looks like a switch",
        {QStringLiteral("/files"), QStringLiteral("/autoload")}, true, "/autoload");
}

void TestCommandLine::switches() {
    QFETCH(QStringList, parameters);
    QFETCH(bool, autoload);
    QFETCH(QString, files);
    const CommandLine commandLine(parameters);
    QCOMPARE(commandLine.hasSwitch(QStringLiteral("autoload")), autoload);
    QCOMPARE(commandLine.argumentOf(QStringLiteral("files")).value_or(QStringLiteral("(none)")),
             files);
}

void TestCommandLine::dataFolder_data() {
    // "{given}" stands for an existing folder, "{default}" for the data home + "/Veritam/".
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default") << QStringList{} << "{default}";
    QTest::newRow("existing folder with separator")
        << QStringList{QStringLiteral("/files"), QStringLiteral("{given}/")} << "{given}/";
    QTest::newRow("existing folder without separator gets one")
        << QStringList{QStringLiteral("/files"), QStringLiteral("{given}")} << "{given}/";
    QTest::newRow("missing folder: default, not created")
        << QStringList{QStringLiteral("/files"), QStringLiteral("{given}/none/")} << "{default}";
    QTest::newRow("files as last parameter")
        << QStringList{QStringLiteral("/files")} << "{default}";
}

void TestCommandLine::dataFolder() {
    QFETCH(QStringList, parameters);
    QFETCH(QString, expected);
    QTemporaryDir given;
    const auto expand = [&](QString text) {
        return text.replace(QStringLiteral("{given}"), given.path())
            .replace(QStringLiteral("{default}"), m_home->path() + QStringLiteral("/Veritam/"));
    };
    for (QString& p : parameters)
        p = expand(p);

    ProcessSettings settings;
    settings.AutoRunActive = true;
    resolveProcessSettings(settings, CommandLine(parameters),
                           QStringLiteral("/opt/veritam/bin/veritam"));
    QCOMPARE(settings.DataFolder, expand(expected));
    QVERIFY(QFileInfo(settings.DataFolder).isDir());
    QVERIFY(!QFileInfo::exists(given.path() + QStringLiteral("/none")));
    QCOMPARE(settings.ProgramFolder, QStringLiteral("/opt/veritam/bin/"));
    QVERIFY(!settings.AutoStartRequested);
    QVERIFY(!settings.AutoRunActive);
}

void TestCommandLine::unknownParameters_data() {
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<QString>("unknown"); // "" when every parameter is known
    auto row = [](const char* name, QStringList parameters, const char* unknown) {
        QTest::newRow(name) << parameters << QString::fromUtf8(unknown);
    };
    row("none", {}, "");
    row("known in any form",
        {QStringLiteral("/AUTOLOAD"), QStringLiteral("-headless"), QStringLiteral("--files"),
         QStringLiteral("/home/data")},
        "");
    row("argument beginning with a slash is no switch",
        {QStringLiteral("--extract"), QStringLiteral("/tmp/page.html")}, "");
    row("two arguments", {QStringLiteral("--diff"), QStringLiteral("-a"), QStringLiteral("/b")},
        "");
    row("files=", {QStringLiteral("--files=/x"), QStringLiteral("--autoload")}, "");
    row("optional argument given", {QStringLiteral("--schedule"), QStringLiteral("09:05")}, "");
    row("optional argument absent",
        {QStringLiteral("--schedule"), QStringLiteral("--files"), QStringLiteral("/x")}, "");
    row("unknown switch", {QStringLiteral("--autoload"), QStringLiteral("--frobnicate")},
        "--frobnicate");
    row("stray parameter", {QStringLiteral("--autoload"), QStringLiteral("page.html")},
        "page.html");
    row("value on a switch without one", {QStringLiteral("--autoload=yes")}, "--autoload=yes");
    row("prefix of a known switch", {QStringLiteral("--auto")}, "--auto");
    row("lone dash", {QStringLiteral("-")}, "-");
    row("the rest is the engine's",
        {QStringLiteral("--webEngineArgs"), QStringLiteral("--remote-debugging-port=9000")}, "");
}

void TestCommandLine::unknownParameters() {
    QFETCH(QStringList, parameters);
    QFETCH(QString, unknown);
    using Known = CommandLine::Known;
    const Known known[] = {{"autoload"},
                           {"headless"},
                           {"files", Known::One},
                           {"extract", Known::One},
                           {"diff", Known::Two},
                           {"schedule", Known::OptionalOne},
                           {"webEngineArgs", Known::AllTheRest}};
    QCOMPARE(CommandLine(parameters).firstUnknown(known).value_or(QString()), unknown);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
