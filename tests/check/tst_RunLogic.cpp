// The full run's and the single check's decisions, through a portal session that serves
// small fixture pages: a real database and data folder, no browser.
#include "FixtureSession.h"
#include "RecordingRunWindow.h"
#include "TestSupport.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/Fingerprint.h"
#include "check/FullCheckRun.h"
#include "check/SingleCheck.h"
#include "platform/IniFile.h"
#include "portal/PortalCredentials.h"
#include "portal/PortalSession.h"
#include "store/WatchedRecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <functional>

using namespace veritam;
using namespace veritam::test;

namespace {

const QString kLoggedIn = loggedInHeader();
const QString kLoggedOut = loggedOutHeader();

QString informationPage(const char* owner, const char* proceedings = "") {
    return test::informationPage(QString::fromUtf8(owner), QString::fromUtf8(proceedings));
}

/// The page of a parcel that holds none of its sections.
QString withoutSections(const QString& header) {
    return QStringLiteral("<html><head><title>Informace o pozemku</title></head><body>") + header +
           QStringLiteral("<h1>Informace o pozemku</h1><table><tr><td class=\"nazev\">Parcelní "
                          "číslo:</td><td>2</td></tr></table></body></html>\r\n");
}

const QString kNotFound = notFoundPage();
const QString kWithoutOwners =
    QStringLiteral("<html><body><h2>Jiné zápisy</h2><p>Bez zápisu.</p></body></html>\r\n");
const QString kCodePage =
    QStringLiteral("<html><body><form><img id=\"captchaImage\" src=\"/captcha.png\"><input "
                   "id=\"ctl00_bodyPlaceHolder_btnVyhledat\"></form></body></html>\r\n");
const QString kProtection =
    QStringLiteral(
        "<html><head><title>Omezení přístupu</title></head><body>%1<h1>Omezení přístupu</h1>"
        "<p>Příliš mnoho dotazů.</p></body></html>\r\n")
        .arg(kLoggedIn);
const QString kMaintenance =
    QStringLiteral(
        "<html><head><title>Údržba</title></head><body>%1<h1>Probíhá údržba</h1></body></html>\r\n")
        .arg(kLoggedIn);

} // namespace

class TestRunLogic : public QObject {
    Q_OBJECT
private slots:
    void init();
    void pagesDecideWhatIsRecorded_data();
    void pagesDecideWhatIsRecorded();
    void refusedOrMissingLoginLooksNothingUp_data();
    void refusedOrMissingLoginLooksNothingUp();
    void expiredLoginIsRenewedOnce_data();
    void expiredLoginIsRenewedOnce();
    void threeLookupsThatCannotReachThePortalEndTheRun_data();
    void threeLookupsThatCannotReachThePortalEndTheRun();
    void interruptEndsThePauseAtOnce();
    void failedPassStatementEndsTheRunAsFailed();
    void unrecordedChangeFailsTheRunAndTheNextRecordsIt();
    void singleCheckComparesOnlyAnInformationPage();
    void secondOperationIsRefused();

private:
    /// Parcels 1, 2 and 3, each with its owner "A" stored as at an earlier check.
    void watchThreeParcels();
    int changeRows() {
        return m_store->scalar(QStringLiteral("SELECT COUNT(*) FROM zmeny_parcel")).toInt();
    }
    QString storedOwners(int number) {
        return m_store
            ->scalar(
                QStringLiteral("SELECT hash_vlastnici FROM parcely WHERE cislo_1 = %1").arg(number))
            .toString();
    }
    void runFull() {
        FullCheckRun run(m_store->dm, *m_session, *m_window, m_autoStart, m_autoRun);
        m_run = &run;
        run.Kontrola_ButtonClick();
        m_refusal = run.refusal();
        m_failed = run.failedRecords();
        m_changes = run.changesRecorded();
        m_recordingFailed = run.recordingFailed();
        m_run = nullptr;
    }

    std::unique_ptr<StoreFixture> m_store;
    std::unique_ptr<FixtureSession> m_session;
    std::unique_ptr<RecordingRunWindow> m_window;
    bool m_autoStart = false;
    bool m_autoRun = false;
    FullCheckRun* m_run = nullptr;
    QString m_refusal;
    int m_failed = 0;
    int m_changes = 0;
    bool m_recordingFailed = false;
};

void TestRunLogic::init() {
    m_store = std::make_unique<StoreFixture>(true); // the list joins the code lists
    m_session = std::make_unique<FixtureSession>();
    m_window = std::make_unique<RecordingRunWindow>();
    IniFile::write(PortalCredentials::settingsFile(m_store->folder.path()),
                   QStringLiteral("portal"), QStringLiteral("prodleva_s"), QStringLiteral("0"));
    watchThreeParcels();
}

