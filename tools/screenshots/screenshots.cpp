// Shows the program at work on the portal simulator's demo objects, offscreen, and saves
// pictures of its windows: the main window after a check that found a change, the record
// editor and the change history with what changed.
#include "PortalSimulator.h"
#include "TestSupport.h"

#include "app/Application.h"
#include "app/CzechTranslation.h"
#include "app/TLog_Form.h"
#include "app/TMain_Form.h"
#include "entry/RecordGrid.h"
#include "entry/TInsert_Form.h"
#include "history/TZmeny_Form.h"
#include "portal/SnapshotView.h"
#include "settings/TAbout_Form.h"
#include "settings/TUpozorneni_Form.h"
#include "store/TDM1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <cstdio>

using namespace veritam;
using namespace veritam::test;

namespace {

QJsonObject demoState() {
    QFile file(QStringLiteral(VERITAM_DEMO_STATE));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the demo state");
    return QJsonDocument::fromJson(file.readAll()).object();
}

/// The demo state after the bank's lien on the first parcel was struck off and a half of
/// it changed hands, while a proposal to sell the other half is under way.
QJsonObject demoStateChanged() {
    QJsonObject state = demoState();
    QJsonArray objects = state[QStringLiteral("objects")].toArray();
    QJsonObject first = objects[0].toObject();
    first[QStringLiteral("owners")] = QJsonArray{
        QJsonArray{QStringLiteral("Vlastnické právo"), QString()},
        QJsonArray{QStringLiteral("Novák Jan, Benická 12, Praha 10"), QStringLiteral("1/2")},
        QJsonArray{QStringLiteral("Svobodová Eva, Lipová 3, Praha 10"), QStringLiteral("1/2")}};
    first[QStringLiteral("restrictions")] = QJsonArray{};
    first[QStringLiteral("proceedings")] = QJsonArray{QStringLiteral("V-1234/2026-101")};
    objects[0] = first;
    state[QStringLiteral("objects")] = objects;
    return state;
}

void watchDemoObjects(const QString& dataFolder) {
    OpenedStore s(dataFolder);
    const char* const statements[] = {
        "INSERT INTO parcely (user_id, uzemi, typ_parcely, druh_cislovani, cislo_1, cislo_2, "
        "nazev, kontrolovat) VALUES (1, 602582, 'PKN', 2, 345, 6, 'Louka u potoka', 1)",
        "INSERT INTO parcely (user_id, uzemi, typ_parcely, druh_cislovani, cislo_1, nazev, "
        "kontrolovat) VALUES (1, 602582, 'PKN', 1, 12, 'Dvůr', 1)",
        "INSERT INTO parcely (user_id, uzemi, typ_parcely, puvod_parcely, druh_cislovani, "
        "cislo_1, cislo_2, nazev, kontrolovat) "
        "VALUES (1, 774871, 'PZE', 4, 2, 1021, 2, 'Pole za obcí', 1)",
        "INSERT INTO stavby (user_id, obec, cast_obce, typ_stavby, cislo_stavby, nazev, "
        "kontrolovat) VALUES (1, 554782, 1520, 1, 45, 'Rodinný dům', 1)",
        "INSERT INTO stavby (user_id, obec, cast_obce, typ_stavby, cislo_stavby, nazev, "
        "kontrolovat) VALUES (1, 582786, 11908, 2, 7, 'Chata', 1)",
        "INSERT INTO jednotky (user_id, obec, cast_obce, typ_stavby, cislo_stavby, "
        "cislo_jednotky, nazev, kontrolovat) "
        "VALUES (1, 554804, 8958, 1, 1200, 14, 'Byt po rodičích', 1)",
        "UPDATE user_table SET login = 'jan'"};
    for (const char* statement : statements)
        s.exec(QString::fromUtf8(statement));
}

void save(QWidget& window, const QString& file) {
    if (!window.grab().save(file))
        qFatal("cannot save %s", qPrintable(file));
    std::printf("%s\n", qPrintable(file));
}

/// Runs `open`, which shows a modal window, saves a picture of `window` once `ready` says
/// so (at most after 20 s), unless `file` is empty, and closes it.
void whileOpen(
    QWidget& window, const QString& file, const std::function<void()>& open,
    const std::function<bool()>& ready = [] { return true; }) {
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!window.isVisible() || (!ready() && waited.elapsed() < 20000))
            return;
        poll.stop();
        QTest::qWait(300); // the last paint
        if (!file.isEmpty())
            save(window, file);
        window.close();
    });
    poll.start(100);
    open();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: veritam-screenshots FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VERITAM_LAPTOP_SCREEN);
    prepareBrowserEnvironment();
    QApplication application(argc, argv);
    installCzechTranslation();
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    QDir().mkpath(out);

    PortalSimulator simulator(demoState());
    TempDataFolder folder;
    folder.createDatabaseWithCodeLists();
    watchDemoObjects(folder.path());
    saveAccount(folder.path());
    RecordingMessages messages;
    Application app(CommandLine({QStringLiteral("--files"), folder.path()}), messages);
    TMain_Form& form = *app.Main_Form;
    app.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the main window was not shown");

    // The first check records every object's first state; the second finds the change.
    // Each ends with the window of the changes found.
    const auto check = [&] { form.Kontrola_Button->click(); };
    whileOpen(*app.Log_Form, {}, check);
    // The user has seen the first states; the picture shows only what the second run found.
    for (RecordKind kind : kAllRecordKinds) {
        app.DM1->MarkSeen(kind, std::nullopt);
        app.DM1->Obnovit_Query(app.DM1->recordQuery(kind));
    }
    simulator.setState(demoStateChanged());
    whileOpen(*app.Log_Form, {}, check);
    if (!messages.errors.isEmpty())
        qFatal("%s", qPrintable(messages.errors.join(u'\n')));
    QTest::qWait(300);
    save(form, out + QStringLiteral("hlavni-okno.png"));

    whileOpen(*app.Insert_Form, out + QStringLiteral("zaznamy.png"),
              [&] { form.Insert_Button->click(); });

    // The history of the record of the focused list.
    form.activateWindow();
    form.Parcely_DBGrid->setFocus();
    if (!QTest::qWaitFor([&] { return form.Parcely_DBGrid->hasFocus(); }))
        qFatal("the parcels' list did not take the focus");
    app.DM1->Parcely_Query.locate(QStringLiteral("nazev"), QStringLiteral("Louka u potoka"));
    bool loaded = false;
    QObject::connect(app.Zmeny_Form->WebBrowser1, &QWebEngineView::loadFinished,
                     [&loaded] { loaded = true; });
    whileOpen(
        *app.Zmeny_Form, out + QStringLiteral("historie.png"),
        [&] { form.OtevriHistorii_button->click(); }, [&loaded] { return loaded; });

    // The account window with a stored password, and the notice before the first portal use.
    whileOpen(*app.About_Form, out + QStringLiteral("prihlaseni.png"),
              [&] { app.About_Form->exec(); });
    whileOpen(*app.Upozorneni_Form, out + QStringLiteral("upozorneni.png"),
              [&] { app.Upozorneni_Form->exec(); });
    return 0;
}
