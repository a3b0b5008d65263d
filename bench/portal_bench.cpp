// Portal automation against the simulator on loopback, medians over repeated runs:
//   one DOM routine call                goal < 5 ms
//   one page load and wait              goal < 100 ms
//   one whole parcel lookup after login goal < 400 ms
#include "BenchSupport.h"
#include "portal/DomRoutines.h"
#include "portal/PortalAddresses.h"
#include "portal/PortalBrowser.h"
#include "portal/PortalCredentials.h"
#include "portal/PortalLogin.h"
#include "portal/SearchDrivers.h"
#include "portal/TBrowser_Form.h"
#include "store/RecordKind.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace veritam;
using veritam::bench::medianMs;
using veritam::bench::report;

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            "--host-resolver-rules=\"MAP *.portal.test 127.0.0.1\" --disable-gpu");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    PortalBrowser::prepareEngine();
    QApplication app(argc, argv);

    QProcess simulator;
    simulator.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veritam-portal-sim"),
                    {QStringLiteral("--state"),
                     QStringLiteral(VERITAM_SOURCE_DIR "/tools/portal-sim/demo-state.json"),
                     QStringLiteral("--until-stdin-closes")});
    if (!simulator.waitForReadyRead(10000))
        return 1;
    const int port = QString::fromUtf8(simulator.readLine()).section(u' ', 2).trimmed().toInt();
    qputenv("VERITAM_PORTAL_VIEWER",
            QStringLiteral("http://nahlizeni.portal.test:%1").arg(port).toUtf8());
    qputenv("VERITAM_PORTAL_LOGIN",
            QStringLiteral("http://login.portal.test:%1").arg(port).toUtf8());
    qputenv("VERITAM_PORTAL_DOMAIN", "portal.test");

    QTemporaryDir data;
    const QString folder = data.path() + u'/';
    PortalCredentials::save(folder, QStringLiteral("demo"), QStringLiteral("demo"));
    bench::StderrMessages messages;
    TBrowser_Form form(messages);
    PortalBrowser& browser = form.browser();
    PortalLogin(browser, folder);

    const auto load = [&] {
        browser.PageLoaded = false;
        browser.Navigate(PortalAddresses::searchPage(RecordKind::Parcel));
        browser.WaitForPage();
    };
    load();
    report("one DOM routine call (FindElementById)",
           medianMs(101,
                    [&] {
                        DomRoutines::FindElementById(
                            browser, QStringLiteral("ctl00_bodyPlaceHolder_btnVyhledat"));
                    }),
           5);
    report("one page load and wait", medianMs(31, load), 100);
    report("one parcel lookup after login",
           medianMs(21,
                    [&] {
                        SearchParcel(QStringLiteral("602582"), QStringLiteral("2"),
                                     QStringLiteral("PKN"), QStringLiteral("4"),
                                     QStringLiteral("345"), QStringLiteral("6"), browser);
                    }),
           400);
    simulator.kill();
    simulator.waitForFinished();
    return 0;
}
