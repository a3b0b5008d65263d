// The browser port, the login and the search drivers with the real browser against the
// portal simulator on loopback. One program, so Chromium starts once.
#include "PortalSimulator.h"
#include "TestSupport.h"

#include "portal/DomRoutines.h"
#include "portal/PortalCredentials.h"
#include "portal/PortalLogin.h"
#include "portal/SearchDrivers.h"
#include "portal/TBrowser_Form.h"

#include <QApplication>
#include <QJsonDocument>
#include <QWebEngineView>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

QJsonObject state(bool loginStep = true) {
    QJsonObject s = QJsonDocument::fromJson(R"({
      "territories": [{"code": 602582, "name": "Benice"}, {"code": 774871, "name": "Ústí nad Labem"}],
      "municipalities": [
        {"code": 554782, "name": "Praha", "parts": [{"code": 2585, "name": "Benice"}, {"code": 1520, "name": "Běchovice"}]},
        {"code": 582786, "name": "Brno", "partList": false, "parts": [{"code": 11908, "name": "Kníničky"}]}],
      "objects": [
        {"id": "pkn", "kind": "parcel", "territory": 602582, "numbering": 2, "number": "345", "subdivision": "6",
         "area": "1254", "owners": [["Novák Jan", "1/2"], ["Nováková Marie", "1/2"]]},
        {"id": "st", "kind": "parcel", "territory": 602582, "numbering": 1, "number": "12", "area": "187"},
        {"id": "pze", "kind": "parcel", "territory": 774871, "type": "PZE", "source": "6", "numbering": 2,
         "number": "1021", "area": "5310"},
        {"id": "b-part", "kind": "building", "municipality": 554782, "part": 1520, "buildingType": 2, "building": "45"},
        {"id": "b-nopart", "kind": "building", "municipality": 582786, "part": 11908, "buildingType": 1, "building": "7"},
        {"id": "unit", "kind": "unit", "municipality": 554782, "part": 1520, "buildingType": 1, "building": "1200",
         "unit": "14", "share": "6543/120000"},
        {"id": "foreign", "kind": "parcel", "territory": 602582, "numbering": 2, "number": "900", "fault": "foreign"},
        {"id": "hang", "kind": "parcel", "territory": 602582, "numbering": 2, "number": "901", "fault": "hang"},
        {"id": "e500", "kind": "parcel", "territory": 602582, "numbering": 2, "number": "902", "fault": "http500"}
      ]})")
                        .object();
    s.insert(QStringLiteral("loginStep"), loginStep);
    return s;
}

QString param(const QJsonObject& request, const char* name) {
    return request[QStringLiteral("params")].toObject()[QString::fromLatin1(name)].toString();
}

bool sent(const QJsonObject& request, const char* name) {
    return request[QStringLiteral("params")].toObject().contains(QString::fromLatin1(name));
}

/// The page requests (style sheets and icons left out), as "METHOD path".
QStringList trail(const QList<QJsonObject>& requests) {
    QStringList result;
    for (const QJsonObject& r : requests)
        result << r[QStringLiteral("method")].toString() + u' ' +
                      r[QStringLiteral("path")].toString();
    return result;
}

/// The requests for pages, without style sheets and icons.
QList<QJsonObject> pages(const QList<QJsonObject>& requests) {
    QList<QJsonObject> result;
    for (const QJsonObject& r : requests) {
        const QString path = r[QStringLiteral("path")].toString();
        if (!path.endsWith(QLatin1String(".css")) && !path.endsWith(QLatin1String(".ico")))
            result << r;
    }
    return result;
}

/// Takes out the release of a territory or municipality that an earlier lookup left.
void dropRelease(QList<QJsonObject>& requests) {
    if (requests.size() > 1 &&
        (sent(requests[1], "ctl00$bodyPlaceHolder$vyberObecKU$vyberKU$btnZmenKU") ||
         sent(requests[1], "ctl00$bodyPlaceHolder$vyberObec$btnZmenObec")))
        requests.removeAt(1);
}

} // namespace

