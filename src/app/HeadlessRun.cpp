#include "app/HeadlessRun.h"

#include "app/GuiMessages.h"
#include "app/ProcessSettings.h"
#include "app/SingleInstance.h"
#include "check/FullCheckRun.h"
#include "check/RunWindow.h"
#include "portal/BrowserSession.h"
#include "portal/TBrowser_Form.h"
#include "store/DatabaseError.h"
#include "store/RecordEditorPort.h"
#include "store/TDM1.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace veritam {

namespace {

/// The run's outlets on standard output.
class HeadlessWindow : public RunWindow {
public:
    void addLogLine(const QString& line) override { printConsoleLine(stdout, line); }
    void setStatus(const QString&, int, int, int) override {}
    void ZapnoutOvladaciZarizeni(bool) override {}
    void setCheckButtonCaption(const QString&) override {}
    void normParcels() override {}
    void clearSummary() override { m_summary.clear(); }
    void addSummaryLine(const QString& line) override { m_summary.append(line); }
    bool summaryHasText() const override { return !m_summary.isEmpty(); }
    void showSummary() override {
        for (const QString& line : m_summary)
            printConsoleLine(stdout, line);
    }
    void quitApplication() override {}

private:
    QStringList m_summary;
};

} // namespace

int runHeadless(const CommandLine& commandLine) {
    ConsoleMessages messages;
    ProcessSettings settings;
    try {
        resolveProcessSettings(settings, commandLine, QCoreApplication::applicationFilePath());
    } catch (const NoDataHomeError& e) {
        messages.showError(QString::fromUtf8(e.what()));
    }
    SingleInstance instance(settings.DataFolder);
    if (!settings.DataFolder.isEmpty() && !instance.tryLock()) {
        messages.showError(QStringLiteral("Kontrolu nelze spustit: ") + SingleInstance::busyText());
        return 2;
    }
    NoRecordEditor editor; // a run edits no record
    TDM1 dm(messages, editor);
    try {
        dm.DataModuleCreate(settings.DataFolder);
    } catch (const SqlError& e) {
        messages.showError(e.message());
        if (e.diskFull()) {
            // Not the database's fault: what this run would find could not be recorded.
            messages.showError(QStringLiteral("Kontrolu nelze spustit: na disku se složkou %1 "
                                              "není volné místo. Uvolněte místo a spusťte "
                                              "kontrolu znovu.")
                                   .arg(settings.DataFolder));
            return 4;
        }
    } catch (const DatabaseError& e) {
        messages.showError(e.message());
    }
    if (settings.DataFolder.isEmpty() || !dm.ADOConnection.isOpen() || !dm.Parcely_Query.isOpen()) {
        messages.showError(QStringLiteral("Kontrolu nelze spustit: databázi v %1 nelze otevřít.")
                               .arg(settings.DataFolder));
        return 2;
    }
    // The browser's window is never shown; it only holds the browser.
    TBrowser_Form browserForm(messages, settings.DataFolder);
    BrowserSession portal(browserForm, settings.DataFolder);
    HeadlessWindow window;
    settings.AutoStartRequested = true;
    FullCheckRun run(dm, portal, window, settings.AutoStartRequested, settings.AutoRunActive);
    run.Kontrola_ButtonClick();
    if (run.failedRecords() > 0)
        messages.showMessage(
            QStringLiteral("Záznamů, které se nepodařilo zkontrolovat: %1 (viz výpis výše).")
                .arg(run.failedRecords()));
    if (run.recordingFailed())
        return 4;
    if (!run.refusal().isEmpty())
        return 3;
    return run.changesRecorded() > 0 ? 1 : 0;
}

} // namespace veritam
