#include "settings/DailySchedule.h"

#include "platform/DataFolder.h"
#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace veritam {

namespace {

const QString kTimer = QStringLiteral("veritam-schedule.timer");
const QString kService = QStringLiteral("veritam-schedule.service");

/// One argument of an ExecStart line: in double quotes, with what systemd would expand or
/// unquote (a backslash, a quote, "$", "%") escaped.
QString quoted(QString text) {
    text.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'"', QStringLiteral("\\\""))
        .replace(u'$', QStringLiteral("$$"))
        .replace(u'%', QStringLiteral("%%"));
    return u'"' + text + u'"';
}

struct Result {
    int exitCode = -1;
    QString output;
    QString error;
};

Result systemctl(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("systemctl"), QStringList{QStringLiteral("--user")} + arguments);
    if (!process.waitForFinished(15000)) {
        if (process.error() == QProcess::FailedToStart)
            return {-1, {}, QStringLiteral("příkaz systemctl v systému není")};
        process.kill();
        process.waitForFinished();
        return {-1, {}, QStringLiteral("příkaz systemctl neodpověděl")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError()).trimmed()};
}

/// "Key=Value" lines of `systemctl show`.
QString property(const QString& shown, const QString& key) {
    for (const QString& line : shown.split(u'\n'))
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1).trimmed();
    return {};
}

bool unset(const QString& value) {
    return value.isEmpty() || value == QLatin1String("n/a") || value == QLatin1String("0");
}

} // namespace

std::optional<DailySchedule::Time> DailySchedule::Time::parse(const QString& hour,
                                                              const QString& minute) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,2}$"));
    if (!digits.match(hour.trimmed()).hasMatch() || !digits.match(minute.trimmed()).hasMatch())
        return std::nullopt;
    const Time t{hour.trimmed().toInt(), minute.trimmed().toInt()};
    if (t.hour > 23 || t.minute > 59)
        return std::nullopt;
    return t;
}

QString DailySchedule::Time::text() const {
    return QStringLiteral("%1:%2").arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
}

DailySchedule::DailySchedule(QString programPath, QString dataFolder)
    : m_program(std::move(programPath))
    , m_dataFolder(std::move(dataFolder)) {}

QString DailySchedule::unitFolder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/systemd/user/");
}

QString DailySchedule::timerText(const Time& time) const {
    return QStringLiteral("[Unit]\n"
                          "Description=Veritam: denní kontrola sledovaných nemovitostí v %1\n"
                          "\n"
                          "[Timer]\n"
                          "OnCalendar=*-*-* %1:00\n"
                          "Persistent=true\n"
                          "Unit=%2\n"
                          "\n"
                          "[Install]\n"
                          "WantedBy=timers.target\n")
        .arg(time.text(), kService);
}

QString DailySchedule::serviceText() const {
    // With a graphical session the check runs in a window the user sees; on a server, or
    // before anyone has logged in, without one.
    QString arguments = quoted(m_program);
    if (!m_dataFolder.isEmpty())
        arguments += QStringLiteral(" --files ") + quoted(m_dataFolder);
    return QStringLiteral(
               "[Unit]\n"
               "Description=Veritam: denní kontrola sledovaných nemovitostí\n"
               "\n"
               "[Service]\n"
               "Type=exec\n"
               "# 1: changes were found and recorded, which is what the check is for.\n"
               "SuccessExitStatus=1\n"
               "ExecStart=/bin/sh -c 'if [ -n \"$${DISPLAY}$${WAYLAND_DISPLAY}\" ]; then exec "
               "\"$$0\" --autoload \"$$@\"; else exec \"$$0\" --autoload --headless \"$$@\"; fi' "
               "%1\n")
        .arg(arguments);
}

bool DailySchedule::userManagerRuns() {
    return systemctl({QStringLiteral("show-environment")}).exitCode == 0;
}

