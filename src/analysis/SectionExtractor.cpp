#include "analysis/SectionExtractor.h"

#include "analysis/InnerText.h"
#include "analysis/PageRecognition.h"
#include "analysis/ParsedPage.h"

#include <QRegularExpression>

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
    TParseKatastr sections;

    const auto take = [&](std::size_t i, std::size_t offset, const QString& what) {
        if (i + offset >= elements.size())
            throw AnalysisError(QStringLiteral("Na stránce chybí údaj za „%1“.").arg(what));
        return innerText(elements[i + offset]);
    };
    static const QString area = QStringLiteral("Výměra [m2]:");
    static const QString share = QStringLiteral("Podíl na");

    QString proceedings;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const ParsedPage::Element e = elements[i];
        if (ParsedPage::isLabelCell(e)) {
            const QString text = ParsedPage::labelText(e);
            if (text == area)
                sections.vymera = take(i, 2, text);
            if (text.left(8) == share)
                sections.podil = take(i, 2, text);
        } else if (const std::optional<Section> s = sectionOfHeading(e)) {
            sections[*s] = take(i, 1, ParsedPage::labelText(e));
        } else if (isProceedingsNotice(e)) {
            proceedings += innerText(e) + u'\n';
        }
    }
    sections.rizeni = proceedingNumbers(proceedings).join(listSeparator());
    return sections;
}

} // namespace veritam