class TestPortalBrowser : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void freshBrowserHasNoMarkup();
    void loginEntersCredentialsExactlyAsStored_data();
    void loginEntersCredentialsExactlyAsStored();
    void loginWithoutCredentialsLoadsNothing();
    void loginRefusedByThePortal();
    void noPasswordLeavesForAForeignHost_data();
    void noPasswordLeavesForAForeignHost();
    void searchParcel_data();
    void searchParcel();
    void searchBuildingsAndUnit_data();
    void searchBuildingsAndUnit();
    void secondLookupReleasesTheFirstTerritory();
    void pageTidiedOnCompletion();
    void domRoutinesOnThePage();
    void foreignPageDoesNotEndTheWait();
    void hangingPageEndsInTimeLimitError();
    void serverErrorEndsTheWaitWithAnError();

private:
    std::unique_ptr<PortalSimulator> m_sim;
    std::unique_ptr<RecordingMessages> m_messages;
    std::unique_ptr<TBrowser_Form> m_form;
    TempDataFolder m_data;
    PortalBrowser& browser() { return m_form->browser(); }
    void login() {
        PortalCredentials::save(m_data.path(), QStringLiteral("jan"), QStringLiteral("heslo"));
        PortalLogin(browser(), m_data.path());
        m_sim->clearLog();
    }
    QString markup() { return DomRoutines::DocumentMarkup(browser()); }
};

void TestPortalBrowser::initTestCase() {
    m_sim = std::make_unique<PortalSimulator>(state());
    m_messages = std::make_unique<RecordingMessages>();
    m_form = std::make_unique<TBrowser_Form>(*m_messages, m_data.path());
}

void TestPortalBrowser::init() {
    m_sim->setState(state());
    m_sim->clearLog();
    m_messages->messages.clear();
    browser().setPageTimeLimit(PortalBrowser::kPageTimeLimit);
}

void TestPortalBrowser::freshBrowserHasNoMarkup() {
    QCOMPARE(markup(), QString());
}

void TestPortalBrowser::loginEntersCredentialsExactlyAsStored_data() {
    QTest::addColumn<bool>("loginStep");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::newRow("with the dpSubmitBtn step") << true << " jan novák "
                                               << "tajné  heslo ";
    // "ň" scrambles to CR, which the settings file keeps in its hexadecimal key.
    QTest::newRow("without the step, a line-end password") << false << "Jan"
                                                           << "kůň\tő";
}

void TestPortalBrowser::loginEntersCredentialsExactlyAsStored() {
    QFETCH(bool, loginStep);
    QFETCH(QString, name);
    QFETCH(QString, password);
    m_sim->setState(state(loginStep));
    PortalCredentials::save(m_data.path(), name, password);
    QCOMPARE(PortalLogin(browser(), m_data.path()), LoginOutcome::LoggedIn);
    QVERIFY(m_messages->messages.isEmpty());
    const auto requests = pages(m_sim->requests());
    const QStringList expected =
        loginStep ? QStringList{QStringLiteral("GET /login.do"), QStringLiteral("POST /login.do"),
                                QStringLiteral("POST /login.do"), QStringLiteral("GET /")}
                  : QStringList{QStringLiteral("GET /login.do"), QStringLiteral("POST /login.do"),
                                QStringLiteral("GET /")};
    QCOMPARE(trail(requests), expected);
    const QJsonObject& credentials = requests[requests.size() - 2];
    QCOMPARE(param(credentials, "PAR_LoginUsername"), name);
    QCOMPARE(param(credentials, "PAR_LoginPassword"), password);
    QVERIFY(markup().contains(QStringLiteral("Přihlášen: ") + name.toHtmlEscaped()));
}

void TestPortalBrowser::loginWithoutCredentialsLoadsNothing() {
    PortalCredentials::save(m_data.path(), QStringLiteral("jan"), QString());
    QCOMPARE(PortalLogin(browser(), m_data.path()), LoginOutcome::NoCredentials);
    QCOMPARE(m_messages->messages.size(), 1);
    QCOMPARE(m_messages->messages[0],
             QStringLiteral("Zadejte přihlašovací údaje k Vašemu účtu na portal.test. Bez těchto "
                            "údajů program nefunguje.\r\nÚdaje zadáte v okně \"O programu\""));
    QVERIFY(pages(m_sim->requests()).isEmpty());
}

