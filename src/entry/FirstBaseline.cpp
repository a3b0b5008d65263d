#include "entry/FirstBaseline.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/SectionExtractor.h"
#include "portal/PageVerdict.h"
#include "portal/PortalSession.h"
#include "store/Dataset.h"
#include "store/RecordKind.h"
#include "store/TDM1.h"

#include <QDateTime>

namespace veritam {

QString objectNotShownText() {
    return QStringLiteral(
        "Nemovitá věc je zřejmě špatně zadána. Zkontrolujte údaje o nemovitosti.");
}

FirstBaseline StoreFirstBaseline(TDM1& dm, PortalSession& session, TParseKatastr& sections,
                                 RecordKind kind, int id) {
    using Result = FirstBaseline::Result;
    const KindTable& k = kindTable(kind);
    ClearSections(sections);
    dm.UpdateField(id, k.recordTable, QStringLiteral("posledni_kontrola"),
                   TDM1::DateToSql(QDateTime::currentDateTime()));
    dm.UpdateField(id, k.recordTable, QStringLiteral("zmeny"), QStringLiteral("0"));
    const auto row = dm.OpenStatement(QStringLiteral("SELECT * FROM ") + k.recordTable +
                                      QStringLiteral(" WHERE ID = ") + QString::number(id));
    if (row->recordCount() != 1)
        return {Result::NotLookedUp, QStringLiteral("Záznam se po uložení nenašel.")};

    std::optional<PortalPage> page;
    try {
        const PortalSession::Operation operation(session);
        page = lookUpLoggedIn(session, kind, searchValues(kind, *row));
    } catch (const PortalError& e) {
        const bool refused = e.cause() == PortalError::Cause::Refused;
        return {refused ? Result::Refused : Result::NotLookedUp, e.message()};
    }
    if (!page)
        return {Result::Refused, {}}; // no account: the login has said where to enter it
    switch (page->kind) {
    case PageKind::Information:
        break;
    case PageKind::SearchForm:
    case PageKind::InformationWithoutOwners:
        return {Result::NotShown, objectNotShownText()};
    case PageKind::LoginRequired:
        return {Result::Refused, loginRefusedText()};
    case PageKind::Other:
        return {Result::Refused, whyNotComparable(*page)};
    }
    ExtractSections(*page->parsed, sections);
    if (sections.vlastnici.isEmpty())
        return {Result::NotShown, objectNotShownText()};
    ChangeRecorder::FingerprintSections(sections);
    ChangeRecorder::RecordChange(dm, kind, id, row->text(QStringLiteral("nazev")), page->markup,
                                 [&] { ChangeRecorder::StoreBaseline(dm, kind, id, sections); });
    return {Result::Stored, {}};
}

} // namespace veritam
