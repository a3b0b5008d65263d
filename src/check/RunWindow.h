#pragma once

#include <QString>

namespace veritam {

/// What a full check run touches of the main window: its run log, status line, controls
/// and the change summary. The main window implements it; the headless run prints instead.
class RunWindow {
public:
    virtual ~RunWindow() = default;

    /// A line at the end of the run log `Log_Memo`.
    virtual void addLogLine(const QString& line) = 0;
    /// The status line `StatusBar1`; `done` of `total` records of pass `pass` (0..2).
    virtual void setStatus(const QString& text, int pass, int done, int total) = 0;
    /// Enables or disables the run's controls; "Přerušit" shows while they are disabled.
    virtual void ZapnoutOvladaciZarizeni(bool enable) = 0;
    /// The caption of `Kontrola_Button`.
    virtual void setCheckButtonCaption(const QString& caption) = 0;
    /// The parcels list's "norm" action.
    virtual void normParcels() = 0;

    /// The change summary `Memo1` of `Log_Form`.
    virtual void clearSummary() = 0;
    virtual void addSummaryLine(const QString& line) = 0;
    virtual bool summaryHasText() const = 0;
    /// Flashes the taskbar button and shows the summary modally; returns when it is closed.
    virtual void showSummary() = 0;

    /// Ends the application (an automatic run that found nothing).
    virtual void quitApplication() = 0;
};

} // namespace veritam