void TestPortalBrowser::loginRefusedByThePortal() {
    QJsonObject s = state();
    s[QStringLiteral("account")] =
        QJsonObject{{QStringLiteral("name"), QStringLiteral("jan")},
                    {QStringLiteral("password"), QStringLiteral("jiné")}};
    m_sim->setState(s);
    PortalCredentials::save(m_data.path(), QStringLiteral("jan"), QStringLiteral("heslo"));
    QCOMPARE(PortalLogin(browser(), m_data.path()), LoginOutcome::Refused);
}

void TestPortalBrowser::noPasswordLeavesForAForeignHost_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("path");
    QTest::newRow("the login address redirects to a look-alike host")
        << "loginRedirect"
        << "/login.do?typPrihlaseni=NAHLIZENI";
    QTest::newRow("the login form posts to a look-alike host")
        << "loginAction"
        << "/login.do?typPrihlaseni=NAHLIZENI&krok=prihlasit";
}

void TestPortalBrowser::noPasswordLeavesForAForeignHost() {
    QFETCH(QString, key);
    QFETCH(QString, path);
    QJsonObject s = state();
    // The look-alike host carries the portal's domain; the simulator answers it too.
    s[key] = QStringLiteral("http://login.portal.test.evil.example:%1").arg(m_sim->port()) + path;
    m_sim->setState(s);
    PortalCredentials::save(m_data.path(), QStringLiteral("jan"), QStringLiteral("heslo"));
    browser().setPageTimeLimit(std::chrono::milliseconds(3000));
    QVERIFY_THROWS_EXCEPTION(PortalError, PortalLogin(browser(), m_data.path()));
    bool visited = false;
    for (const QJsonObject& request : m_sim->requests()) {
        QVERIFY(!sent(request, "PAR_LoginPassword") && !sent(request, "PAR_LoginUsername"));
        visited = visited || request[QStringLiteral("host")].toString().contains(
                                 QLatin1String("evil.example"));
    }
    QCOMPARE(visited, key == QLatin1String("loginRedirect")); // the browser did go there
}

void TestPortalBrowser::searchParcel_data() {
    QTest::addColumn<QStringList>("record"); // uzemi, druh_cislovani, typ, puvod, cislo_1, cislo_2
    QTest::addColumn<QString>("designation");
    QTest::newRow("PKN land parcel with subdivision")
        << texts({"602582", "2", "PKN", "4", "345", "6"}) << "345/6";
    QTest::newRow("PKN building parcel without subdivision")
        << texts({"602582", "1", "PKN", "4", "12", ""}) << "st. 12";
    QTest::newRow("PZE with its source")
        << texts({"774871", "2", "PZE", "6", "1021", ""}) << "1021";
}

void TestPortalBrowser::searchParcel() {
    QFETCH(QStringList, record);
    QFETCH(QString, designation);
    login();
    SearchParcel(record[0], record[1], record[2], record[3], record[4], record[5], browser());
    QVERIFY(!browser().PageLoaded);
    QVERIFY2(markup().contains(QStringLiteral("<td>%1</td>").arg(designation)),
             qPrintable(markup()));

    auto requests = pages(m_sim->requests());
    dropRelease(requests);
    // Search page, territory, search, information page: the options send nothing.
    QCOMPARE(trail(requests), (QStringList{QStringLiteral("GET /VyberParcelu/Parcela/InformaceO"),
                                           QStringLiteral("POST /VyberParcelu/Parcela/InformaceO"),
                                           QStringLiteral("POST /VyberParcelu/Parcela/InformaceO"),
                                           QStringLiteral("GET /ZobrazObjekt")}));
    const QJsonObject& search = requests[2];
    const bool ze = record[2] == QLatin1String("PZE");
    QCOMPARE(param(search, "ctl00$bodyPlaceHolder$typParcely"),
             ze ? QStringLiteral("ZE") : QStringLiteral("KN"));
    // Every completed parcel page has its source list enabled, so it is always sent.
    if (ze)
        QCOMPARE(param(search, "ctl00$bodyPlaceHolder$zdrojZE"), record[3]);
    QCOMPARE(param(search, "ctl00$bodyPlaceHolder$druhCislovani"), record[1]);
    QCOMPARE(param(search, "ctl00$bodyPlaceHolder$txtParpod"), record[5]);
}

