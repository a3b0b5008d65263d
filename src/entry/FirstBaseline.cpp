#include "entry/FirstBaseline.h"

#include "check/CheckStep.h"
#include "portal/PortalSession.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

namespace veritam {

QString objectNotShownText() {
    return QStringLiteral(
        "Nemovitá věc je zřejmě špatně zadána. Zkontrolujte údaje o nemovitosti.");
}

FirstBaseline StoreFirstBaseline(TDM1& dm, PortalSession& session, RecordKind kind, int id) {
    using Result = FirstBaseline::Result;
    dm.UpdateFields(
        id, kindTable(kind).recordTable,
        {{QStringLiteral("posledni_kontrola"), dm.now()}, {QStringLiteral("zmeny"), false}});
    const std::optional<WatchedRecord> record = WatchedRecord::load(dm, kind, id);
    if (!record)
        return {Result::NotLookedUp, QStringLiteral("Záznam se po uložení nenašel.")};

    std::optional<CheckOutcome> outcome;
    try {
        const PortalSession::Operation operation(session);
        CheckStep step(dm, session);
        outcome = step.logInUnlessLoggedIn();
        if (!outcome)
            outcome = step.check(*record, CheckStep::Mode::FirstValues);
    } catch (const PortalError& e) { // another operation under way
        return {Result::NotLookedUp, e.message()};
    }
    switch (outcome->result) {
    case CheckOutcome::Result::Changed:
    case CheckOutcome::Result::Unchanged:
        break;
    case CheckOutcome::Result::Failed:
        if (outcome->notShown)
            return {Result::NotShown, objectNotShownText()};
        return {Result::NotLookedUp, outcome->cause};
    case CheckOutcome::Result::Refused:
        return {Result::Refused, outcome->told ? QString() : outcome->cause};
    case CheckOutcome::Result::Interrupted:
        return {Result::NotLookedUp, outcome->cause};
    }
    return {Result::Stored, {}};
}

} // namespace veritam
