#include "check/SingleCheck.h"

#include "check/CheckStep.h"
#include "platform/UserMessages.h"
#include "portal/PortalSession.h"
#include "store/Dataset.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

namespace veritam {

namespace {

/// An outcome that is no check of the record, as the error box shows it.
[[noreturn]] void raise(const CheckOutcome& outcome) {
    using Result = CheckOutcome::Result;
    throw PortalError(outcome.cause, outcome.result == Result::Refused ? PortalError::Cause::Refused
                                     : outcome.result == Result::Interrupted
                                         ? PortalError::Cause::Interrupted
                                         : PortalError::Cause::Page);
}

} // namespace

void Kontrola_JednohoClick(TDM1& dm, PortalSession& session, std::optional<RecordKind> kind) {
    const PortalSession::Operation operation(session);
    // R: the record the button was pressed on, read now, so that moving or editing the list
    // during the login's and the lookup's waits cannot change what is compared.
    std::optional<WatchedRecord> record;
    if (kind && dm.recordQuery(*kind).currentRow() >= 0)
        record =
            WatchedRecord::load(dm, *kind, dm.recordQuery(*kind).integer(QStringLiteral("ID")));
    CheckStep step(dm, session);
    if (const std::optional<CheckOutcome> refused = step.logIn()) {
        if (refused->told)
            return; // the login has told the user where to enter the account
        raise(*refused);
    }
    if (record) {
        const CheckOutcome outcome = step.check(*record);
        if (outcome.result != CheckOutcome::Result::Unchanged &&
            outcome.result != CheckOutcome::Result::Changed)
            raise(outcome);
        dm.Obnovit_Query(dm.recordQuery(*kind));
    }
    dm.messages().showMessage(QStringLiteral("Kontrola je u konce."));
}

} // namespace veritam