void TestPortalBrowser::searchBuildingsAndUnit_data() {
    QTest::addColumn<bool>("unit");
    QTest::addColumn<QStringList>(
        "record"); // obec, cast_obce, typ_stavby, cislo_stavby, cislo_jednotky
    QTest::addColumn<bool>("partList");
    QTest::newRow("building with a part list")
        << false << texts({"554782", "1520", "2", "45", ""}) << true;
    QTest::newRow("building without a part list")
        << false << texts({"582786", "11908", "1", "7", ""}) << false;
    QTest::newRow("unit") << true << texts({"554782", "1520", "1", "1200", "14"}) << true;
}

void TestPortalBrowser::searchBuildingsAndUnit() {
    QFETCH(bool, unit);
    QFETCH(QStringList, record);
    QFETCH(bool, partList);
    login();
    if (unit)
        SearchUnit(record[0], record[1], record[2], record[3], record[4], browser());
    else
        SearchBuilding(record[0], record[1], record[2], record[3], browser());
    QVERIFY2(markup().contains(unit ? QStringLiteral("Informace o jednotce")
                                    : QStringLiteral("Informace o stavbě")),
             qPrintable(markup()));
    auto requests = pages(m_sim->requests());
    dropRelease(requests);
    QCOMPARE(requests.size(), 4);
    const QJsonObject& search = requests[2];
    QCOMPARE(sent(search, "ctl00$bodyPlaceHolder$listCastObce"), partList);
    QCOMPARE(param(search, "ctl00$bodyPlaceHolder$listTypBudovy"), record[2]);
    QCOMPARE(param(search, "ctl00$bodyPlaceHolder$txtBudova"), record[3]);
    QCOMPARE(sent(search, "ctl00$bodyPlaceHolder$txtJednotka"), unit);
}

void TestPortalBrowser::secondLookupReleasesTheFirstTerritory() {
    login();
    SearchParcel(QStringLiteral("602582"), QStringLiteral("2"), QStringLiteral("PKN"),
                 QStringLiteral("4"), QStringLiteral("345"), QStringLiteral("6"), browser());
    m_sim->clearLog();
    SearchParcel(QStringLiteral("774871"), QStringLiteral("2"), QStringLiteral("PZE"),
                 QStringLiteral("6"), QStringLiteral("1021"), QString(), browser());
    const auto requests = pages(m_sim->requests());
    QCOMPARE(requests.size(), 5);
    QVERIFY(sent(requests[1], "ctl00$bodyPlaceHolder$vyberObecKU$vyberKU$btnZmenKU"));
    QCOMPARE(param(requests[2], "ctl00$bodyPlaceHolder$vyberObecKU$vyberKU$txtKU"),
             QStringLiteral("774871"));
    QVERIFY(markup().contains(QStringLiteral("<td>1021</td>")));
}

void TestPortalBrowser::pageTidiedOnCompletion() {
    login();
    SearchParcel(QStringLiteral("602582"), QStringLiteral("2"), QStringLiteral("PKN"),
                 QStringLiteral("4"), QStringLiteral("345"), QStringLiteral("6"), browser());
    const QString page = markup();
    QVERIFY(page.contains(QStringLiteral("id=\"header-box\" style=\"display: none;\"")));
    QVERIFY(page.contains(QStringLiteral("id=\"loaderMapa\" style=\"display: none;\"")));
    QVERIFY(page.contains(QStringLiteral("id=\"button-tab-panel-0\" style=\"display: block;\"")));
    QVERIFY(!page.contains(QStringLiteral("<noscript>")));
    QVERIFY(!page.contains(QStringLiteral("accord-panel")));
    QVERIFY(page.endsWith(QStringLiteral("\r\n")));
}

