#pragma once

#include <QByteArray>
#include <QMap>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkReply;

namespace veritam {

/// Fetches the four code-list archives from the authority's code-list service, one after
/// the other, and unpacks each one's CSV file.
class CodeListDownload : public QObject {
    Q_OBJECT
public:
    /// The service's address; VERITAM_CODELISTS_URL replaces it (tests use loopback).
    static QUrl serviceUrl();
    static constexpr int kTransferTimeoutMs = 60000;

    explicit CodeListDownload(QUrl baseUrl, QObject* parent = nullptr);

    void start();
    void abort();

signals:
    /// `done` of `total` bytes of the list being fetched, `list` its position (0..3).
    void progress(int list, qint64 done, qint64 total);
    /// The CSV bytes of every list, by list name.
    void finished(const QMap<QString, QByteArray>& files);
    /// A Czech message saying which archive and why.
    void failed(const QString& message);

private:
    void fetchNext();
    void onReplyFinished();

    QUrl m_baseUrl;
    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QMap<QString, QByteArray> m_files;
    int m_next = 0;
    bool m_aborted = false;
};

} // namespace veritam
