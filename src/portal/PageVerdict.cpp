#include "portal/PageVerdict.h"

#include <QStringList>

namespace veritam {

namespace {

QString missingText(const ParsedPage& page) {
    QStringList titles;
    for (Section s : missingSections(page))
        titles.append(sectionRow(s).title);
    if (titles.isEmpty()) // the headings are there, the owners' rows are not
        return QStringLiteral("Stránka objektu neukazuje vlastníky.");
    return (titles.size() == 1 ? QStringLiteral("Stránka objektu neobsahuje oddíl %1.")
                               : QStringLiteral("Stránka objektu neobsahuje oddíly %1."))
        .arg(titles.join(QStringLiteral(", ")));
}

} // namespace

QString whyNotComparable(const PortalPage& page) {
    switch (page.kind) {
    case PageKind::Information:
        return {};
    case PageKind::SearchForm:
        return QStringLiteral("Portál objekt nenašel (vrátil vyhledávací formulář); "
                              "zkontrolujte čísla a kódy záznamu.");
    case PageKind::InformationWithoutOwners:
        return QStringLiteral("Stránka objektu na portálu neukazuje vlastníky, "
                              "nelze ji porovnat s minulou kontrolou.");
    case PageKind::Incomplete:
        return missingText(*page.parsed);
    case PageKind::LoggedOut:
        return loggedOutText();
    case PageKind::Protection:
    case PageKind::Other:
        break;
    }
    const QString headline = pageHeadline(*page.parsed);
    return QStringLiteral("Portál místo údajů o objektu ukázal stránku „%1“ (%2).")
        .arg(headline.isEmpty() ? QStringLiteral("bez názvu") : headline, page.address);
}

QString loggedOutText() {
    return QStringLiteral("Portál žádá přihlášení nebo opsání kódu z obrázku: "
                          "přihlášení k účtu neplatí.");
}

QString loginRefusedText() {
    return QStringLiteral("Portál katastru odmítl přihlášení: jméno nebo heslo neplatí. "
                          "Opravte je v okně \"O programu\" (Nastavení → Zadat heslo do CUZK).");
}

} // namespace veritam
