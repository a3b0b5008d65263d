#include "portal/PortalBrowser.h"

#include "portal/SnapshotView.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>

namespace veritam {

namespace {

/// How long a DOM routine may take; a page that does not answer in this time is stuck.
constexpr std::chrono::milliseconds kScriptTimeLimit{15000};

} // namespace

void PortalBrowser::prepareEngine() {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--disable-ipc-flooding-protection"))
        flags += (flags.isEmpty() ? "" : " ") + QByteArray("--disable-ipc-flooding-protection");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    SnapshotView::registerScheme();
}

PortalBrowser::PortalBrowser(QWebEngineView& view, UserMessages& messages, QObject* parent)
    : QObject(parent)
    , m_view(view)
    , m_messages(messages) {
    connect(view.page(), &QWebEnginePage::loadingChanged, this, &PortalBrowser::onLoadingChanged);
}

void PortalBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        emit documentCompleted(info.url(), QString(), 0, false);
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus: {
        const bool http = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain;
        const QString failure =
            http ? QStringLiteral("HTTP %1").arg(info.errorCode()) : info.errorString();
        // No connection, no name, or a connection that broke before a whole answer came
        // (the HTTP domain without a status: an empty or cut answer).
        const bool unreachable =
            info.errorDomain() == QWebEngineLoadingInfo::ConnectionErrorDomain ||
            info.errorDomain() == QWebEngineLoadingInfo::DnsErrorDomain ||
            info.errorDomain() == QWebEngineLoadingInfo::HttpErrorDomain;
        emit documentCompleted(info.url(), failure.isEmpty() ? QStringLiteral("?") : failure,
                               http ? info.errorCode() : 0, unreachable);
        break;
    }
    default: // started, or stopped because another navigation replaced it
        break;
    }
}

void PortalBrowser::Navigate(const QUrl& address) {
    m_loadFailure.clear();
    m_view.load(address);
}

void PortalBrowser::failLoad(const QString& message, PortalError::Cause cause) {
    m_loadFailure = message;
    m_failureCause = cause;
}

void PortalBrowser::stopLoading() {
    // The stop takes effect in the engine later; a navigation begun before it has would be
    // the one stopped. So the stopped load is waited out, briefly.
    QEventLoop loop;
    connect(&m_view, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    m_view.stop();
    loop.exec();
    PageLoaded = false;
    m_loadFailure.clear();
}

void PortalBrowser::WaitForPage() {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!PageLoaded && m_loadFailure.isEmpty()) {
        if (m_interrupted) {
            m_waited += std::chrono::nanoseconds(elapsed.nsecsElapsed());
            stopLoading();
            throw PortalError(QStringLiteral("Přerušeno."), PortalError::Cause::Interrupted);
        }
        if (std::chrono::milliseconds(elapsed.elapsed()) >= m_timeLimit) {
            const QString address = m_view.url().toDisplayString();
            m_waited += std::chrono::nanoseconds(elapsed.nsecsElapsed());
            stopLoading();
            throw PortalError(QStringLiteral("Stránka %1 se nenačetla do %2 s.")
                                  .arg(address)
                                  .arg(m_timeLimit.count() / 1000),
                              PortalError::Cause::TimeLimit);
        }
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        connect(this, &PortalBrowser::documentCompleted, &loop, &QEventLoop::quit,
                Qt::QueuedConnection);
        // -1: the application is ending; no loop would wait any more, so neither do we.
        if (loop.exec() == -1)
            throw PortalError(QStringLiteral("Program se ukončuje."),
                              PortalError::Cause::Interrupted);
    }
    PageLoaded = false;
    m_waited += std::chrono::nanoseconds(elapsed.nsecsElapsed());
    if (!m_loadFailure.isEmpty()) {
        const QString failure = m_loadFailure;
        m_loadFailure.clear();
        throw PortalError(failure, m_failureCause);
    }
}

QVariant PortalBrowser::runScript(const QString& script) {
    // The page may go away before it answers; the shared state tells the callback.
    struct Answer {
        bool done = false;
        QVariant value;
    };
    const auto answer = std::make_shared<Answer>();
    QEventLoop loop;
    QTimer::singleShot(kScriptTimeLimit, &loop, &QEventLoop::quit);
    QPointer<QEventLoop> guard(&loop);
    m_view.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                 [answer, guard](const QVariant& value) {
                                     answer->done = true;
                                     answer->value = value;
                                     if (guard)
                                         guard->quit();
                                 });
    if (!answer->done)
        loop.exec();
    if (!answer->done)
        throw PortalError(
            QStringLiteral("Stránka %1 neodpovídá.").arg(m_view.url().toDisplayString()));
    return answer->value;
}

} // namespace veritam
