#include "analysis/PageRecognition.h"

#include "analysis/InnerText.h"

#include <gumbo.h>

namespace veritam {

namespace {

/// Controls of the three search forms; any of them means the search form came back.
const QStringList kSearchControls = {
    QStringLiteral("ctl00_bodyPlaceHolder_btnVyhledat"),
    QStringLiteral("ctl00_bodyPlaceHolder_vyberObecKU_vyberKU_txtKU"),
    QStringLiteral("ctl00_bodyPlaceHolder_vyberObec_txtObec"),
};

/// The login form's inputs, or a code to copy from a picture, which the portal asks only
/// of visitors without a login.
bool asksForLogin(ParsedPage::Element e) {
    const QString name = ParsedPage::attribute(e, "name");
    if (name == QLatin1String("PAR_LoginUsername") || name == QLatin1String("PAR_LoginPassword"))
        return true;
    for (const char* attribute : {"id", "name", "class", "src"})
        if (ParsedPage::attribute(e, attribute)
                .contains(QLatin1String("captcha"), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

std::optional<Section> sectionOfHeading(ParsedPage::Element element) {
    if (element->v.element.tag != GUMBO_TAG_H2)
        return std::nullopt;
    static const std::pair<QString, Section> headings[] = {
        {QStringLiteral("Vlastníci, jiní oprávnění"), Section::Owners},
        {QStringLiteral("Způsob ochrany nemovitosti"), Section::Protection},
        {QStringLiteral("Omezení vlastnického práva"), Section::Restrictions},
        {QStringLiteral("Jiné zápisy"), Section::Other},
    };
    const QString text = ParsedPage::labelText(element);
    for (const auto& [heading, section] : headings)
        if (text == heading)
            return section;
    return std::nullopt;
}

PageKind recognisePage(const QString& markup) {
    return recognisePage(ParsedPage(markup));
}

PageKind recognisePage(const ParsedPage& page) {
    bool owners = false;
    bool sections = false;
    bool login = false;
    bool searchForm = false;
    for (const ParsedPage::Element e : page.elements()) {
        if (const std::optional<Section> s = sectionOfHeading(e)) {
            sections = true;
            owners = owners || *s == Section::Owners;
        }
        login = login || asksForLogin(e);
        searchForm = searchForm || kSearchControls.contains(ParsedPage::attribute(e, "id"));
    }
    if (owners)
        return PageKind::Information;
    if (login)
        return PageKind::LoginRequired;
    if (sections)
        return PageKind::InformationWithoutOwners;
    if (searchForm)
        return PageKind::SearchForm;
    return PageKind::Other;
}

QString pageHeadline(const ParsedPage& page) {
    if (const QString title = page.title(); !title.isEmpty())
        return title;
    for (const ParsedPage::Element e : page.elements()) {
        const GumboTag tag = e->v.element.tag;
        if (tag == GUMBO_TAG_H1 || tag == GUMBO_TAG_H2)
            return innerText(e).simplified();
    }
    return {};
}

} // namespace veritam
