#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalSocket>

namespace veritam {

namespace {

/// The socket's name follows the folder, whichever way it was written.
QString serverName(const QString& dataFolder) {
    const QByteArray folder = QDir::cleanPath(QDir(dataFolder).absolutePath()).toUtf8();
    return QStringLiteral("veritam-") +
           QString::fromLatin1(
               QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(24));
}

constexpr int kWaitMs = 3000;

} // namespace

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent)
    , m_dataFolder(dataFolder)
    , m_lock(dataFolder + QStringLiteral("veritam.lock")) {
    // Never stale by age: a lock is taken over only when its process is gone.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryLock() {
    if (!m_lock.tryLock(0))
        return m_lock.error() != QLockFile::LockFailedError;
    QFile::setPermissions(m_dataFolder + QStringLiteral("veritam.lock"),
                          QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

bool SingleInstance::hand(Request request) const {
    QLocalSocket socket;
    socket.connectToServer(serverName(m_dataFolder));
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(request == Request::CheckAll ? "check\n" : "show\n");
    return socket.waitForBytesWritten(kWaitMs);
}

QString SingleInstance::busyText() {
    return QStringLiteral("Datovou složku právě používá jiná spuštěná kopie programu (například "
                          "automatická kontrola nebo načítání seznamu). Zkuste to znovu, až "
                          "skončí.");
}

void SingleInstance::listen() {
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption); // this user's starts only
    QLocalServer::removeServer(serverName(m_dataFolder));       // left by a killed copy
    if (!m_server->listen(serverName(m_dataFolder)))
        return;
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine().trimmed();
                    emit requested(line == "check" ? Request::CheckAll : Request::Show);
                }
            });
        }
    });
}

} // namespace veritam
