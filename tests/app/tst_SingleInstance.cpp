// One running copy per data folder: the program itself started twice on one folder.
#include "PortalSimulator.h"
#include "TestSupport.h"

#include <QJsonDocument>
#include <QLockFile>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

QJsonObject world() {
    return QJsonDocument::fromJson(R"({
      "loginStep": false,
      "territories": [{"code": 602582, "name": "Benice"}],
      "objects": [{"kind": "parcel", "territory": 602582, "number": "1", "owners": [["A"]]}]})")
        .object();
}

int searches(const PortalSimulator& sim) {
    int n = 0;
    for (const QJsonObject& r : sim.requests())
        n += r[QStringLiteral("params")].toObject().contains(
            QStringLiteral("ctl00$bodyPlaceHolder$btnVyhledat"));
    return n;
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void laterStartsGoToTheOpenWindow();
    void lockOfAKilledCopyDoesNotBlock();

private:
    /// A data folder watching one parcel, with an account and no start-up question.
    QString preparedFolder();
    void startWindow(const QString& folder);

    std::unique_ptr<PortalSimulator> m_sim;
    std::unique_ptr<PreparedFolder> m_prepared;
    QProcess m_window;
};

void TestSingleInstance::initTestCase() {
    m_sim = std::make_unique<PortalSimulator>(world());
}

void TestSingleInstance::cleanup() {
    if (m_window.state() != QProcess::NotRunning) {
        m_window.kill();
        m_window.waitForFinished();
    }
}

QString TestSingleInstance::preparedFolder() {
    m_prepared = std::make_unique<PreparedFolder>(true);
    const QString folder = m_prepared->folder.path();
    OpenedStore s(folder);
    s.exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, druh_cislovani, "
                          "cislo_1, nazev, kontrolovat) VALUES (1, 602582, 'PKN', 2, 1, 'p', 1)"));
    s.exec(QStringLiteral("UPDATE user_table SET login = 'jan'"));
    saveAccount(folder);
    return folder;
}

void TestSingleInstance::startWindow(const QString& folder) {
    m_window.setProcessEnvironment(programEnvironment());
    m_window.start(binFolder() + QStringLiteral("/veritam"), {QStringLiteral("--files"), folder});
    QVERIFY(m_window.waitForStarted());
    // The window's copy holds the folder once it listens for later starts.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(folder + QStringLiteral("veritam.lock")), 30000);
    QTest::qWait(1000);
}

void TestSingleInstance::laterStartsGoToTheOpenWindow() {
    const QString folder = preparedFolder();
    startWindow(folder);
    QCOMPARE(QFile::permissions(folder + QStringLiteral("veritam.lock")) &
                 (QFile::ReadOther | QFile::ReadGroup),
             QFile::Permissions());

    // A second window start brings the first one forward and ends.
    const ProgramRun second = runProgram({QStringLiteral("--files"), folder});
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(m_window.state(), QProcess::Running);

    // A run without a window does not share the folder.
    const ProgramRun headless =
        runProgram({QStringLiteral("--autoload"), QStringLiteral("--headless"),
                    QStringLiteral("--files"), folder});
    QCOMPARE(headless.exitCode, 2);
    QVERIFY2(headless.err.contains(QStringLiteral("jiná spuštěná kopie")),
             qPrintable(headless.err));

    // The daily timer's start asks the open window to check everything.
    m_sim->clearLog();
    const ProgramRun timer =
        runProgram({QStringLiteral("--autoload"), QStringLiteral("--files"), folder});
    QCOMPARE(timer.exitCode, 0);
    QTRY_VERIFY_WITH_TIMEOUT(searches(*m_sim) == 1, 60000);
    QCOMPARE(m_window.state(), QProcess::Running);
}

void TestSingleInstance::lockOfAKilledCopyDoesNotBlock() {
    const QString folder = preparedFolder();
    startWindow(folder);
    m_window.kill();
    m_window.waitForFinished();
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("veritam.lock"))); // left behind
    const ProgramRun headless =
        runProgram({QStringLiteral("--autoload"), QStringLiteral("--headless"),
                    QStringLiteral("--files"), folder});
    QVERIFY2(headless.exitCode == 0 || headless.exitCode == 1, qPrintable(headless.err));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
