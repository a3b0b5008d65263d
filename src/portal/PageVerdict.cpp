#include "portal/PageVerdict.h"

#include "store/Dataset.h"
#include "store/RecordKind.h"

namespace veritam {

QStringList searchValues(RecordKind kind, const Dataset& row) {
    QStringList values;
    for (const QString& column : kindTable(kind).searchColumns)
        values.append(row.text(column));
    return values;
}

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
    case PageKind::LoginRequired:
        return QStringLiteral("Portál žádá přihlášení nebo opsání kódu z obrázku: "
                              "přihlášení k účtu neplatí.");
    case PageKind::Other:
        break;
    }
    const QString headline = pageHeadline(*page.parsed);
    return QStringLiteral("Portál místo údajů o objektu ukázal stránku „%1“ (%2).")
        .arg(headline.isEmpty() ? QStringLiteral("bez názvu") : headline, page.address);
}

QString loginRefusedText() {
    return QStringLiteral("Portál katastru odmítl přihlášení: jméno nebo heslo neplatí. "
                          "Opravte je v okně \"O programu\" (Nastavení → Zadat heslo do CUZK).");
}

} // namespace veritam
