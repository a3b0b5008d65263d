#include "app/CodeListDownload.h"

#include "platform/ZipArchive.h"
#include "store/CodeListImporter.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace veritam {

namespace {

const char* const kServiceUrl = "https://services.cuzk.gov.cz/sestavy/cis/";

} // namespace

QUrl CodeListDownload::serviceUrl() {
    const QByteArray overridden = qgetenv("VERITAM_CODELISTS_URL");
    return QUrl(QString::fromUtf8(overridden.isEmpty() ? QByteArray(kServiceUrl) : overridden));
}

CodeListDownload::CodeListDownload(QUrl baseUrl, QObject* parent)
    : QObject(parent)
    , m_baseUrl(std::move(baseUrl)) {
    if (!m_baseUrl.path().endsWith(u'/'))
        m_baseUrl.setPath(m_baseUrl.path() + u'/');
}

void CodeListDownload::start() {
    m_files.clear();
    m_next = 0;
    m_aborted = false;
    fetchNext();
}

void CodeListDownload::abort() {
    m_aborted = true;
    if (m_reply)
        m_reply->abort();
}

void CodeListDownload::fetchNext() {
    const QString list = CodeListImporter::listNames().at(m_next);
    QNetworkRequest request(m_baseUrl.resolved(QUrl(list + QStringLiteral(".zip"))));
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_network.get(request);
    const int index = m_next;
    connect(m_reply, &QNetworkReply::downloadProgress, this,
            [this, index](qint64 done, qint64 total) { emit progress(index, done, total); });
    connect(m_reply, &QNetworkReply::finished, this, &CodeListDownload::onReplyFinished);
}

void CodeListDownload::onReplyFinished() {
    QNetworkReply* reply = m_reply;
    reply->deleteLater();
    const QString list = CodeListImporter::listNames().at(m_next);
    if (m_aborted) {
        emit failed(QStringLiteral("Stahování číselníků bylo přerušeno."));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        emit failed(QStringLiteral("Číselník %1 nelze stáhnout z %2: %3")
                        .arg(list, reply->url().toDisplayString(), reply->errorString()));
        return;
    }
    try {
        m_files.insert(list, ZipArchive::extract(reply->readAll(), list + QStringLiteral(".csv")));
    } catch (const ZipError& e) {
        emit failed(QStringLiteral("Archiv %1.zip je poškozený nebo neúplný: %2")
                        .arg(list, QString::fromUtf8(e.what())));
        return;
    }
    if (++m_next < CodeListImporter::listNames().size())
        fetchNext();
    else
        emit finished(m_files);
}

} // namespace veritam