void TestRunLogic::watchThreeParcels() {
    for (int n = 1; n <= 3; ++n)
        m_store->exec(
            QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, druh_cislovani, "
                           "cislo_1, nazev, kontrolovat) VALUES (1, 602582, 'PKN', 2, %1, "
                           "'p%1', 1)")
                .arg(n));
    // The stored values of a check that saw owner "A" and area 120.
    TParseKatastr seen;
    seen.vymera = QStringLiteral("120");
    seen.vlastnici = QStringLiteral("A");
    seen.jine = QStringLiteral("Bez zápisu.");
    for (int id = 1; id <= 3; ++id)
        ChangeRecorder::StoreBaseline(m_store->dm, {RecordKind::Parcel, id, {}, {}, {}}, seen);
    for (const QString& n : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")})
        m_session->pages[n] = {informationPage("A")};
}

void TestRunLogic::pagesDecideWhatIsRecorded_data() {
    QTest::addColumn<QString>("stored"); // parcel 2's proceedings at the last check
    QTest::addColumn<QString>("page");   // what parcel 2's lookup brings
    QTest::addColumn<int>("changes");    // change rows after the run
    QTest::addColumn<int>("failed");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("looked"); // parcels looked up
    QTest::addColumn<QString>("logged");     // a line the run log or the summary must hold
    const QStringList all = texts({"1", "2", "3"});
    QTest::newRow("an information page with a change")
        << "" << informationPage("B") << 1 << 0 << false << all << "Změna u parcely p. č. 2";
    QTest::newRow("no change") << "" << informationPage("A") << 0 << 0 << false << all
                               << "Procházím parcelu č. 3";
    QTest::newRow("a proceeding added")
        << "" << informationPage("A", "Z-55/2026-101") << 1 << 0 << false << all
        << "Změna u parcely p. č. 2, vlastní označení p2: nové řízení Z-55/2026-101";
    QTest::newRow("a proceeding ended") << "V-1234/2026-101" << informationPage("A") << 1 << 0
                                        << false << all << "Skončené řízení V-1234/2026-101.";
    QTest::newRow("the page without sections fails the record alone")
        << "" << withoutSections(kLoggedIn) << 0 << 1 << false << all
        << "Příčina: Stránka objektu neobsahuje oddíly Vlastníci, jiní oprávnění, Způsob "
           "ochrany nemovitosti, Omezení vlastnického práva, Jiné zápisy.";
    QTest::newRow("the search form again: not found")
        << "" << kNotFound << 0 << 1 << false << all << "Příčina: Portál objekt nenašel";
    QTest::newRow("the traffic protection ends the run")
        << "" << kProtection << 0 << 0 << true << texts({"1", "2"})
        << "KONTROLA UKONČENA: Portál místo údajů o objektu ukázal stránku „Omezení přístupu“";
    QTest::newRow("any other page while logged in ends the run")
        << "" << kMaintenance << 0 << 0 << true << texts({"1", "2"})
        << "KONTROLA UKONČENA: Portál místo údajů o objektu ukázal stránku „Údržba“";
}

void TestRunLogic::pagesDecideWhatIsRecorded() {
    QFETCH(QString, stored);
    QFETCH(QString, page);
    QFETCH(int, changes);
    QFETCH(int, failed);
    QFETCH(bool, refused);
    QFETCH(QStringList, looked);
    QFETCH(QString, logged);
    m_store->exec(
        QStringLiteral("UPDATE parcely SET hash_prevod = '%1' WHERE cislo_1 = 2").arg(stored));
    m_session->pages[QStringLiteral("2")] = {page};
    runFull();
    QCOMPARE(m_session->looked, looked);
    QCOMPARE(m_session->logins, 1); // nothing was taken for an expired login
    QCOMPARE(changeRows(), changes);
    QCOMPARE(m_failed, failed);
    QCOMPARE(!m_refusal.isEmpty(), refused);
    const QString shown = (m_window->log + m_window->summary).join(u'\n');
    QVERIFY2(shown.contains(logged), qPrintable(shown));
    if (changes == 0)
        QCOMPARE(storedOwners(2), Fingerprint(QStringLiteral("A"))); // the baseline is kept
    QCOMPARE(m_window->log.last(), QStringLiteral("KONTROLA SKONČILA"));
    QVERIFY(m_window->enabled);
    QCOMPARE(m_store->messages.errors.size(), refused ? 1 : 0);
}

void TestRunLogic::refusedOrMissingLoginLooksNothingUp_data() {
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("errors"); // the missing account was told by the login itself
    QTest::newRow("refused") << static_cast<int>(LoginOutcome::Refused) << 1;
    QTest::newRow("no credentials") << static_cast<int>(LoginOutcome::NoCredentials) << 0;
}

