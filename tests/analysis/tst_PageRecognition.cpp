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
        << PageKind::LoginRequired;
    QTest::newRow("the login form")
        << "<form name=\"Form\"><input name=\"PAR_LoginUsername\"><input "
           "name=\"PAR_LoginPassword\" type=\"password\"></form>"
        << PageKind::LoginRequired;
    QTest::newRow("a maintenance notice") << "<h1>Probíhá údržba</h1>" << PageKind::Other;
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
