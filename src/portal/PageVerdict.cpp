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

namespace {

/// False when no account is on file.
bool logIn(PortalSession& session) {
    switch (session.login()) {
    case LoginOutcome::LoggedIn:
        return true;
    case LoginOutcome::NoCredentials:
        return false;
    case LoginOutcome::Refused:
        break;
    }
    throw PortalError(loginRefusedText(), PortalError::Cause::Refused);
}

} // namespace

std::optional<PortalPage> lookUpLoggedIn(PortalSession& session, RecordKind kind,
                                         const QStringList& values) {
    // A visitor without a login must copy a code from a picture before any object shows.
    const bool fresh = !session.loggedIn();
    if (fresh && !logIn(session))
        return std::nullopt;
    PortalPage page = session.lookup(kind, values);
    const bool loggedOut =
        page.kind == PageKind::LoginRequired || page.kind == PageKind::InformationWithoutOwners;
    if (!loggedOut || fresh)
        return page;
    if (!logIn(session))
        return std::nullopt;
    return session.lookup(kind, values);
}

} // namespace veritam
