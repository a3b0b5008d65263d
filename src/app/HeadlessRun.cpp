#include "app/HeadlessRun.h"

#include "app/Application.h"
#include "app/GuiMessages.h"
#include "check/FullCheckRun.h"
#include "check/RunWindow.h"
#include "portal/TBrowser_Form.h"
#include "store/TDM1.h"

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
    Application app(commandLine, messages, false);
    if (!app.DM1->ADOConnection.isOpen() || !app.DM1->Parcely_Query.isOpen()) {
        messages.showError(QStringLiteral("Kontrolu nelze spustit: databázi v %1 nelze otevřít.")
                               .arg(app.settings().DataFolder));
        return 2;
    }
    HeadlessWindow window;
    ProcessSettings& settings = app.settings();
    settings.AutoStartRequested = true;
    FullCheckRun run(*app.DM1, *app.Browser_Form, app.Sections, window, settings.AutoStartRequested,
                     settings.AutoRunActive);
    run.Kontrola_ButtonClick();
    return run.changesRecorded() > 0 ? 1 : 0;
}

} // namespace veritam
