#include "portal/SnapshotView.h"

#include "portal/CzechContextMenu.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace veritam {

namespace {

const QByteArray kScheme = "snimek";

bool inside(const QString& folder, const QString& path) {
    return path == folder || path.startsWith(folder + u'/');
}

/// Lets through only the snapshot scheme (and data: addresses, which name nothing outside
/// the page): every address a snapshot names on the network or elsewhere on disk is blocked.
class SnapshotsOnly : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QString scheme = info.requestUrl().scheme();
        if (scheme != QLatin1String(kScheme) && scheme != QLatin1String("data"))
            info.block(true);
    }
};

/// Serves files of the data folder, a snapshot as UTF-8 whatever its page declares (the
/// declaration may lie beyond where a browser looks for it, and the program wrote UTF-8).
class DataFolderFiles : public QWebEngineUrlSchemeHandler {
public:
    DataFolderFiles(const QString& dataFolder, QObject* parent)
        : QWebEngineUrlSchemeHandler(parent)
        , m_folder(QDir::cleanPath(QDir(dataFolder).absolutePath())) {}

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const QString path = QDir::cleanPath(job->requestUrl().path());
        if (!inside(m_folder, path)) {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        QFile file(path);
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* content = new QBuffer(job);
        content->setData(file.readAll());
        job->reply(mimeType(path), content);
    }

private:
    static QByteArray mimeType(const QString& path) {
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
            return "text/html;charset=utf-8";
        if (suffix == QLatin1String("css"))
            return "text/css;charset=utf-8";
        if (suffix == QLatin1String("png"))
            return "image/png";
        if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
            return "image/jpeg";
        if (suffix == QLatin1String("gif"))
            return "image/gif";
        if (suffix == QLatin1String("svg"))
            return "image/svg+xml";
        return "application/octet-stream";
    }

    QString m_folder;
};

} // namespace

void SnapshotView::registerScheme() {
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

SnapshotView::SnapshotView(const QString& dataFolder, QWidget* parent)
    : QWebEngineView(parent) {
    // Off the record: nothing of a shown snapshot is kept.
    m_profile = new QWebEngineProfile(this);
    m_profile->setUrlRequestInterceptor(new SnapshotsOnly(m_profile));
    m_profile->installUrlSchemeHandler(kScheme, new DataFolderFiles(dataFolder, m_profile));
    QWebEngineSettings* settings = m_profile->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, true);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
    setPage(new QWebEnginePage(m_profile, this));
    CzechContextMenu::install(*this);
}

SnapshotView::~SnapshotView() {
    // The page must go before the profile it uses.
    delete page();
}

void SnapshotView::Navigate(const QString& localPath) {
    m_shown = localPath;
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    url.setPath(QDir::cleanPath(QFileInfo(localPath).absoluteFilePath()));
    load(url);
}

} // namespace veritam
