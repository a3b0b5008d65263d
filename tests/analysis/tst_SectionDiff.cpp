// What differs between two snapshots of an object, on small pages written for each case.
#include "TestSupport.h"

#include "analysis/SectionDiff.h"

#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

/// An information page: the share, the owners and the restrictions as tables of rows
/// ("name|share"), and some noise that differs from page to page.
QByteArray page(const char* share, std::initializer_list<const char*> owners,
                std::initializer_list<const char*> restrictions, const char* noise = "") {
    const auto table = [](std::initializer_list<const char*> rows) {
        QString t = QStringLiteral("<table>");
        for (const char* row : rows)
            t += QStringLiteral("<tr><td>") +
                 QString::fromUtf8(row).replace(u'|', QStringLiteral("</td><td>")) +
                 QStringLiteral("</td></tr>");
        return t + QStringLiteral("</table>");
    };
    return (QStringLiteral(
                "<!DOCTYPE html><html><head><link href=\"../../../cascade1.css\"/>"
                "</head><body><p>Platnost k %1</p><table><tr><td class=\"nazev\">Podíl na "
                "společných částech domu:</td><td><b>%2</b></td></tr></table>"
                "<h2>Vlastníci, jiní oprávnění</h2>%3"
                "<h2>Omezení vlastnického práva</h2>%4</body></html>")
                .arg(QString::fromUtf8(noise), QString::fromUtf8(share), table(owners),
                     table(restrictions)))
        .toUtf8();
}

/// The sections that differ, as "name: -removed +added" or "name: old -> new".
QStringList differences(const QByteArray& older, const QByteArray& newer) {
    const auto a = SectionDiff::readSnapshot(older);
    const auto b = SectionDiff::readSnapshot(newer);
    if (!a || !b)
        return {QStringLiteral("unreadable")};
    QStringList result;
    for (const SectionDiff::Change& c : SectionDiff::compare(*a, *b)) {
        if (!c.differs)
            continue;
        QString line = sectionRow(c.section).name + QStringLiteral(":");
        if (sectionRow(c.section).form == SectionForm::Text)
            line += QStringLiteral(" %1 -> %2").arg(c.oldText, c.newText);
        for (const QStringList& row : c.removed)
            line += QStringLiteral(" -") + row.join(u'|');
        for (const QStringList& row : c.added)
            line += QStringLiteral(" +") + row.join(u'|');
        result.append(line);
    }
    return result;
}

} // namespace

class TestSectionDiff : public QObject {
    Q_OBJECT
private slots:
    void differences_data();
    void differences();
    void onlyAnInformationPageIsRead();
};

void TestSectionDiff::differences_data() {
    QTest::addColumn<QByteArray>("older");
    QTest::addColumn<QByteArray>("newer");
    QTest::addColumn<QStringList>("expected");
    const QByteArray base = page("1/2", {"Novák Jan|1/2", "Nováková Eva|1/2"},
                                 {"Zástavní právo|Banka A", "Věcné břemeno|Obec"});
    QTest::newRow("an owner added")
        << base
        << page("1/2", {"Novák Jan|1/2", "Nováková Eva|1/2", "Dvořák Petr|1/4"},
                {"Zástavní právo|Banka A", "Věcné břemeno|Obec"})
        << texts({"vlastnici: +Dvořák Petr|1/4"});
    QTest::newRow("an owner removed and one changed share")
        << base
        << page("1/2", {"Nováková Eva|1/1"}, {"Zástavní právo|Banka A", "Věcné břemeno|Obec"})
        << texts({"vlastnici: -Novák Jan|1/2 -Nováková Eva|1/2 +Nováková Eva|1/1"});
    QTest::newRow("the share changed") << base
                                       << page("2/3", {"Novák Jan|1/2", "Nováková Eva|1/2"},
                                               {"Zástavní právo|Banka A", "Věcné břemeno|Obec"})
                                       << texts({"podil: 1/2 -> 2/3"});
    QTest::newRow("a restriction added between others")
        << base
        << page("1/2", {"Novák Jan|1/2", "Nováková Eva|1/2"},
                {"Zástavní právo|Banka A", "Exekuce|Soud", "Věcné břemeno|Obec"})
        << texts({"omezeni: +Exekuce|Soud"});
    QTest::newRow("the same page with other noise")
        << base
        << page("1/2", {"Novák Jan|1/2", "Nováková Eva|1/2"},
                {"Zástavní právo|Banka A", "Věcné břemeno|Obec"}, "10.12.2026 21:07:33")
        << QStringList();
    // The noise stands in a paragraph of its own; a paragraph of proceedings follows it.
    const char* pending = "</p><p class=\"plomba\">Řízení V-1234/2026-101, Z-7/2026-702";
    QTest::newRow("a proceeding came and one went")
        << page("1/2", {"Novák Jan|1/2", "Nováková Eva|1/2"},
                {"Zástavní právo|Banka A", "Věcné břemeno|Obec"}, pending)
        << page("1/2", {"Novák Jan|1/2", "Nováková Eva|1/2"},
                {"Zástavní právo|Banka A", "Věcné břemeno|Obec"},
                "</p><p class=\"plomba\">Řízení Z-55/2026-101, Z-7/2026-702")
        << texts({"rizeni: -V-1234/2026-101 +Z-55/2026-101"});
    QTest::newRow("rows in another order") << base
                                           << page("1/2", {"Nováková Eva|1/2", "Novák Jan|1/2"},
                                                   {"Věcné břemeno|Obec", "Zástavní právo|Banka A"})
                                           << QStringList();
}

void TestSectionDiff::differences() {
    QFETCH(QByteArray, older);
    QFETCH(QByteArray, newer);
    QFETCH(QStringList, expected);
    QCOMPARE(::differences(older, newer), expected);
}

void TestSectionDiff::onlyAnInformationPageIsRead() {
    QVERIFY(!SectionDiff::readSnapshot("<html><body><h1>Omezení přístupu</h1></body></html>"));
    const auto first = SectionDiff::readSnapshot(page("1/2", {"Novák Jan|1/1"}, {}));
    QVERIFY(first);
    QCOMPARE(SectionDiff::rows(Section::Owners, first->vlastnici),
             std::vector<QStringList>{texts({"Novák Jan", "1/1"})});
}

QTEST_GUILESS_MAIN(TestSectionDiff)
#include "tst_SectionDiff.moc"
