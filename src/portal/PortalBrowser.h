#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <chrono>
#include <stdexcept>

class QWebEngineView;
class QWebEngineLoadingInfo;

namespace veritam {

class UserMessages;

/// A portal operation that cannot go on: a page that failed or never completed, a
/// control that is missing, a document that is no HTML document. The message is the
/// user's to read.
class PortalError : public std::runtime_error {
public:
    explicit PortalError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

/// The one embedded browser every portal operation uses, with its page-loaded flag.
/// Pages load without scripts, images or error pages of the engine's own; the
/// application's DOM routines run in a script world of their own.
class PortalBrowser : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kPageTimeLimit{60000};

    PortalBrowser(QWebEngineView& view, UserMessages& messages, QObject* parent = nullptr);

    /// Adds the engine switches the portal work needs to QTWEBENGINE_CHROMIUM_FLAGS; call it
    /// before the application object exists. Chromium otherwise drops page-initiated
    /// navigations beyond 200 in 10 s, which a run of quick lookups reaches (a click that
    /// submits nothing, and a wait that never ends).
    static void prepareEngine();

    QWebEngineView& view() const { return m_view; }
    UserMessages& messages() const { return m_messages; }

    /// Set when a completed page of the authority's domain arrived; cleared by each
    /// navigating caller before it navigates and at the end of each wait.
    bool PageLoaded = false;

    /// Starts loading and returns at once.
    void Navigate(const QUrl& address);
    /// Processes events until a page of the authority's domain has completed, then clears
    /// the flag. Throws PortalError when a page of the domain fails to load or when none
    /// completes within the time limit.
    void WaitForPage();
    void setPageTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }
    /// All the time spent in WaitForPage so far, for the benchmarks.
    std::chrono::nanoseconds waitedTime() const { return m_waited; }
    /// Ends the wait under way with an error: a page of the domain failed to load.
    void failLoad(const QString& message);

    /// Runs a script in the application's world of the current page and returns its
    /// value. Throws PortalError when the page does not answer.
    QVariant runScript(const QString& script);

    /// Keeps a second portal operation out while one is under way, instead of letting
    /// both drive the one browser. Throws PortalError when another one runs.
    class Operation {
    public:
        explicit Operation(PortalBrowser& browser);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;

    private:
        PortalBrowser& m_browser;
    };
    bool busy() const { return m_busy; }

signals:
    /// A main-frame document completed (or failed); `url` is its address.
    void documentCompleted(const QUrl& url, bool ok);

private:
    void onLoadingChanged(const QWebEngineLoadingInfo& info);

    QWebEngineView& m_view;
    UserMessages& m_messages;
    std::chrono::milliseconds m_timeLimit = kPageTimeLimit;
    QString m_loadFailure;
    bool m_busy = false;
    std::chrono::nanoseconds m_waited{0};
};

} // namespace veritam
