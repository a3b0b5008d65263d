#pragma once

#include "analysis/TParseKatastr.h"

namespace veritam {

class RunWindow;
class TBrowser_Form;
class TDM1;
enum class RecordKind;

/// The full check run: every record marked for checking, parcels, then buildings, then
/// units, each looked up on the portal and compared with its last check.
class FullCheckRun {
public:
    FullCheckRun(TDM1& dm, TBrowser_Form& browserForm, TParseKatastr& sections, RunWindow& window,
                 bool& autoStartRequested, bool& autoRunActive);

    /// The run; returns when it has ended (after the change summary, if shown, was closed).
    void Kontrola_ButtonClick();
    /// "Přerušit": no further record is looked up.
    void Prerusit_ButtonClick() { InterruptRequested = true; }

    bool InterruptRequested = false;
    bool running() const { return m_running; }
    /// Changes recorded by the last run.
    int changesRecorded() const { return m_changes; }

private:
    void pass(int index, RecordKind kind);
    void checkRecord(RecordKind kind, const class Dataset& row);

    TDM1& m_dm;
    TBrowser_Form& m_browserForm;
    TParseKatastr& m_sections;
    RunWindow& m_window;
    bool& m_autoStartRequested;
    bool& m_autoRunActive;
    bool m_running = false;
    int m_changes = 0;
};

} // namespace veritam