void TestPortalBrowser::domRoutinesOnThePage() {
    login();
    browser().PageLoaded = false;
    browser().Navigate(
        QUrl(m_sim->viewerBase() + QStringLiteral("/VyberParcelu/Parcela/InformaceO")));
    browser().WaitForPage();
    if (DomRoutines::ClickElementById(
            browser(), QStringLiteral("ctl00_bodyPlaceHolder_vyberObecKU_vyberKU_btnZmenKU")))
        browser().WaitForPage();
    m_sim->clearLog();
    QVERIFY(DomRoutines::FindElementById(browser(), QStringLiteral("LOADERMAPA")));
    QVERIFY(!DomRoutines::ElementExists(
        browser(), QStringLiteral("LOADERMAPA"))); // the document's own look-up
    QVERIFY(!DomRoutines::FindElementById(browser(), QStringLiteral("nic")));
    // A key no form holds: nothing is filled and nothing is clicked.
    DomRoutines::FillAndClick(browser(), QStringLiteral("x"), QStringLiteral("nic"), false, true,
                              QStringLiteral("ctl00_bodyPlaceHolder_vyberObecKU_vyberKU_btnKU"));
    QTest::qWait(200);
    QVERIFY(pages(m_sim->requests()).isEmpty() && !browser().PageLoaded);
    // A control to click that the form lacks is an error.
    QVERIFY_THROWS_EXCEPTION(
        PortalError,
        DomRoutines::FillAndClick(browser(), QStringLiteral("602582"),
                                  QStringLiteral("ctl00_bodyPlaceHolder_vyberObecKU_vyberKU_txtKU"),
                                  false, true, QStringLiteral("nic")));
    QVERIFY_THROWS_EXCEPTION(
        PortalError,
        DomRoutines::EnableSelectList(
            browser(), QStringLiteral("ctl00_bodyPlaceHolder_vyberObecKU_vyberKU_txtKU")));
    QVERIFY(!DomRoutines::ClickElementById(browser(), QStringLiteral("nic")));
    QVERIFY(m_messages->messages.isEmpty());
}

void TestPortalBrowser::foreignPageDoesNotEndTheWait() {
    login();
    // The search ends on a page of another domain; only the portal page loaded a while
    // later ends the driver's last wait.
    const QUrl portalPage(m_sim->viewerBase() + QStringLiteral("/ZobrazObjekt?id=pkn"));
    QTimer::singleShot(2000, this, [&] { browser().Navigate(portalPage); });
    SearchParcel(QStringLiteral("602582"), QStringLiteral("2"), QStringLiteral("PKN"),
                 QStringLiteral("4"), QStringLiteral("900"), QString(), browser());
    QCOMPARE(browser().view().url(), portalPage);
    const QStringList paths = trail(pages(m_sim->requests()));
    QCOMPARE(paths.mid(paths.size() - 3),
             texts({"GET /ZobrazObjekt", "GET /cizi", "GET /ZobrazObjekt"}));
}

void TestPortalBrowser::hangingPageEndsInTimeLimitError() {
    login();
    browser().setPageTimeLimit(std::chrono::milliseconds(3000));
    try {
        SearchParcel(QStringLiteral("602582"), QStringLiteral("2"), QStringLiteral("PKN"),
                     QStringLiteral("4"), QStringLiteral("901"), QString(), browser());
        QFAIL("the wait did not end");
    } catch (const PortalError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("se nenačetla do 3 s")),
                 qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("/ZobrazObjekt?id=hang")),
                 qPrintable(e.message()));
    }
    // The browser is usable again at once.
    browser().setPageTimeLimit(PortalBrowser::kPageTimeLimit);
    try {
        SearchParcel(QStringLiteral("602582"), QStringLiteral("2"), QStringLiteral("PKN"),
                     QStringLiteral("4"), QStringLiteral("345"), QStringLiteral("6"), browser());
    } catch (const PortalError& e) {
        QFAIL(qPrintable(e.message()));
    }
    QVERIFY(markup().contains(QStringLiteral("<td>345/6</td>")));
}

void TestPortalBrowser::serverErrorEndsTheWaitWithAnError() {
    login();
    try {
        SearchParcel(QStringLiteral("602582"), QStringLiteral("2"), QStringLiteral("PKN"),
                     QStringLiteral("4"), QStringLiteral("902"), QString(), browser());
        QFAIL("an HTTP 500 passed as a page");
    } catch (const PortalError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("/ZobrazObjekt?id=e500")),
                 qPrintable(e.message()));
    }
}

int main(int argc, char* argv[]) {
    prepareBrowserEnvironment();
    QApplication app(argc, argv);
    TestPortalBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_PortalBrowser.moc"
