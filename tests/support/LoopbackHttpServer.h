#pragma once

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

namespace veritam::test {

/// A real HTTP/1.1 server on 127.0.0.1 for what the program fetches from outside:
/// each path answers with its status and body; unknown paths get 404.
class LoopbackHttpServer : public QObject {
    Q_OBJECT
public:
    LoopbackHttpServer();
    QUrl url(const QString& path = QStringLiteral("/")) const;
    void serve(const QString& path, const QByteArray& body, int status = 200);
    /// The paths requested, in order.
    QStringList requests;

private:
    struct Answer {
        int status;
        QByteArray body;
    };
    void answer(QTcpSocket* socket);
    QTcpServer m_server;
    QMap<QString, Answer> m_answers;
};

/// A ZIP archive holding one entry.
QByteArray makeZip(const QString& entryName, const QByteArray& content);

} // namespace veritam::test
