#include "analysis/SectionExtractor.h"

#include "analysis/InnerText.h"
#include "analysis/PageRecognition.h"
#include "analysis/ParsedPage.h"

namespace veritam {

void ClearSections(TParseKatastr& sections) {
    sections = TParseKatastr();
}

void ExtractSections(const QString& markup, TParseKatastr& sections) {
    ExtractSections(ParsedPage(markup), sections);
}

void ExtractSections(const ParsedPage& page, TParseKatastr& sections) {
    const std::vector<ParsedPage::Element>& elements = page.elements();

    const auto take = [&](std::size_t i, std::size_t offset, const QString& what) {
        if (i + offset >= elements.size())
            throw AnalysisError(QStringLiteral("Na stránce chybí údaj za „%1“.").arg(what));
        return innerText(elements[i + offset]);
    };
    static const QString area = QStringLiteral("Výměra [m2]:");
    static const QString share = QStringLiteral("Podíl na");

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
        }
    }
}

} // namespace veritam
