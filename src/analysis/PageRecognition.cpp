#include "analysis/PageRecognition.h"

#include "analysis/InnerText.h"

#include <gumbo.h>

namespace veritam {

namespace {

/// Everything the recognition relies on of the portal's markup, in one place.
struct Markers {
    /// Controls of the three search forms; any of them means the search form came back.
    QStringList searchControls{QStringLiteral("ctl00_bodyPlaceHolder_btnVyhledat"),
                               QStringLiteral("ctl00_bodyPlaceHolder_vyberObecKU_vyberKU_txtKU"),
                               QStringLiteral("ctl00_bodyPlaceHolder_vyberObec_txtObec")};
    /// The login form's inputs.
    QStringList loginInputs{QStringLiteral("PAR_LoginUsername"),
                            QStringLiteral("PAR_LoginPassword")};
    /// The header's link to log out, shown to a logged-in visitor, and to log in.
    QString logoutLink = QStringLiteral("ctl00_loginView_linkLogout");
    QString loginLink = QStringLiteral("ctl00_loginView_linkLogin");
    /// The main headings of the three kinds of information page.
    QStringList objectHeadings{QStringLiteral("Informace o pozemku"),
                               QStringLiteral("Informace o stavbě"),
                               QStringLiteral("Informace o jednotce")};
    /// Titles of the traffic protection's page.
    QStringList protectionTitles{QStringLiteral("Omezení přístupu")};
    /// The class of the paragraph naming the pending proceedings.
    QString proceedingsClass = QStringLiteral("plomba");
};

const Markers& markers() {
    static const Markers m;
    return m;
}

bool hasClass(ParsedPage::Element e, const QString& name) {
    return ParsedPage::attribute(e, "class").split(u' ', Qt::SkipEmptyParts).contains(name);
}

/// The login form's inputs, or a code to copy from a picture, which the portal asks only
/// of visitors without a login.
bool asksForLogin(ParsedPage::Element e) {
    if (markers().loginInputs.contains(ParsedPage::attribute(e, "name")))
        return true;
    for (const char* attribute : {"id", "name", "class", "src"})
        if (ParsedPage::attribute(e, attribute)
                .contains(QLatin1String("captcha"), Qt::CaseInsensitive))
            return true;
    return false;
}

/// What one walk over the page finds.
struct Signs {
    std::vector<Section> sections;
    bool login = false;
    bool loggedIn = false;
    bool loggedOut = false;
    bool searchForm = false;
    bool objectPage = false; ///< its main heading or its label cells say so

    explicit Signs(const ParsedPage& page) {
        const Markers& m = markers();
        for (const ParsedPage::Element e : page.elements()) {
            if (const std::optional<Section> s = sectionOfHeading(e))
                sections.push_back(*s);
            const QString id = ParsedPage::attribute(e, "id");
            login = login || asksForLogin(e);
            loggedIn = loggedIn || id == m.logoutLink;
            loggedOut = loggedOut || id == m.loginLink;
            searchForm = searchForm || m.searchControls.contains(id);
            objectPage = objectPage || ParsedPage::isLabelCell(e) ||
                         (e->v.element.tag == GUMBO_TAG_H1 &&
                          m.objectHeadings.contains(ParsedPage::labelText(e)));
        }
    }
    bool has(Section s) const {
        return std::find(sections.begin(), sections.end(), s) != sections.end();
    }
};

} // namespace

std::optional<Section> sectionOfHeading(ParsedPage::Element element) {
    if (element->v.element.tag != GUMBO_TAG_H2)
        return std::nullopt;
    const QString text = ParsedPage::labelText(element);
    for (const SectionRow& row : sectionTable())
        if (row.form == SectionForm::Table && text == row.title)
            return row.section;
    return std::nullopt;
}

bool isProceedingsNotice(ParsedPage::Element element) {
    return element->v.element.tag == GUMBO_TAG_P && hasClass(element, markers().proceedingsClass);
}

std::vector<Section> missingSections(const ParsedPage& page) {
    const Signs signs(page);
    std::vector<Section> missing;
    for (const SectionRow& row : sectionTable())
        if (row.form == SectionForm::Table && !signs.has(row.section))
            missing.push_back(row.section);
    return missing;
}

PageKind recognisePage(const QString& markup) {
    return recognisePage(ParsedPage(markup));
}

PageKind recognisePage(const ParsedPage& page) {
    const Signs signs(page);
    if (signs.has(Section::Owners))
        return PageKind::Information;
    if (markers().protectionTitles.contains(page.title().section(QStringLiteral(" - "), 0, 0)))
        return PageKind::Protection;
    const bool object = signs.objectPage || !signs.sections.empty();
    // A visitor still logged in is refused, or the object's page is odd; never logged out.
    if (signs.loggedIn) {
        if (signs.login) // a code asked of a logged-in visitor: the protection's
            return PageKind::Other;
        if (signs.searchForm)
            return PageKind::SearchForm;
        return object ? PageKind::Incomplete : PageKind::Other;
    }
    if (signs.login || signs.loggedOut)
        return PageKind::LoggedOut;
    if (signs.searchForm)
        return PageKind::SearchForm;
    if (!signs.sections.empty())
        return PageKind::InformationWithoutOwners;
    return object ? PageKind::Incomplete : PageKind::Other;
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
