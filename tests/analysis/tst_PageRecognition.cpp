// What a page is, decided before anything on it is compared.
#include "analysis/PageRecognition.h"

#include <QtTest>

using namespace veritam;

Q_DECLARE_METATYPE(PageKind)

class TestPageRecognition : public QObject {
    Q_OBJECT
private slots:
    void recognise_data();
    void recognise();
    void headline();
};

void TestPageRecognition::recognise_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<PageKind>("kind");
    QTest::newRow("information page with owners")
        << "<h2>\n Vlastníci, jiní oprávnění\n</h2><table><tr><td>A</td></tr></table>"
           "<h2>Jiné zápisy</h2><p>x</p>"
        << PageKind::Information;
    QTest::newRow("sections without owners")
        << "<h2>Způsob ochrany nemovitosti</h2><p>x</p>" << PageKind::InformationWithoutOwners;
    QTest::newRow("owners heading with a no-break space is none")
        << "<h2>Vlastníci, jiní oprávnění&nbsp;</h2><p>x</p><h2>Jiné zápisy</h2><p>x</p>"
        << PageKind::InformationWithoutOwners;
    QTest::newRow("the search form again")
        << "<form><input id=\"ctl00_bodyPlaceHolder_vyberObec_txtObec\"></form>"
        << PageKind::SearchForm;
    QTest::newRow("the search form asking for a code")
        << "<form><img id=\"captchaImage\" src=\"/c.png\"><input "
           "id=\"ctl00_bodyPlaceHolder_btnVyhledat\"></form>"
        << PageKind::LoggedOut;
    QTest::newRow("the login form")
        << "<form name=\"Form\"><input name=\"PAR_LoginUsername\"><input "
           "name=\"PAR_LoginPassword\" type=\"password\"></form>"
        << PageKind::LoggedOut;
    QTest::newRow("a maintenance notice") << "<h1>Probíhá údržba</h1>" << PageKind::Other;
    const QString in = QStringLiteral("<div id=\"header_right\"><a "
                                      "id=\"ctl00_loginView_linkLogout\">Odhlásit</a></div>");
    const QString out = QStringLiteral("<div id=\"header_right\"><a "
                                       "id=\"ctl00_loginView_linkLogin\">Přihlásit</a></div>");
    const QString object = QStringLiteral("<h1>Informace o pozemku</h1><table><tr><td "
                                          "class=\"nazev\">Parcelní číslo:</td><td>1</td></tr>"
                                          "</table>");
    const QString noOwners = QStringLiteral("<h2>Jiné zápisy</h2><p>x</p>");
    QTest::newRow("logged out: no owners") << out + object + noOwners << PageKind::LoggedOut;
    QTest::newRow("logged out: the search form")
        << out + QStringLiteral("<input id=\"ctl00_bodyPlaceHolder_btnVyhledat\">")
        << PageKind::LoggedOut;
    QTest::newRow("logged in: no owners") << in + object + noOwners << PageKind::Incomplete;
    QTest::newRow("logged in: no sections") << in + object << PageKind::Incomplete;
    QTest::newRow("no marker: no sections") << object << PageKind::Incomplete;
    QTest::newRow("logged in: the search form")
        << in + QStringLiteral("<input id=\"ctl00_bodyPlaceHolder_btnVyhledat\">")
        << PageKind::SearchForm;
    QTest::newRow("logged in: a code asked")
        << in + QStringLiteral(
                    "<img id=\"captchaImage\"><input id=\"ctl00_bodyPlaceHolder_btnVyhledat\">")
        << PageKind::Other;
    QTest::newRow("logged in: a notice")
        << in + QStringLiteral("<h1>Chyba</h1>") << PageKind::Other;
    QTest::newRow("the traffic protection, logged out")
        << out + QStringLiteral("<title>Omezení přístupu - Nahlížení</title><h1>Omezení "
                                "přístupu</h1>")
        << PageKind::Protection;
    QTest::newRow("no page at all") << "" << PageKind::Other;
}

void TestPageRecognition::recognise() {
    QFETCH(QString, body);
    QFETCH(PageKind, kind);
    QCOMPARE(
        recognisePage(QStringLiteral("<html><body>") + body + QStringLiteral("</body></html>")),
        kind);
}

void TestPageRecognition::headline() {
    QCOMPARE(pageHeadline(
                 ParsedPage(QStringLiteral("<html><head><title> Omezení\n přístupu </title></head>"
                                           "<body><h1>Jiný</h1></body></html>"))),
             QStringLiteral("Omezení přístupu"));
    QCOMPARE(pageHeadline(ParsedPage(QStringLiteral("<body><p>x</p><h1>Údržba</h1></body>"))),
             QStringLiteral("Údržba"));
}

QTEST_GUILESS_MAIN(TestPageRecognition)
#include "tst_PageRecognition.moc"
