#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace veritam::test {

/// The portal simulator running on a free loopback port, with the program's portal
/// addresses pointed at it.
class PortalSimulator {
public:
    /// `state`: the simulator's JSON state (territories, municipalities, objects, ...).
    explicit PortalSimulator(const QJsonObject& state);
    ~PortalSimulator();

    void setState(const QJsonObject& state);
    /// Ends the simulator at once, as a portal that goes away: every later connection to its
    /// port is refused.
    void stop();
    int port() const { return m_port; }
    QString viewerBase() const;

    /// Every request so far, oldest first: {method, host, path, params}.
    QList<QJsonObject> requests() const;
    /// Forgets the requests so far.
    void clearLog();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

/// Saves the portal account in the data folder's settings file, with no pause between the
/// lookups of a run (the simulator needs none) and the notice about the terms read.
void saveAccount(const QString& dataFolder, const QString& name = QStringLiteral("jan"),
                 const QString& password = QStringLiteral("heslo"));

/// The Chromium switches the browser tests need; call before the application object
/// exists. Maps the simulator's test domain to loopback.
void prepareBrowserEnvironment();

/// The environment in which the program itself, started by a test, reaches the simulator.
QProcessEnvironment programEnvironment();

/// What the program printed and returned.
struct ProgramRun {
    int exitCode;      ///< -1 when it crashed
    QStringList lines; ///< standard output
    QString err;
};
/// Runs the program of the build tree with these arguments and no display, to its end.
ProgramRun runProgram(const QStringList& arguments);

} // namespace veritam::test
