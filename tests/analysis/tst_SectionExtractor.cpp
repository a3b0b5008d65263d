// Cutting the sections and the proceedings out of a page's markup, rule by rule, on small fixtures.
#include "TestSupport.h"

#include "analysis/Fingerprint.h"
#include "analysis/SectionExtractor.h"

#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

QString page(const char* body) {
    return QStringLiteral("<head><title>x</title></head><body>") + QString::fromUtf8(body) +
           QStringLiteral("</body>\r\n");
}

TParseKatastr extract(const QString& markup) {
    return ExtractSections(markup);
}

} // namespace

class TestSectionExtractor : public QObject {
    Q_OBJECT
private slots:
    void labelCells_data();
    void labelCells();
    void headings_data();
    void headings();
    void missingSectionIsEmpty();
    void proceedings_data();
    void proceedings();
    void valuePastTheEndIsAnError();
    void sameMarkupSameText();
    void fingerprints_data();
    void fingerprints();
};

void TestSectionExtractor::labelCells_data() {
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("vymera");
    QTest::addColumn<QString>("podil");
    const char* row = "<table><tr><td class=\"%1\">%2</td><td><b>%3</b></td></tr></table>";
    auto make = [row](const char* cls, const char* label, const char* value) {
        return page(row).arg(QString::fromUtf8(cls), QString::fromUtf8(label),
                             QString::fromUtf8(value));
    };
    QTest::newRow("area two elements on") << make("nazev", "Výměra [m2]:", "1254") << "1254"
                                          << "";
    QTest::newRow("class must be exactly nazev") << make("nazev x", "Výměra [m2]:", "1254") << ""
                                                 << "";
    // White space a browser collapses does not count at the label's ends; a no-break
    // space is part of the text.
    QTest::newRow("label written across lines")
        << make("nazev", "\n    Výměra [m2]:\n  ", "1254") << "1254"
        << "";
    QTest::newRow("label followed by a no-break space")
        << make("nazev", "Výměra [m2]:&nbsp;", "1254") << ""
        << "";
    QTest::newRow("Podíl na with further words")
        << make("nazev", "Podíl na společných částech:", "1/20") << ""
        << "1/20";
    QTest::newRow("only the word before the blank") << make("nazev", "Podíl", "1/20") << ""
                                                    << "";
    QTest::newRow("a TH is no label cell")
        << page("<table><tr><th class=\"nazev\">Výměra [m2]:</th><td><b>5</b></td></tr></table>")
        << ""
        << "";
    QTest::newRow("last label wins")
        << (make("nazev", "Výměra [m2]:", "1") + make("nazev", "Výměra [m2]:", "2")) << "2"
        << "";
    QTest::newRow("apostrophe kept") << make("nazev", "Výměra [m2]:", "12 O'Neil") << "12 O'Neil"
                                     << "";
}

void TestSectionExtractor::labelCells() {
    QFETCH(QString, markup);
    QFETCH(QString, vymera);
    QFETCH(QString, podil);
    const TParseKatastr s = extract(markup);
    QCOMPARE(s.vymera, vymera);
    QCOMPARE(s.podil, podil);
}

void TestSectionExtractor::headings_data() {
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("vlastnici");
    QTest::addColumn<QString>("jine");
    QTest::newRow("a table's whole text, rows and cells")
        << page("<h2>Vlastníci, jiní oprávnění</h2>\n<table><tbody>\n<tr><td>Novák  "
                "Jan</td><td>1/2</td></tr>\n"
                "<tr><td>Nováková\nMarie</td><td>1/2</td></tr></tbody></table>")
        << "Novák Jan\t1/2\nNováková Marie\t1/2"
        << "";
    QTest::newRow("two Jiné zápisy: the second")
        << page("<h2>Jiné zápisy</h2><p>první</p><h2>Jiné zápisy</h2><div>druhý<br>řádek</div>")
        << ""
        << "druhý\nřádek";
    QTest::newRow("heading written across lines")
        << page("<h2>\n\t Vlastníci, jiní oprávnění\n</h2><p>A</p>") << "A"
        << "";
    QTest::newRow("heading text must be whole")
        << page("<h2>Vlastníci, jiní oprávnění:</h2><p>x</p>") << ""
        << "";
    QTest::newRow("a heading other than H2") << page("<h3>Jiné zápisy</h3><p>x</p>") << ""
                                             << "";
    QTest::newRow("scripts and comments give no text")
        << page("<h2>Jiné zápisy</h2><div>a<script>b()</script><!-- c -->d</div>") << ""
        << "ad";
}