void TestRunLogic::refusedOrMissingLoginLooksNothingUp() {
    QFETCH(int, outcome);
    QFETCH(int, errors);
    m_session->loginOutcomes = {static_cast<LoginOutcome>(outcome)};
    runFull();
    QVERIFY(m_session->looked.isEmpty());
    QVERIFY(!m_refusal.isEmpty());
    QCOMPARE(m_store->messages.errors.size(), errors);
    if (errors)
        QVERIFY(m_store->messages.errors[0].contains(QStringLiteral("\"O programu\"")));
    QCOMPARE(m_window->log.size(), 3); // started, the refusal, ended
    QCOMPARE(changeRows(), 0);
}

void TestRunLogic::expiredLoginIsRenewedOnce_data() {
    QTest::addColumn<QString>("loggedOut");
    QTest::addColumn<int>("secondLogin");
    QTest::addColumn<bool>("refused");
    QTest::newRow("code page, login renewed")
        << kCodePage << static_cast<int>(LoginOutcome::LoggedIn) << false;
    QTest::newRow("no owners, login renewed")
        << kWithoutOwners << static_cast<int>(LoginOutcome::LoggedIn) << false;
    QTest::newRow("code page, renewal refused")
        << kCodePage << static_cast<int>(LoginOutcome::Refused) << true;
    QTest::newRow("the header's login link, login renewed")
        << withoutSections(kLoggedOut) << static_cast<int>(LoginOutcome::LoggedIn) << false;
}

void TestRunLogic::expiredLoginIsRenewedOnce() {
    QFETCH(QString, loggedOut);
    QFETCH(int, secondLogin);
    QFETCH(bool, refused);
    // Parcel 2's first lookup meets the expired login; the repeated one its page.
    m_session->pages[QStringLiteral("2")] = {loggedOut, informationPage("A")};
    m_session->loginOutcomes = {LoginOutcome::LoggedIn, static_cast<LoginOutcome>(secondLogin)};
    runFull();
    QCOMPARE(m_session->logins, 2);
    QCOMPARE(m_session->looked, refused ? texts({"1", "2"}) : texts({"1", "2", "2", "3"}));
    QCOMPARE(!m_refusal.isEmpty(), refused);
    QCOMPARE(changeRows(), 0); // nothing false recorded
    QCOMPARE(m_failed, 0);
    QCOMPARE(storedOwners(2), Fingerprint(QStringLiteral("A")));
}

void TestRunLogic::threeLookupsThatCannotReachThePortalEndTheRun_data() {
    QTest::addColumn<int>("cause");
    QTest::addColumn<QString>("message");
    QTest::newRow("time limits") << static_cast<int>(PortalError::Cause::TimeLimit)
                                 << "Stránka se nenačetla do 60 s.";
    QTest::newRow("connection refused") << static_cast<int>(PortalError::Cause::Unreachable)
                                        << "Portál není dostupný (ERR_CONNECTION_REFUSED).";
}

void TestRunLogic::threeLookupsThatCannotReachThePortalEndTheRun() {
    QFETCH(int, cause);
    QFETCH(QString, message);
    for (int n = 4; n <= 5; ++n)
        m_store->exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, typ_parcely, "
                                     "druh_cislovani, cislo_1, nazev, kontrolovat) VALUES (1, "
                                     "602582, 'PKN', 2, %1, 'p%1', 1)")
                          .arg(n));
    m_session->pages[QStringLiteral("4")] = {informationPage("B")};
    m_session->pages[QStringLiteral("5")] = {informationPage("B")};
    // The portal goes away after the first lookup.
    m_session->onLookup = [&](const QString& number) {
        if (number != QLatin1String("1"))
            throw PortalError(message, static_cast<PortalError::Cause>(cause));
    };
    runFull();
    QCOMPARE(m_session->looked, texts({"1", "2", "3", "4"}));
    QCOMPARE(m_failed, 3);
    QCOMPARE(changeRows(), 0);
    QVERIFY(m_refusal.contains(QStringLiteral("Portál neodpovídá")));
    QCOMPARE(m_window->log.filter(QStringLiteral("Příčina: ") + message).size(), 3);
}

void TestRunLogic::interruptEndsThePauseAtOnce() {
    IniFile::write(PortalCredentials::settingsFile(m_store->folder.path()),
                   QStringLiteral("portal"), QStringLiteral("prodleva_s"), QStringLiteral("600"));
    // "Přerušit" pressed a moment into the pause after the first lookup.
    m_session->onLookup = [this](const QString&) {
        QTimer::singleShot(50, [this] { m_run->Prerusit_ButtonClick(); });
    };
    QElapsedTimer clock;
    clock.start();
    runFull();
    QVERIFY2(clock.elapsed() < 60000, "the pause was waited out");
    QCOMPARE(m_session->looked, texts({"1"}));
    QCOMPARE(m_session->interrupts, 1);
    QVERIFY(m_refusal.isEmpty());
    QCOMPARE(m_window->log.last(), QStringLiteral("KONTROLA PŘERUŠENA, zkontrolované záznamy: 1"));
}

