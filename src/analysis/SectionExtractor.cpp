#include "analysis/SectionExtractor.h"

#include "analysis/InnerText.h"
#include "analysis/PageRecognition.h"
#include "analysis/ParsedPage.h"

#include <QRegularExpression>

#include <array>
#include <optional>
#include <set>

namespace veritam {

TParseKatastr ExtractSections(const QString& markup) {
    return ExtractSections(ParsedPage(markup));
}

QStringList proceedingNumbers(const QString& text) {
    // Type letters, number / year - office: "V-1234/2026-101", "PGP-77/2026-702".
    static const QRegularExpression number(
        QStringLiteral("(?<![\\p{L}\\d-])\\p{Lu}{1,4}-\\d{1,7}/\\d{4}-\\d{3}(?![\\d/-])"));
    std::set<QString> found;
    for (auto it = number.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured());
    return {found.begin(), found.end()};
}

TParseKatastr ExtractSections(const ParsedPage& page) {
    const std::vector<ParsedPage::Element>& elements = page.elements();
    static const QString area = QStringLiteral("Výměra [m2]:");
    static const QString share = QStringLiteral("Podíl na");

    // The last match in document order wins; only its value is read, so that a page
    // repeating a label does not make the reading grow with the square of its size.
    struct Match {
        std::size_t value; ///< where the value lies
        QString label;
    };
    std::array<std::optional<Match>, kSectionCount> last;
    QString proceedings;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const ParsedPage::Element e = elements[i];
        if (ParsedPage::isLabelCell(e)) {
            const QString text = ParsedPage::labelText(e);
            if (text == area)
                last[static_cast<std::size_t>(Section::Area)] = Match{i + 2, text};
            if (text.left(8) == share)
                last[static_cast<std::size_t>(Section::Share)] = Match{i + 2, text};
        } else if (const std::optional<Section> s = sectionOfHeading(e)) {
            last[static_cast<std::size_t>(*s)] = Match{i + 1, ParsedPage::labelText(e)};
        } else if (isProceedingsNotice(e)) {
            proceedings += innerText(e) + u'\n';
        }
    }
    TParseKatastr sections;
    for (const SectionRow& row : sectionTable()) {
        const std::optional<Match>& m = last[static_cast<std::size_t>(row.section)];
        if (!m)
            continue;
        if (m->value >= elements.size())
            throw AnalysisError(QStringLiteral("Na stránce chybí údaj za „%1“.").arg(m->label));
        sections[row.section] = innerText(elements[m->value]);
    }
    sections.rizeni = proceedingNumbers(proceedings).join(listSeparator());
    return sections;
}

} // namespace veritam
