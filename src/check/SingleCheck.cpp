#include "check/SingleCheck.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/SectionExtractor.h"
#include "platform/UserMessages.h"
#include "portal/PageVerdict.h"
#include "portal/PortalSession.h"
#include "store/Dataset.h"
#include "store/RecordKind.h"
#include "store/TDM1.h"

namespace veritam {

void Kontrola_JednohoClick(TDM1& dm, PortalSession& session, TParseKatastr& sections,
                           std::optional<RecordKind> kind) {
    const PortalSession::Operation operation(session);
    switch (session.login()) {
    case LoginOutcome::LoggedIn:
        break;
    case LoginOutcome::NoCredentials:
        return; // the login has told the user where to enter them
    case LoginOutcome::Refused:
        throw PortalError(loginRefusedText(), PortalError::Cause::Refused);
    }
    if (kind && dm.recordQuery(*kind).currentRow() >= 0) {
        Dataset& list = dm.recordQuery(*kind);
        // R: the record as stored when the check began, in a query of its own, so that
        // moving or editing the list during the waits cannot change what is compared.
        const auto record = dm.OpenStatement(
            QStringLiteral("SELECT * FROM ") + kindTable(*kind).recordTable +
            QStringLiteral(" WHERE ID = ") + QString::number(list.integer(QStringLiteral("ID"))));
        if (record->recordCount() == 1) {
            ClearSections(sections);
            const PortalPage page = session.lookup(*kind, searchValues(*kind, *record));
            if (const QString why = whyNotComparable(page); !why.isEmpty())
                throw PortalError(why);
            ExtractSections(*page.parsed, sections);
            ChangeRecorder::CompareAndRecord(dm, *kind, *record, sections, page.markup);
            dm.Obnovit_Query(list);
        }
    }
    dm.messages().showMessage(QStringLiteral("Kontrola je u konce."));
}

} // namespace veritam
