#include "check/SingleCheck.h"

#include "analysis/ChangeRecorder.h"
#include "analysis/SectionExtractor.h"
#include "check/RecordLookup.h"
#include "platform/UserMessages.h"
#include "portal/DomRoutines.h"
#include "portal/PortalLogin.h"
#include "portal/TBrowser_Form.h"
#include "store/Dataset.h"
#include "store/RecordKind.h"
#include "store/TDM1.h"

namespace veritam {

void Kontrola_JednohoClick(TDM1& dm, TBrowser_Form& browserForm, TParseKatastr& sections,
                           std::optional<RecordKind> kind) {
    const PortalBrowser::Operation operation(browserForm.browser());
    browserForm.show();
    browserForm.hide();
    PortalBrowser& browser = browserForm.browser();
    PortalLogin(browser, dm.dataFolder());
    if (kind && dm.recordQuery(*kind).currentRow() >= 0) {
        Dataset& list = dm.recordQuery(*kind);
        // R: the record as stored when the check began, in a query of its own, so that
        // moving or editing the list during the waits cannot change what is compared.
        const auto record = dm.OpenStatement(
            QStringLiteral("SELECT * FROM ") + tablesOf(*kind).recordTable +
            QStringLiteral(" WHERE ID = ") + QString::number(list.integer(QStringLiteral("ID"))));
        if (record->recordCount() == 1) {
            ClearSections(sections);
            searchRecord(*kind, *record, browser);
            const QString page = DomRoutines::DocumentMarkup(browser);
            ExtractSections(page, sections);
            ChangeRecorder::CompareAndRecord(dm, *kind, *record, sections, page);
            dm.Obnovit_Query(list);
        }
    }
    dm.messages().showMessage(QStringLiteral("Kontrola je u konce."));
}

} // namespace veritam
