#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace veritam {

/// The daily automatic check as a systemd user timer: `veritam-schedule.timer` with its
/// service `veritam-schedule.service` in the user's systemd folder, driven with
/// `systemctl --user`. The service starts the program that wrote it with `--autoload` in the
/// user's graphical session and with `--autoload --headless` where there is none.
class DailySchedule {
public:
    struct Time {
        int hour = 9;
        int minute = 0;
        /// Both as typed (one digit gets its leading zero); nothing unless the hour is 0–23
        /// and the minute 0–59.
        static std::optional<Time> parse(const QString& hour, const QString& minute);
        QString text() const; ///< "09:05"
    };

    /// `programPath`: the program the service starts; `dataFolder`: passed on with --files
    /// when not empty.
    DailySchedule(QString programPath, QString dataFolder = {});

    /// $XDG_CONFIG_HOME/systemd/user, else ~/.config/systemd/user.
    static QString unitFolder();
    QString timerText(const Time& time) const;
    QString serviceText() const;

    /// Whether a systemd user manager runs for this user (else a crontab line is offered).
    static bool userManagerRuns();
    /// The line a user without a systemd user manager may put in the crontab.
    QString crontabLine(const Time& time) const;

    /// Replaces the timer: the old one stopped and removed, the new files written, the
    /// timer enabled. Empty on success, else what went wrong.
    QString plan(const Time& time) const;
    /// Stops and removes the timer. Empty on success, else what went wrong.
    static QString remove();
    /// The timer's state in a sentence or two: next run, last run and its result, or that
    /// none is set.
    static QString state();

private:
    QString m_program;
    QString m_dataFolder;
};

} // namespace veritam
