// What capture reads off an information page, on small pages written for each case.
#include "analysis/PageIdentity.h"
#include "analysis/ParsedPage.h"

#include <QtTest>

using namespace veritam;

namespace {

/// A page of label rows; a value given as "<b>…</b>" lies two elements on, as the portal
/// wraps some of them.
QString page(std::initializer_list<std::pair<const char*, const char*>> rows) {
    QString html = QStringLiteral("<html><body><table>");
    for (const auto& [label, value] : rows)
        html += QStringLiteral("<tr><td class=\"nazev\">\n  %1\n</td><td>%2</td></tr>")
                    .arg(QString::fromUtf8(label), QString::fromUtf8(value));
    return html + QStringLiteral("</table></body></html>");
}

QString joined(const PageIdentity::Fields& fields) {
    QStringList parts;
    for (const auto& [column, value] : fields)
        parts.append(column + u'=' + value);
    return parts.join(u' ');
}

} // namespace

class TestPageIdentity : public QObject {
    Q_OBJECT
private slots:
    void identities_data();
    void identities();
};

void TestPageIdentity::identities_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("expected");
    QTest::newRow("building parcel with subdivision")
        << "parcel"
        << page({{"Parcelní číslo:", "st. 123/4"}, {"Katastrální území:", "Benice [602582]"}})
        << "uzemi=602582 typ_parcely=PKN puvod_parcely=4 cislo_1=123 cislo_2=4 druh_cislovani=1";
    QTest::newRow("land parcel, code without a name")
        << "parcel" << page({{"Parcelní číslo:", "56"}, {"Katastrální území:", "602582]"}})
        << "uzemi=602582 typ_parcely=PKN puvod_parcely=4 cislo_1=56 cislo_2= druh_cislovani=2";
    QTest::newRow("ZE parcel from an allotment plan")
        << "parcel"
        << page({{"Parcelní číslo:", "1021"},
                 {"Typ parcely:", "Parcela zjednodušené evidence"},
                 {"Zdroj parcely ZE:", "Přídělový plán nebo jiný podklad"}})
        << "uzemi= typ_parcely=PZE puvod_parcely=6 cislo_1=1021 cislo_2= druh_cislovani=2";
    QTest::newRow("the last number wins")
        << "parcel" << page({{"Parcelní číslo:", "1"}, {"Parcelní číslo:", "2"}})
        << "uzemi= typ_parcely=PKN puvod_parcely=4 cislo_1=2 cislo_2= druh_cislovani=2";
    QTest::newRow("no labels at all")
        << "parcel" << QStringLiteral("<html><body><p>Omezení přístupu</p></body></html>")
        << "uzemi= typ_parcely=PKN puvod_parcely=4 cislo_1= cislo_2= druh_cislovani=2";
    QTest::newRow("house number") << "building"
                                  << page({{"Stavba:", "<strong>č. p. 15</strong>"},
                                           {"Obec:", "Praha [554782]"},
                                           {"Část obce:", "Běchovice [1520]"},
                                           {"Typ stavby:", "Budova s číslem popisným"}})
                                  << "obec=554782 cast_obce=1520 typ_stavby=1 cislo_stavby=15";
    QTest::newRow("registration number") << "building"
                                         << page({{"Stavba:", "<strong>č. ev. 15</strong>"},
                                                  {"Typ stavby:", "Budova s číslem evidenčním"}})
                                         << "obec= cast_obce= typ_stavby=2 cislo_stavby=15";
    QTest::newRow("unit") << "unit" << page({{"Číslo jednotky", "<strong>1520/7</strong>"}})
                          << "cislo_stavby=1520 cislo_jednotky=7";
    QTest::newRow("unit number alone")
        << "unit" << page({{"Číslo jednotky", "<b>7</b>"}}) << "cislo_stavby= cislo_jednotky=7";
}

void TestPageIdentity::identities() {
    QFETCH(QString, kind);
    QFETCH(QString, html);
    QFETCH(QString, expected);
    const ParsedPage parsed(html);
    const QString got =
        kind == QLatin1String("parcel")     ? joined(PageIdentity::parcel(parsed).fields())
        : kind == QLatin1String("building") ? joined(PageIdentity::building(parsed).fields())
                                            : joined(PageIdentity::unit(parsed).fields());
    QCOMPARE(got, expected);
}

QTEST_APPLESS_MAIN(TestPageIdentity)
#include "tst_PageIdentity.moc"
