// Portal automation against the simulator on loopback, medians over repeated runs:
//   one DOM routine call                goal < 5 ms
//   one page load and wait              goal < 100 ms
//   one whole parcel lookup after login goal < 400 ms
#include "BenchSupport.h"
#include "portal/DomRoutines.h"
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
    bench::prepareBrowserEnvironment();
    QApplication app(argc, argv);

    QProcess simulator;
    if (!bench::startSimulator(
            simulator, QStringLiteral(VERITAM_SOURCE_DIR "/tools/portal-sim/demo-state.json")))
        return 1;

    QTemporaryDir data;
    const QString folder = data.path() + u'/';
    PortalCredentials::save(folder, QStringLiteral("demo"), QStringLiteral("demo"));
    bench::StderrMessages messages;
    TBrowser_Form form(messages, folder);
    PortalBrowser& browser = form.browser();
    PortalLogin(browser, folder);

    const auto load = [&] {
        browser.PageLoaded = false;
        browser.Navigate(browser.settings().searchPage(RecordKind::Parcel));
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
