// The daily check's systemd user timer: the unit files really written, systemctl replaced by
// a script that records its calls, and systemd's own checks of the files where they run.
#include "QuestionAnswer.h"
#include "TestSupport.h"

#include "settings/DailySchedule.h"
#include "settings/TAuto_Form.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

const char* const kRecordingSystemctl = R"(#!/bin/sh
echo "$*" >> "$SYSTEMCTL_LOG"
case "$*" in
  *"show veritam-schedule.timer"*)
    printf 'NextElapseUSecRealtime=Fri 2026-12-11 09:05:00 CET\nLastTriggerUSec=n/a\nActiveState=active\n' ;;
esac
exit 0
)";

QString contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestDailySchedule : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void onlyRealTimesAreTaken_data();
    void onlyRealTimesAreTaken();
    void planningReplacesTheTimer();
    void unitsPassSystemdsOwnChecks();
    void commandLine();
    void window();

private:
    QStringList calls() const {
        return contentOf(m_bin.path() + QStringLiteral("/calls.log"))
            .split(u'\n', Qt::SkipEmptyParts);
    }
    QString timer() const {
        return contentOf(DailySchedule::unitFolder() + QStringLiteral("veritam-schedule.timer"));
    }
    QString service() const {
        return contentOf(DailySchedule::unitFolder() + QStringLiteral("veritam-schedule.service"));
    }

    QTemporaryDir m_bin;
    std::unique_ptr<QTemporaryDir> m_config;
};

void TestDailySchedule::initTestCase() {
    QFile script(m_bin.path() + QStringLiteral("/systemctl"));
    writeFile(script.fileName(), kRecordingSystemctl);
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", (m_bin.path() + u':' + qEnvironmentVariable("PATH")).toLocal8Bit());
    qputenv("SYSTEMCTL_LOG", (m_bin.path() + QStringLiteral("/calls.log")).toLocal8Bit());
}

void TestDailySchedule::init() {
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
    QFile::remove(m_bin.path() + QStringLiteral("/calls.log"));
}

void TestDailySchedule::onlyRealTimesAreTaken_data() {
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<QString>("taken");
    QTest::newRow("one digit each") << "9"
                                    << "5"
                                    << "09:05";
    QTest::newRow("midnight") << "00"
                              << "00"
                              << "00:00";
    QTest::newRow("hour 25") << "25"
                             << "00"
                             << "";
    QTest::newRow("minute 60") << "9"
                               << "60"
                               << "";
    QTest::newRow("letters") << "de"
                             << "vět"
                             << "";
    QTest::newRow("empty hour") << ""
                                << "30"
                                << "";
}

void TestDailySchedule::onlyRealTimesAreTaken() {
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(QString, taken);
    const auto time = DailySchedule::Time::parse(hour, minute);
    QCOMPARE(time ? time->text() : QString(), taken);
}

void TestDailySchedule::planningReplacesTheTimer() {
    const DailySchedule daily(QStringLiteral("/opt/my app/veritam"), QStringLiteral("/data 100%/"));
    QCOMPARE(daily.plan(*DailySchedule::Time::parse(QStringLiteral("9"), QStringLiteral("5"))),
             QString());
    QVERIFY2(timer().contains(QStringLiteral("OnCalendar=*-*-* 09:05:00\nPersistent=true\n")),
             qPrintable(timer()));
    QVERIFY2(service().contains(
                 QStringLiteral("fi' \"/opt/my app/veritam\" --files \"/data 100%%/\"\n")),
             qPrintable(service()));
    QCOMPARE(calls(),
             texts({"--user daemon-reload", "--user enable --now veritam-schedule.timer"}));
    // Without a systemd user manager: the same start as a crontab line.
    QCOMPARE(
        daily.crontabLine(*DailySchedule::Time::parse(QStringLiteral("9"), QStringLiteral("5"))),
        QStringLiteral("5 9 * * * '/opt/my app/veritam' --autoload --headless "
                       "--files '/data 100\\%/'"));

    // The second time the old timer goes first; one timer stays, with the later time.
    QFile::remove(m_bin.path() + QStringLiteral("/calls.log"));
    QCOMPARE(daily.plan(*DailySchedule::Time::parse(QStringLiteral("21"), QStringLiteral("30"))),
             QString());
    QCOMPARE(calls(),
             texts({"--user disable --now veritam-schedule.timer", "--user daemon-reload",
                    "--user daemon-reload", "--user enable --now veritam-schedule.timer"}));
    QVERIFY(timer().contains(QStringLiteral("OnCalendar=*-*-* 21:30:00")));
    QCOMPARE(QDir(DailySchedule::unitFolder()).entryList(QDir::Files),
             texts({"veritam-schedule.service", "veritam-schedule.timer"}));
    QVERIFY2(DailySchedule::state().startsWith(
                 QStringLiteral("Automatická kontrola je naplánována denně v 21:30. Příští "
                                "spuštění: Fri 2026-12-11 09:05:00 CET. Zatím neproběhla.")),
             qPrintable(DailySchedule::state()));

    QCOMPARE(DailySchedule::remove(), QString());
    QVERIFY(QDir(DailySchedule::unitFolder()).entryList(QDir::Files).isEmpty());
    QCOMPARE(DailySchedule::state(), QStringLiteral("Automatická kontrola není naplánována."));
}

