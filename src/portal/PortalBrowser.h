#pragma once

#include "portal/PortalError.h"
#include "portal/PortalSettings.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <chrono>

class QWebEngineView;
class QWebEngineLoadingInfo;

namespace veritam {

class UserMessages;

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
    /// submits nothing, and a wait that never ends). Registers the snapshots' address scheme.
    static void prepareEngine();

    QWebEngineView& view() const { return m_view; }
    UserMessages& messages() const { return m_messages; }
    /// Where the portal lives; the pages of its domains alone end a wait.
    const PortalSettings& settings() const { return m_settings; }
    void setSettings(const PortalSettings& settings) { m_settings = settings; }

    /// Set when a completed page of the authority's domain arrived; cleared by each
    /// navigating caller before it navigates and at the end of each wait.
    bool PageLoaded = false;

    /// Starts loading and returns at once.
    void Navigate(const QUrl& address);
    /// Processes events until a page of the authority's domain has completed, then clears
    /// the flag. Throws PortalError when a page of the domain fails to load, when none
    /// completes within the time limit, or when the wait is interrupted.
    void WaitForPage();
    /// Ends the wait under way, and any that starts before clearInterrupt(), at once.
    void interrupt() { m_interrupted = true; }
    void clearInterrupt() { m_interrupted = false; }
    void setPageTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }
    /// All the time spent in WaitForPage so far, for the benchmarks.
    std::chrono::nanoseconds waitedTime() const { return m_waited; }
    /// Ends the wait under way with an error: a page of the domain failed to load.
    void failLoad(const QString& message, PortalError::Cause cause = PortalError::Cause::Page);

    /// Runs a script in the application's world of the current page and returns its
    /// value. Throws PortalError when the page does not answer.
    QVariant runScript(const QString& script);

signals:
    /// A main-frame document completed (or failed); `url` is its address. `failure` is
    /// empty for a page that loaded, else what went wrong; `httpStatus` is 0 without one;
    /// `unreachable`: the host could not be reached or broke off its answer.
    void documentCompleted(const QUrl& url, const QString& failure, int httpStatus,
                           bool unreachable);

private:
    /// Stops the page load under way and waits until the engine has stopped it.
    void stopLoading();
    void onLoadingChanged(const QWebEngineLoadingInfo& info);

    QWebEngineView& m_view;
    UserMessages& m_messages;
    std::chrono::milliseconds m_timeLimit = kPageTimeLimit;
    PortalSettings m_settings;
    QString m_loadFailure;
    PortalError::Cause m_failureCause = PortalError::Cause::Page;
    bool m_interrupted = false;
    std::chrono::nanoseconds m_waited{0};
};

} // namespace veritam
