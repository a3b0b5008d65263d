#include "LoopbackHttpServer.h"

#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <zip.h>

namespace veritam::test {

LoopbackHttpServer::LoopbackHttpServer() {
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        qFatal("cannot listen on loopback");
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LoopbackHttpServer::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LoopbackHttpServer::serve(const QString& path, const QByteArray& body, int status) {
    m_answers.insert(path, {status, body});
}

void LoopbackHttpServer::answer(QTcpSocket* socket) {
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    if (!request.contains("\r\n\r\n")) {
        socket->setProperty("request", request);
        return;
    }
    const QString path = QString::fromLatin1(request.split(' ').value(1));
    requests.append(path);
    const Answer a = m_answers.value(path, {404, QByteArray("not found")});
    socket->write("HTTP/1.1 " + QByteArray::number(a.status) +
                  " X\r\nContent-Length: " + QByteArray::number(a.body.size()) +
                  "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n" +
                  a.body);
    socket->disconnectFromHost();
}

QByteArray makeZip(const QString& entryName, const QByteArray& content) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("a.zip")));
    int error = 0;
    zip_t* archive = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        qFatal("zip_open failed");
    zip_source_t* source = zip_source_buffer(archive, content.constData(),
                                             static_cast<zip_uint64_t>(content.size()), 0);
    if (zip_file_add(archive, entryName.toUtf8().constData(), source, ZIP_FL_OVERWRITE) < 0 ||
        zip_close(archive) != 0)
        qFatal("zip writing failed");
    QFile file(dir.filePath(QStringLiteral("a.zip")));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace veritam::test
