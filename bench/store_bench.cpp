// Times of the record store and start-up with 10,000 records per kind and the full code
// lists, as medians over repeated runs:
//   process start to the shown main window   goal < 1 s
//   refresh of the parcel list                goal < 50 ms
//   narrowing a code-list lookup              goal < 20 ms
//   import of the four code lists             goal < 2 s
// Buildings and units are spread over the code list's parts of municipalities, as a
// user's would be; a second start-up figure puts them all in Praha, whose 112 territories
// multiply the rows the building lists must collapse.
#include "BenchSupport.h"
#include "app/Application.h"
#include "portal/PortalCredentials.h"
#include "store/CodeListImporter.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"
#include "store/TDM1.h"

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

namespace {

constexpr int kRecordsPerKind = 10000;

/// `placement` picks the municipality and part of the n-th building or unit.
void fillRecords(SqliteConnection& connection, const QString& placement) {
    connection.exec(QStringLiteral("BEGIN; DELETE FROM parcely; DELETE FROM stavby; "
                                   "DELETE FROM jednotky"));
    connection.exec(QStringLiteral(R"(
        WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1),
             ku AS (SELECT ku_kod, ROW_NUMBER() OVER () AS r FROM kat_uzemi_obce)
        INSERT INTO parcely (user_id, uzemi, typ_parcely, druh_cislovani, cislo_1, nazev, kontrolovat)
        SELECT 1, ku_kod, 'PKN', 2, i, 'parcela ' || i, 1 FROM n JOIN ku ON ku.r = 1 + i % 13000)")
                        .arg(kRecordsPerKind));
    for (const char* table : {"stavby", "jednotky"})
        connection.exec(QStringLiteral(R"(
            WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1),
                 part AS (SELECT kod, obec_kod, ROW_NUMBER() OVER () AS r FROM kat_casti_obce %3)
            INSERT INTO %2 (user_id, obec, cast_obce, typ_stavby, cislo_stavby, nazev, kontrolovat)
            SELECT 1, obec_kod, kod, 1, i, 'stavba ' || i, 1 FROM n
            JOIN part ON part.r = 1 + i % (SELECT COUNT(*) FROM part))")
                            .arg(kRecordsPerKind)
                            .arg(QString::fromLatin1(table), placement));
    connection.exec(QStringLiteral("UPDATE jednotky SET cislo_jednotky = 1; COMMIT"));
}

double startUpMs(const QString& folder) {
    return medianMs(5, [&] {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VERITAM_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veritam"),
                      {QStringLiteral("--files"), folder});
        process.waitForFinished(60000);
    });
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QString database = folder + Schema::databaseFileName();
    Schema::createDatabase(database);
    const auto files = CodeListImporter::readFolder(bench::codeListFolder());
    SqliteConnection connection;
    connection.open(database);
    // An account on file: no start-up reminder waits for a click.
    PortalCredentials::save(folder, QStringLiteral("bench"), QStringLiteral("bench"));
    report("import of the four code lists",
           medianMs(5, [&] { CodeListImporter::install(connection, files); }), 2000);

    fillRecords(connection, QString());
    report("process start to the shown main window", startUpMs(folder), 1000);

    bench::StderrMessages messages;
    {
        Application app(CommandLine({QStringLiteral("--files"), folder}), messages);
        TDM1& dm = *app.DM1;
        report("refresh of the parcel list",
               medianMs(21, [&] { dm.Obnovit_Query(dm.Parcely_Query); }), 50);
        report("refresh of the building list",
               medianMs(21, [&] { dm.Obnovit_Query(dm.Stavby_Query); }));
        const auto narrow = [&](Dataset& q, const char* text) {
            return medianMs(21, [&] {
                q.setParam(QStringLiteral("par_nazev"), QString::fromUtf8(text));
                dm.Obnovit_Query(q);
            });
        };
        report("narrowing territories (\"%ová%\")", narrow(dm.KatastralniUzemi_Query, "%ová%"), 20);
        report("narrowing municipalities (\"%ústí%\")", narrow(dm.Obce_Query, "%ústí%"), 20);
    }

    fillRecords(connection, QStringLiteral("WHERE obec_kod = 554782"));
    report("start-up, all buildings and units in Praha", startUpMs(folder));
    return 0;
}
