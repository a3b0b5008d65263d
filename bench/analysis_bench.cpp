// The section extractor and the fingerprints, medians over repeated runs:
//   a typical information page of about 40 KB          goal < 3 ms
//   a 200 KB page with a long owners table             goal < 20 ms
// with a plain Gumbo parse of the same page beside it for scale.
#include "BenchSupport.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/SectionExtractor.h"

#include <QString>

#include <gumbo.h>

using namespace veritam;
using veritam::bench::medianMs;
using veritam::bench::report;

namespace {

/// A page of the portal's layout: menus and scripts around the label table and the four
/// sections, the owners table `owners` rows long, padded with navigation to `targetBytes`.
QString page(int owners, int targetBytes) {
    QString rows;
    for (int i = 0; i < owners; ++i)
        rows += QStringLiteral("<tr><td>Vlastník č. %1, Dlouhá ulice %1, 110 00 Praha 1</td>"
                               "<td>1/%2</td><td>Z-%1/2019-101</td></tr>\n")
                    .arg(i)
                    .arg(owners);
    QString content =
        QStringLiteral(
            "<h1>Informace o pozemku</h1><table class=\"atributy\"><tbody>"
            "<tr><td class=\"nazev\">Parcelní číslo:</td><td>345/6</td></tr>"
            "<tr><td class=\"nazev\">Katastrální území:</td><td>Benice [602582]</td></tr>"
            "<tr><td class=\"nazev\">Výměra [m2]:</td><td><strong>1254</strong></td></tr>"
            "</tbody></table>\n<h2>Vlastníci, jiní oprávnění</h2>\n<table "
            "class=\"zarovnat\"><tbody>") +
        rows +
        QStringLiteral(
            "</tbody></table>\n<h2>Způsob ochrany nemovitosti</h2><p>Není evidován žádný způsob "
            "ochrany.</p>\n<h2>Omezení vlastnického práva</h2><table><tr><td>Zástavní právo smluvní"
            "</td><td>Banka, a.s.</td></tr></table>\n<h2>Jiné zápisy</h2><p>Nejsou evidovány žádné "
            "jiné zápisy.</p>\n");
    QString navigation;
    for (int i = 0; content.size() + navigation.size() < targetBytes; ++i)
        navigation +=
            QStringLiteral(
                "<li><a href=\"/Napoveda/stranka%1.htm\" title=\"Nápověda %1\">Nápověda k "
                "části %1 aplikace Nahlížení do katastru</a></li>\n")
                .arg(i);
    return QStringLiteral("<head><title>Informace</title><script>var x = 1;</script></head><body>"
                          "<div id=\"header-box\"><ul>") +
           navigation + QStringLiteral("</ul></div><div class=\"obsah\">") + content +
           QStringLiteral(
               "</div><p class=\"paticka\">Vygenerováno 10.12.2026 14:05:09.123</p></body>\r\n");
}

void measure(const char* what, const char* parseWhat, const QString& markup, double goalMs) {
    const QByteArray utf8 = markup.toUtf8();
    std::printf("  (page of %lld bytes)\n", static_cast<long long>(utf8.size()));
    report(what,
           medianMs(51,
                    [&] {
                        const TParseKatastr sections = ExtractSections(markup);
                        for (const SectionRow& row : sectionTable())
                            ChangeRecorder::storedValue(row.section, sections[row.section]);
                    }),
           goalMs);
    report(parseWhat, medianMs(51, [&] {
               GumboOutput* output = gumbo_parse_with_options(
                   &kGumboDefaultOptions, utf8.constData(), static_cast<size_t>(utf8.size()));
               gumbo_destroy_output(&kGumboDefaultOptions, output);
           }));
}

} // namespace

int main() {
    measure("extract and fingerprint, typical page", "  plain Gumbo parse of it", page(12, 40000),
            3);
    measure("extract and fingerprint, long owners table", "  plain Gumbo parse of it",
            page(1500, 200000), 20);
    return 0;
}
