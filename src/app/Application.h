#pragma once

#include "app/CommandLine.h"
#include "app/ProcessSettings.h"
#include "store/RecordKind.h"

#include <memory>

namespace veritam {

class UserMessages;
class TMain_Form;
class TInsert_Form;
class TDM1;
class TBrowser_Form;
class BrowserSession;
class TZmeny_Form;
class TNastaveni_Form;
class TAbout_Form;
class TUpozorneni_Form;
class TLog_Form;
class TAuto_Form;

/// The composition root: the windows and the data module, created once each in their
/// fixed order and alive until the process ends.
class Application {
    // Declared first: the windows below are created after these and use them.
    CommandLine m_commandLine;
    ProcessSettings m_settings;
    UserMessages& m_messages;
    bool m_firstStart;

public:
    /// `messages` shows the start-up's errors and everything the lower layers report.
    /// Without `firstStart` a missing database is reported, not created.
    Application(CommandLine commandLine, UserMessages& messages, bool firstStart = true);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    /// Shows the main window; the message loop then runs in main().
    void show();

    ProcessSettings& settings() { return m_settings; }

    std::unique_ptr<TMain_Form> Main_Form;
    std::unique_ptr<TInsert_Form> Insert_Form;
    std::unique_ptr<TDM1> DM1;
    std::unique_ptr<TBrowser_Form> Browser_Form;
    std::unique_ptr<TZmeny_Form> Zmeny_Form;
    std::unique_ptr<TNastaveni_Form> Nastaveni_Form;
    std::unique_ptr<TAbout_Form> About_Form;
    std::unique_ptr<TUpozorneni_Form> Upozorneni_Form;
    std::unique_ptr<TLog_Form> Log_Form;
    std::unique_ptr<TAuto_Form> Auto_Form;

    /// The portal as the runs see it, on the browser of Browser_Form.
    std::unique_ptr<BrowserSession> Portal;

    /// A later start of the program on the same data folder: the window comes to the front,
    /// and with `checkAll` (the daily timer) the full run begins unless one is under way.
    void handOver(bool checkAll);

    /// The portal window's "Uložit" items: the page shown becomes a new record in the editor.
    void captureFromPortal(RecordKind kind);

private:
    void createDataModule();
};

} // namespace veritam
