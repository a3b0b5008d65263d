#include "app/RecordImportCommand.h"

#include "app/CommandLine.h"
#include "app/GuiMessages.h"
#include "app/ProcessSettings.h"
#include "app/SingleInstance.h"
#include "entry/RecordImport.h"
#include "portal/BrowserSession.h"
#include "portal/TBrowser_Form.h"

namespace veritam {

int importRecords(const CommandLine& commandLine) {
    ConsoleMessages messages;
    const QString path =
        commandLine.argumentOf(QStringLiteral("import-records")).value_or(QString());
    if (path.isEmpty()) {
        messages.showError(QStringLiteral("Chybí soubor se seznamem: --import-records SOUBOR"));
        return 2;
    }
    QString dataFolder;
    try {
        dataFolder = dataFolderOf(commandLine);
    } catch (const NoDataHomeError& e) {
        messages.showError(QString::fromUtf8(e.what()));
        return 2;
    }
    SingleInstance instance(dataFolder);
    if (!instance.tryLock()) {
        messages.showError(QStringLiteral("Seznam nelze načíst: ") + SingleInstance::busyText());
        return 2;
    }
    try {
        const RecordImport import = RecordImport::read(path);
        // The browser's window is never shown; it only holds the browser.
        TBrowser_Form browserForm(messages, dataFolder);
        BrowserSession portal(browserForm, dataFolder);
        const RecordImport::Summary summary =
            import.run(dataFolder, portal, [](const RecordImport::Outcome& row, int, int) {
                printConsoleLine(stdout, row.text());
                return true;
            });
        printConsoleLine(stdout, summary.text());
        if (!summary.portalRefusal.isEmpty()) {
            messages.showError(summary.refusalText());
            return 3;
        }
        return summary.refused + summary.without > 0 ? 1 : 0;
    } catch (const ImportError& e) {
        messages.showError(e.message() + QStringLiteral(" Nic nebylo uloženo."));
        return 2;
    }
}

} // namespace veritam
