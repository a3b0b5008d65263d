#include "PortalSimulator.h"

#include "TestSupport.h"

#include "platform/IniFile.h"
#include "portal/PortalBrowser.h"
#include "portal/PortalCredentials.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>

namespace veritam::test {

PortalSimulator::PortalSimulator(const QJsonObject& state) {
    setState(state);
    m_process.start(binFolder() + QStringLiteral("/veritam-portal-sim"),
                    {QStringLiteral("--state"), m_dir.filePath(QStringLiteral("state.json")),
                     QStringLiteral("--log"), m_dir.filePath(QStringLiteral("requests.log")),
                     QStringLiteral("--until-stdin-closes")});
    if (!m_process.waitForReadyRead(10000))
        qFatal("the portal simulator did not start");
    m_port = QString::fromUtf8(m_process.readLine()).section(u' ', 2).trimmed().toInt();
    qputenv("VERITAM_PORTAL_VIEWER", viewerBase().toUtf8());
    qputenv("VERITAM_PORTAL_LOGIN",
            QStringLiteral("http://login.portal.test:%1").arg(m_port).toUtf8());
    qputenv("VERITAM_PORTAL_DOMAIN", "portal.test");
}

PortalSimulator::~PortalSimulator() {
    stop();
}

void PortalSimulator::stop() {
    m_process.kill();
    m_process.waitForFinished();
}

void PortalSimulator::setState(const QJsonObject& state) {
    QFile file(m_dir.filePath(QStringLiteral("state.json")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the simulator's state");
    file.write(QJsonDocument(state).toJson());
}

QString PortalSimulator::viewerBase() const {
    return QStringLiteral("http://nahlizeni.portal.test:%1").arg(m_port);
}

QList<QJsonObject> PortalSimulator::requests() const {
    QFile file(m_dir.filePath(QStringLiteral("requests.log")));
    QList<QJsonObject> result;
    if (!file.open(QIODevice::ReadOnly))
        return result;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty())
            result.append(QJsonDocument::fromJson(line).object());
    return result;
}

void PortalSimulator::clearLog() {
    QFile::remove(m_dir.filePath(QStringLiteral("requests.log")));
}

void saveAccount(const QString& dataFolder, const QString& name, const QString& password) {
    PortalCredentials::save(dataFolder, name, password);
    IniFile::write(PortalCredentials::settingsFile(dataFolder), QStringLiteral("portal"),
                   QStringLiteral("prodleva_s"), QStringLiteral("0"));
    // The notice before the first portal use has been read.
    IniFile::write(PortalCredentials::settingsFile(dataFolder), QStringLiteral("upozorneni"),
                   QStringLiteral("zobrazeno"), QStringLiteral("1"));
}

QProcessEnvironment programEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(
        QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
        QStringLiteral("--host-resolver-rules=\"MAP *.portal.test 127.0.0.1\" --disable-gpu"));
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

ProgramRun runProgram(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = programEnvironment();
    env.remove(QStringLiteral("DISPLAY")); // the entries without windows need no display
    process.setProcessEnvironment(env);
    process.start(binFolder() + QStringLiteral("/veritam"), arguments);
    if (!process.waitForFinished(180000))
        qFatal("the program did not end");
    QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, lines,
            QString::fromUtf8(process.readAllStandardError())};
}

void prepareBrowserEnvironment() {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            "--host-resolver-rules=\"MAP *.portal.test 127.0.0.1, MAP *.evil.example 127.0.0.1\" "
            "--disable-gpu");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    PortalBrowser::prepareEngine();
}

} // namespace veritam::test