void TestSectionExtractor::headings() {
    QFETCH(QString, markup);
    QFETCH(QString, vlastnici);
    QFETCH(QString, jine);
    const TParseKatastr s = extract(markup);
    QCOMPARE(s.vlastnici, vlastnici);
    QCOMPARE(s.jine, jine);
}

void TestSectionExtractor::missingSectionIsEmpty() {
    const TParseKatastr s = extract(page("<h2>Způsob ochrany nemovitosti</h2><p>ochrana</p>"));
    QCOMPARE(s.omezeni, QString());
    QCOMPARE(s.ochrana, QStringLiteral("ochrana"));
    QCOMPARE(extract(QString()).ochrana, QString()); // no page at all
}

void TestSectionExtractor::proceedings_data() {
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("rizeni");
    QTest::newRow("none") << page("<h2>Jiné zápisy</h2><p>Bez zápisu.</p>") << "";
    QTest::newRow("two, sorted; the words and the links' addresses do not count")
        << page("<p class=\"plomba\">Objekt je dotčen změnou právního vztahu: "
                "<a href=\"/Rizeni?c=V-9/2026-101\">Z-77/2026-702</a>, "
                "<a href=\"/Rizeni?c=x\">V-1234/2026-101</a></p>")
        << "V-1234/2026-101, Z-77/2026-702";
    QTest::newRow("two paragraphs, one number twice, a further class")
        << page("<p class=\"plomba\">Řízení PGP-5/2026-101</p>"
                "<p class=\"upozorneni plomba\">Řízení V-1234/2026-101 a PGP-5/2026-101</p>")
        << "PGP-5/2026-101, V-1234/2026-101";
    QTest::newRow("a number outside the paragraph, or not a whole number")
        << page("<p>V-1/2026-101</p><p class=\"plomba\">č. XV-1234/2026-1010 ZV-12/26-1 "
                "a V-12/2026-101</p>")
        << "V-12/2026-101";
}

void TestSectionExtractor::proceedings() {
    QFETCH(QString, markup);
    QFETCH(QString, rizeni);
    QCOMPARE(extract(markup).rizeni, rizeni);
}

void TestSectionExtractor::valuePastTheEndIsAnError() {
    QVERIFY_THROWS_EXCEPTION(AnalysisError, extract(page("<p>x</p><h2>Jiné zápisy</h2>")));
    QVERIFY_THROWS_EXCEPTION(
        AnalysisError,
        extract(page("<table><tr><td class=\"nazev\">Výměra [m2]:</td><td>1</td></tr></table>")));
}

void TestSectionExtractor::sameMarkupSameText() {
    const QString markup = page(
        "<h2>Vlastníci, jiní oprávnění</h2><table><tr><td>Nguyễn Văn</td><td> 1/3 </td></tr>"
        "</table><table><tr><td class=\"nazev\">Podíl na x</td><td><i> 7/9 </i></td></tr></table>");
    const TParseKatastr a = extract(markup);
    const TParseKatastr b = extract(markup);
    QCOMPARE(a.vlastnici.toUtf8(), b.vlastnici.toUtf8());
    QCOMPARE(a.vlastnici, QStringLiteral("Nguyễn Văn\t1/3"));
    QCOMPARE(a.podil, QStringLiteral(" 7/9 "));
}

void TestSectionExtractor::fingerprints_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fingerprint");
    QTest::newRow("empty: zero bytes") << ""
                                       << "D41D8CD98F00B204E9800998ECF8427E";
    QTest::newRow("Windows-1250 bytes") << "Novák Jan\t1/2"
                                        << "1AE4C16016BC4E3FFD4A488520724551";
    QTest::newRow("a letter the code page lacks: UTF-8 bytes")
        << "Nguyễn Văn"
        << "C0BCF05ED6B89613045BFD679B356FD1";
}

void TestSectionExtractor::fingerprints() {
    QFETCH(QString, text);
    QFETCH(QString, fingerprint);
    QCOMPARE(Fingerprint(text), fingerprint);
}

QTEST_APPLESS_MAIN(TestSectionExtractor)
#include "tst_SectionExtractor.moc"
