// A full check run of 300 parcels against the portal simulator on loopback:
//   the median time per object
//   the share of the run spent outside page loads and waits   goal < 5 %
//   the peak memory of the process tree (this process and the browser's)
#include "BenchSupport.h"

#include "check/FullCheckRun.h"
#include "check/RunWindow.h"
#include "entry/TInsert_Form.h"
#include "platform/IniFile.h"
#include "portal/BrowserSession.h"
#include "portal/PortalBrowser.h"
#include "portal/PortalCredentials.h"
#include "portal/TBrowser_Form.h"
#include "store/CodeListImporter.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"
#include "store/TDM1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

using namespace veritam;

namespace {

constexpr int kObjects = 300;

/// Timestamps of the records' run-log lines, to time each object.
class TimingWindow : public RunWindow {
public:
    void addLogLine(const QString& line) override {
        if (line.startsWith(QStringLiteral("Procházím")))
            starts.push_back(clock.nsecsElapsed());
    }
    void setStatus(const QString&, int, int, int) override {}
    void ZapnoutOvladaciZarizeni(bool) override {}
    void setCheckButtonCaption(const QString&) override {}
    void normParcels() override {}
    void clearSummary() override {}
    void addSummaryLine(const QString&) override {}
    bool summaryHasText() const override { return false; }
    void showSummary() override {}
    void quitApplication() override {}

    QElapsedTimer clock;
    std::vector<qint64> starts;
};

/// VmHWM of a process in kB, 0 when it cannot be read.
long peakKb(const QString& pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

/// This process and every descendant, by their parent ids.
long treePeakKb() {
    std::map<QString, QString> parentOf;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (pid.toInt() > 0 && stat.open(QIODevice::ReadOnly)) {
            const QByteArray text = stat.readAll();
            parentOf[pid] =
                QString::fromLatin1(text.mid(text.lastIndexOf(')') + 2).split(' ').value(1));
        }
    }
    const QString self = QString::number(::getpid());
    long total = 0;
    for (const auto& [pid, parent] : parentOf) {
        for (QString p = pid; !p.isEmpty() && p != QLatin1String("0") && p != QLatin1String("1");
             p = parentOf.count(p) ? parentOf[p] : QString()) {
            if (p == self) {
                total += peakKb(pid);
                break;
            }
        }
    }
    return total;
}

} // namespace

int main(int argc, char* argv[]) {
    bench::prepareBrowserEnvironment();
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    QJsonArray objects;
    for (int n = 1; n <= kObjects; ++n)
        objects.append(QJsonObject{
            {QStringLiteral("kind"), QStringLiteral("parcel")},
            {QStringLiteral("territory"), 602582},
            {QStringLiteral("number"), QString::number(n)},
            {QStringLiteral("area"), QString::number(100 + n)},
            {QStringLiteral("owners"),
             QJsonArray{QJsonArray{QStringLiteral("Vlastník %1").arg(n), QStringLiteral("1/1")}}}});
    QFile state(folder + QStringLiteral("state.json"));
    state.open(QIODevice::WriteOnly);
    state.write(QJsonDocument(QJsonObject{{QStringLiteral("loginStep"), false},
                                          {QStringLiteral("territories"),
                                           QJsonArray{QJsonObject{{QStringLiteral("code"), 602582},
                                                                  {QStringLiteral("name"),
                                                                   QStringLiteral("Benice")}}}},
                                          {QStringLiteral("objects"), objects}})
                    .toJson());
    state.close();
    QProcess simulator;
    if (!bench::startSimulator(simulator, state.fileName()))
        return 1;

    Schema::createDatabase(folder + Schema::databaseFileName());
    {
        SqliteConnection connection;
        connection.open(folder + Schema::databaseFileName());
        CodeListImporter::install(connection,
                                  CodeListImporter::readFolder(bench::codeListFolder()));
        connection.exec(QStringLiteral("BEGIN"));
        for (int n = 1; n <= kObjects; ++n)
            connection.exec(
                QStringLiteral(
                    "INSERT INTO parcely (user_id, uzemi, typ_parcely, druh_cislovani, cislo_1, "
                    "nazev, kontrolovat) VALUES (1, 602582, 'PKN', 2, %1, 'p%1', 1)")
                    .arg(n));
        connection.exec(QStringLiteral("COMMIT"));
    }
    PortalCredentials::save(folder, QStringLiteral("bench"), QStringLiteral("bench"));
    // The pause between lookups is the portal's due, not the program's time.
    IniFile::write(PortalCredentials::settingsFile(folder), QStringLiteral("portal"),
                   QStringLiteral("prodleva_s"), QStringLiteral("0"));

    bench::StderrMessages messages;
    TInsert_Form editor;
    TDM1 dm(messages, editor);
    dm.DataModuleCreate(folder);
    TBrowser_Form browserForm(messages, folder);
    BrowserSession portal(browserForm, folder);
    TimingWindow window;
    bool autoStart = false;
    bool autoRun = false;
    for (int round = 0; round < 2; ++round) { // the first stores the values, the second compares
        FullCheckRun run(dm, portal, window, autoStart, autoRun);
        window.starts.clear();
        const auto waitedBefore = browserForm.browser().waitedTime();
        window.clock.start();
        run.Kontrola_ButtonClick();
        const qint64 total = window.clock.nsecsElapsed();
        std::vector<double> perObject;
        for (std::size_t i = 1; i < window.starts.size(); ++i) {
            perObject.push_back(static_cast<double>(window.starts[i] - window.starts[i - 1]) / 1e6);
        }
        std::sort(perObject.begin(), perObject.end());
        const double waited =
            static_cast<double>((browserForm.browser().waitedTime() - waitedBefore).count());
        std::printf("%s run of %d parcels (%d changes): %.1f s\n", round == 0 ? "first" : "second",
                    kObjects, run.changesRecorded(), static_cast<double>(total) / 1e9);
        bench::report("  median time per object",
                      perObject.empty() ? 0 : perObject[perObject.size() / 2]);
        std::printf("  share outside page loads and waits          %6.1f %%   (goal < 5 %%)%s\n",
                    100.0 * (1.0 - waited / static_cast<double>(total)),
                    100.0 * (1.0 - waited / static_cast<double>(total)) < 5 ? "" : "   MISSED");
    }
    std::printf("peak memory of the process tree                %6.1f MB\n",
                static_cast<double>(treePeakKb()) / 1024.0);
    return 0;
}