void TestDailySchedule::unitsPassSystemdsOwnChecks() {
    if (QStandardPaths::findExecutable(QStringLiteral("systemd-analyze")).isEmpty())
        QSKIP("systemd-analyze is not installed here; the unit files are not checked by systemd.");
    const DailySchedule daily(QStringLiteral("/opt/my app/veritam"), QStringLiteral("/data/"));
    QCOMPARE(daily.plan(*DailySchedule::Time::parse(QStringLiteral("9"), QStringLiteral("5"))),
             QString());
    const auto analyze = [](const QStringList& arguments) {
        QProcess p;
        p.start(QStringLiteral("systemd-analyze"), arguments);
        p.waitForFinished(30000);
        return std::pair{p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
    };
    const auto [calendar, calendarError] =
        analyze({QStringLiteral("calendar"), QStringLiteral("*-*-* 09:05:00")});
    QVERIFY2(calendar == 0, qPrintable(calendarError));
    // System mode: the user mode needs a running user manager, which a CI machine lacks.
    const auto [verified, verifyError] =
        analyze({QStringLiteral("verify"), QStringLiteral("--man=no"),
                 DailySchedule::unitFolder() + QStringLiteral("veritam-schedule.service"),
                 DailySchedule::unitFolder() + QStringLiteral("veritam-schedule.timer")});
    QVERIFY2(verified == 0, qPrintable(verifyError));
}

void TestDailySchedule::commandLine() {
    const auto run = [](const QStringList& arguments) {
        QProcess p;
        p.start(binFolder() + QStringLiteral("/veritam"), arguments);
        p.waitForFinished(30000);
        return std::pair{p.exitCode(),
                         QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
    };
    TempDataFolder folder;
    const auto [planned, plannedText] = run({QStringLiteral("--schedule"), QStringLiteral("6:45"),
                                             QStringLiteral("--files"), folder.path()});
    QVERIFY2(planned == 0, qPrintable(plannedText));
    QVERIFY(timer().contains(QStringLiteral("OnCalendar=*-*-* 06:45:00")));
    QVERIFY2(service().contains(QStringLiteral("/veritam\" --files \"") + folder.path()),
             qPrintable(service()));

    // A time that is none changes nothing.
    const QString before = timer();
    for (const char* wrong : {"25:00", "devět", "9"}) {
        const auto [refused, refusedText] =
            run({QStringLiteral("--schedule"), QString::fromUtf8(wrong)});
        QCOMPARE(refused, 2);
        QVERIFY2(refusedText.contains(QStringLiteral("neplatí")), qPrintable(refusedText));
    }
    QCOMPARE(timer(), before);

    const auto [state, stateText] = run({QStringLiteral("--schedule")});
    QCOMPARE(state, 0);
    QVERIFY2(
        stateText.startsWith(QStringLiteral("Automatická kontrola je naplánována denně v 06:45.")),
        qPrintable(stateText));
    const auto [off, offText] = run({QStringLiteral("--schedule"), QStringLiteral("off")});
    QCOMPARE(off, 0);
    QCOMPARE(timer(), QString());
}

void TestDailySchedule::window() {
    RecordingMessages messages;
    TAuto_Form form(messages, QStringLiteral("/data/"));
    QCOMPARE(form.Edit1->text(), QStringLiteral("09"));
    QCOMPARE(form.Edit2->text(), QStringLiteral("00"));
    form.Edit1->setText(QStringLiteral("7"));
    form.Edit2->setText(QStringLiteral("5"));
    form.Button1->click();
    QCOMPARE(form.Edit1->text(), QStringLiteral("07")); // padded where the user sees it
    QCOMPARE(form.Edit2->text(), QStringLiteral("05"));
    QVERIFY(timer().contains(QStringLiteral("OnCalendar=*-*-* 07:05:00")));
    QCOMPARE(messages.messages.size(), 2); // what will happen, then the state
    QVERIFY(messages.messages[1].startsWith(
        QStringLiteral("Automatická kontrola je naplánována denně v 07:05.")));

    // An hour that is none is refused before the timer is touched.
    form.Edit1->setText(QStringLiteral("25"));
    form.Button1->click();
    QVERIFY(messages.messages.last().contains(QStringLiteral("neplatí")));
    QVERIFY(timer().contains(QStringLiteral("OnCalendar=*-*-* 07:05:00")));

    // "Plánovač úloh" shows the state and offers the removal.
    answerNextQuestion(QMessageBox::Yes);
    form.Button2->click();
    QCOMPARE(timer(), QString());
    form.Button2->click();
    QCOMPARE(messages.messages.last(), QStringLiteral("Automatická kontrola není naplánována."));
}

QTEST_MAIN(TestDailySchedule)
#include "tst_DailySchedule.moc"
