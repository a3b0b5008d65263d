#pragma once

#include "platform/UserMessages.h"
#include "portal/PortalBrowser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace veritam::bench {

/// Messages of the code under measurement go to standard error, out of the figures.
class StderrMessages : public UserMessages {
public:
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    void showError(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

/// The median wall time of `runs` runs of `work`, in milliseconds.
inline double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

/// One figure; a goal of 0 means the figure is for information only.
inline void report(const char* what, double ms, double goalMs = 0) {
    if (goalMs <= 0)
        std::printf("%-48s %9.2f ms\n", what, ms);
    else
        std::printf("%-48s %9.2f ms   (goal < %.0f ms)%s\n", what, ms, goalMs,
                    ms < goalMs ? "" : "   MISSED");
    std::fflush(stdout);
}

/// The code lists to measure with: `VERITAM_CODELISTS_DIR` in the environment, else the
/// authority's whole lists where the build was told they lie, else the tests' small lists,
/// so that the benchmarks run from a bare clone too. Says which on standard error.
inline QString codeListFolder() {
    QString folder = qEnvironmentVariable("VERITAM_CODELISTS_DIR");
    if (folder.isEmpty())
        folder = QStringLiteral(VERITAM_CODELISTS_DIR);
    if (!QFileInfo::exists(folder + QStringLiteral("/UI_CAST_OBCE.csv")))
        folder = QStringLiteral(VERITAM_FIXTURE_CODELISTS_DIR);
    std::fprintf(stderr, "code lists: %s\n", qPrintable(QDir::cleanPath(folder)));
    return folder;
}

/// Starts the portal simulator on `statePath` and points the program's portal addresses
/// at it. Returns false when it does not start.
inline bool startSimulator(QProcess& simulator, const QString& statePath) {
    simulator.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veritam-portal-sim"),
                    {QStringLiteral("--state"), statePath, QStringLiteral("--until-stdin-closes")});
    if (!simulator.waitForReadyRead(10000))
        return false;
    const int port = QString::fromUtf8(simulator.readLine()).section(u' ', 2).trimmed().toInt();
    qputenv("VERITAM_PORTAL_VIEWER",
            QStringLiteral("http://nahlizeni.portal.test:%1").arg(port).toUtf8());
    qputenv("VERITAM_PORTAL_LOGIN",
            QStringLiteral("http://login.portal.test:%1").arg(port).toUtf8());
    qputenv("VERITAM_PORTAL_DOMAIN", "portal.test");
    return true;
}

/// The environment the embedded browser needs here: offscreen, the test domain on loopback,
/// no sandbox (benchmarks may run as root). Call before the application object exists.
inline void prepareBrowserEnvironment() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            "--host-resolver-rules=\"MAP *.portal.test 127.0.0.1, MAP *.evil.example 127.0.0.1\" "
            "--disable-gpu");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    PortalBrowser::prepareEngine();
}

} // namespace veritam::bench