void TestRunLogic::failedPassStatementEndsTheRunAsFailed() {
    m_store->exec(
        QStringLiteral("INSERT INTO stavby (user_id, obec, cislo_stavby, nazev, kontrolovat) "
                       "VALUES (1, 554782, 45, 'dům', 1)"));
    m_store->exec(QStringLiteral("ALTER TABLE stavby RENAME TO stavby_pryc"));
    runFull();
    QCOMPARE(m_session->looked, texts({"1", "2", "3"})); // the parcels, then nothing
    QVERIFY(m_window->log.filter(QStringLiteral("KONTROLA UKONČENA: do databáze nelze zapisovat"))
                .size() == 1);
    QCOMPARE(m_window->log.last(), QStringLiteral("KONTROLA SKONČILA"));
    QVERIFY(m_window->enabled);
    QVERIFY(m_recordingFailed);
    QCOMPARE(m_store->messages.errors.size(), 1);
}

void TestRunLogic::unrecordedChangeFailsTheRunAndTheNextRecordsIt() {
    m_session->pages[QStringLiteral("1")] = {informationPage("B")};
    m_session->pages[QStringLiteral("2")] = {informationPage("B")};
    m_session->pages[QStringLiteral("3")] = {informationPage("B")};
    // The change row of parcel 2 is refused, as a full disk or a crashed write would.
    m_store->dm.ADOConnection.exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON zmeny_parcel WHEN NEW.id_parcely = "
        "(SELECT ID FROM parcely WHERE cislo_1 = 2) BEGIN SELECT RAISE(ABORT, 'plno'); END"));
    runFull();
    QCOMPARE(m_session->looked, texts({"1", "2", "3"})); // the run went on
    QCOMPARE(m_changes, 2);
    QCOMPARE(m_window->summary.size(), 2);
    const QStringList blocks = m_window->log.filter(QStringLiteral("CHYBA"));
    QCOMPARE(blocks.size(), 1);
    QVERIFY2(blocks[0].contains(QStringLiteral("parcela č. 2")) &&
                 blocks[0].contains(QStringLiteral("Změnu se nepodařilo zaznamenat")) &&
                 blocks[0].contains(QStringLiteral("plno")),
             qPrintable(blocks[0]));
    QVERIFY(m_recordingFailed);
    QCOMPARE(m_store->messages.errors.size(), 1);
    QVERIFY(m_store->messages.errors[0].contains(QStringLiteral("plno")));
    QCOMPARE(storedOwners(2), Fingerprint(QStringLiteral("A")));

    m_store->dm.ADOConnection.exec(QStringLiteral("DROP TRIGGER refuse"));
    runFull();
    QCOMPARE(m_changes, 1); // parcel 2's change, found again
    QVERIFY(!m_recordingFailed);
    QCOMPARE(storedOwners(2), Fingerprint(QStringLiteral("B")));
    QCOMPARE(changeRows(), 3);
}

void TestRunLogic::singleCheckComparesOnlyAnInformationPage() {
    const QString pages[] = {kNotFound, kWithoutOwners, kProtection, kCodePage};
    Dataset& list = m_store->dm.Parcely_Query;
    m_store->refresh(list);
    const QString number = list.text(QStringLiteral("cislo_1"));
    for (const QString& page : pages) {
        m_session->pages[number] = {page};
        QVERIFY_THROWS_EXCEPTION(
            PortalError, Kontrola_JednohoClick(m_store->dm, *m_session, RecordKind::Parcel));
        QCOMPARE(storedOwners(number.toInt()), Fingerprint(QStringLiteral("A")));
    }
    m_session->pages[number] = {informationPage("B")};
    Kontrola_JednohoClick(m_store->dm, *m_session, RecordKind::Parcel);
    QCOMPARE(changeRows(), 1);
    QCOMPARE(m_store->messages.messages.last(), QStringLiteral("Kontrola je u konce."));
}

void TestRunLogic::secondOperationIsRefused() {
    const PortalSession::Operation first(*m_session);
    runFull();
    QVERIFY(m_session->looked.isEmpty());
    QVERIFY(m_store->messages.messages.last().contains(QStringLiteral("jiné operaci")));
    QVERIFY_THROWS_EXCEPTION(PortalError,
                             Kontrola_JednohoClick(m_store->dm, *m_session, RecordKind::Parcel));
}

QTEST_GUILESS_MAIN(TestRunLogic)
#include "tst_RunLogic.moc"