QString DailySchedule::crontabLine(const Time& time) const {
    // One word for the shell, whatever the text holds.
    const auto word = [](QString text) {
        return u'\'' + text.replace(u'\'', QStringLiteral("'\\''")) + u'\'';
    };
    QString line = QStringLiteral("%1 %2 * * * %3 --autoload --headless")
                       .arg(time.minute)
                       .arg(time.hour)
                       .arg(word(m_program));
    if (!m_dataFolder.isEmpty())
        line += QStringLiteral(" --files ") + word(m_dataFolder);
    return line.replace(u'%', QStringLiteral("\\%")); // cron ends a command at "%"
}

QString DailySchedule::plan(const Time& time) const {
    if (const QString failed = remove(); !failed.isEmpty())
        return failed;
    const QString folder = unitFolder();
    if (!DataFolder::createWithParents(folder))
        return QStringLiteral("Složku %1 nelze vytvořit.").arg(folder);
    try {
        DurableFile::replace(folder + kService, serviceText().toUtf8());
        DurableFile::replace(folder + kTimer, timerText(time).toUtf8());
    } catch (const FileError& e) {
        return e.message();
    }
    systemctl({QStringLiteral("daemon-reload")});
    const Result enabled = systemctl({QStringLiteral("enable"), QStringLiteral("--now"), kTimer});
    if (enabled.exitCode != 0)
        return QStringLiteral(
                   "Časovač se nepodařilo zapnout (systemctl --user enable --now %1): %2")
            .arg(kTimer, enabled.error);
    return {};
}

QString DailySchedule::remove() {
    const QString folder = unitFolder();
    if (!QFileInfo::exists(folder + kTimer) && !QFileInfo::exists(folder + kService))
        return {};
    // Stopped and taken out of the manager before its files go.
    systemctl({QStringLiteral("disable"), QStringLiteral("--now"), kTimer});
    for (const QString& unit : {kTimer, kService})
        if (QFileInfo::exists(folder + unit) && !QFile::remove(folder + unit))
            return QStringLiteral("Soubor %1 nelze odstranit.").arg(folder + unit);
    systemctl({QStringLiteral("daemon-reload")});
    return {};
}

QString DailySchedule::state() {
    const QString folder = unitFolder();
    QFile timer(folder + kTimer);
    if (!timer.open(QIODevice::ReadOnly))
        return QStringLiteral("Automatická kontrola není naplánována.");
    static const QRegularExpression calendar(QStringLiteral("OnCalendar=\\S+ (\\d\\d:\\d\\d)"));
    const QString at = calendar.match(QString::fromUtf8(timer.readAll())).captured(1);
    QString text = QStringLiteral("Automatická kontrola je naplánována denně v %1.").arg(at);
    const Result shown = systemctl({QStringLiteral("show"), kTimer, QStringLiteral("-p"),
                                    QStringLiteral("NextElapseUSecRealtime"), QStringLiteral("-p"),
                                    QStringLiteral("LastTriggerUSec"), QStringLiteral("-p"),
                                    QStringLiteral("ActiveState")});
    if (shown.exitCode != 0)
        return text + QStringLiteral(" Stav časovače nelze zjistit: ") + shown.error;
    if (property(shown.output, QStringLiteral("ActiveState")) != QLatin1String("active"))
        text += QStringLiteral(" Časovač ale není zapnutý; naplánujte kontrolu znovu.");
    const QString next = property(shown.output, QStringLiteral("NextElapseUSecRealtime"));
    if (!unset(next))
        text += QStringLiteral(" Příští spuštění: %1.").arg(next);
    const QString last = property(shown.output, QStringLiteral("LastTriggerUSec"));
    if (unset(last)) {
        text += QStringLiteral(" Zatím neproběhla.");
    } else {
        const Result service = systemctl(
            {QStringLiteral("show"), kService, QStringLiteral("-p"), QStringLiteral("Result")});
        const QString result = property(service.output, QStringLiteral("Result"));
        text += QStringLiteral(" Naposledy: %1 (%2).")
                    .arg(last, result == QLatin1String("success")
                                   ? QStringLiteral("v pořádku")
                                   : QStringLiteral("výsledek %1").arg(result));
    }
    return text;
}

} // namespace veritam
