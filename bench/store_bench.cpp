// Times of the record store and start-up, as medians over repeated runs:
//   start-up to the shown main window    goal < 1 s
//   refresh of the parcel list (300)     goal < 50 ms
//   narrowing a code-list lookup         goal < 20 ms
//   import of the four code lists        goal < 2 s
#include "app/Application.h"
#include "app/TMain_Form.h"
#include "platform/UserMessages.h"
#include "store/CodeListImporter.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"
#include "store/TDM1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace veritam;

namespace {

class QuietMessages : public UserMessages {
public:
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    void showError(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

double medianMs(int runs, const std::function<void()>& work) {
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

void report(const char* what, double ms, double goalMs) {
    std::printf("%-42s %9.2f ms   (goal < %.0f ms)%s\n", what, ms, goalMs,
                ms < goalMs ? "" : "   MISSED");
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QString database = folder + Schema::databaseFileName();
    Schema::createDatabase(database);
    const auto files =
        CodeListImporter::readFolder(QStringLiteral(VERITAM_SHARED_DATA_DIR "/codelists"));
    {
        SqliteConnection connection;
        connection.open(database);
        report("import of the four code lists",
               medianMs(5, [&] { CodeListImporter::install(connection, files); }), 2000);
        connection.exec(QStringLiteral("BEGIN"));
        for (int n = 1; n <= 300; ++n)
            connection.exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, "
                                           "druh_cislovani, cislo_1, nazev, kontrolovat) VALUES "
                                           "(1, 602582, 'PKN', 2, %1, 'parcela %1', 1)")
                                .arg(n));
        connection.exec(QStringLiteral("COMMIT"));
    }

    QuietMessages messages;
    report("start-up to the shown main window",
           medianMs(5,
                    [&] {
                        Application app(CommandLine({QStringLiteral("--files"), folder}), messages);
                        app.show();
                        QApplication::processEvents();
                    }),
           1000);

    Application app(CommandLine({QStringLiteral("--files"), folder}), messages);
    TDM1& dm = *app.DM1;
    report("refresh of the parcel list (300 parcels)",
           medianMs(21, [&] { dm.Obnovit_Query(dm.Parcely_Query); }), 50);
    report("narrowing territories (\"ová\")",
           medianMs(21,
                    [&] {
                        dm.KatastralniUzemi_Query.setParam(QStringLiteral("par_nazev"),
                                                           QStringLiteral("%ová%"));
                        dm.Obnovit_Query(dm.KatastralniUzemi_Query);
                    }),
           20);
    report("narrowing municipalities (\"ústí\")",
           medianMs(21,
                    [&] {
                        dm.Obce_Query.setParam(QStringLiteral("par_nazev"),
                                               QStringLiteral("%ústí%"));
                        dm.Obnovit_Query(dm.Obce_Query);
                    }),
           20);
    return 0;
}
