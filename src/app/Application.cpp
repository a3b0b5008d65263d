#include "app/Application.h"

#include "app/CodeListSetup.h"
#include "app/FirstStart.h"
#include "app/TLog_Form.h"
#include "app/TMain_Form.h"
#include "entry/TInsert_Form.h"
#include "history/TZmeny_Form.h"
#include "platform/UserMessages.h"
#include "portal/BrowserSession.h"
#include "portal/DomRoutines.h"
#include "portal/TBrowser_Form.h"
#include "settings/TAbout_Form.h"
#include "settings/TAuto_Form.h"
#include "settings/TNastaveni_Form.h"
#include "settings/TUpozorneni_Form.h"
#include "store/DatabaseError.h"
#include "store/TDM1.h"

#include <QTimer>

namespace veritam {

Application::Application(CommandLine commandLine, UserMessages& messages, bool firstStart)
    : m_commandLine(std::move(commandLine))
    , m_messages(messages)
    , m_firstStart(firstStart) {
    Main_Form = std::make_unique<TMain_Form>(m_settings, m_commandLine, m_messages);
    Insert_Form = std::make_unique<TInsert_Form>();
    createDataModule();
    Browser_Form = std::make_unique<TBrowser_Form>(m_messages, m_settings.DataFolder);
    Portal = std::make_unique<BrowserSession>(*Browser_Form, m_settings.DataFolder);
    Zmeny_Form = std::make_unique<TZmeny_Form>(*DM1, m_messages);
    Nastaveni_Form = std::make_unique<TNastaveni_Form>(*DM1, m_messages);
    About_Form = std::make_unique<TAbout_Form>(m_settings.DataFolder, m_messages);
    Upozorneni_Form = std::make_unique<TUpozorneni_Form>(m_settings.DataFolder);
    // Automated use of the portal is at the user's own risk: the notice comes first.
    Portal->setBeforeFirstUse([this] {
        Main_Form->centreOver(*Upozorneni_Form);
        Upozorneni_Form->showBeforeFirstUse(m_settings.AutoStartRequested ||
                                            m_settings.AutoRunActive);
    });
    Log_Form = std::make_unique<TLog_Form>();
    Auto_Form = std::make_unique<TAuto_Form>(m_messages, m_settings.DataFolder);
    Insert_Form->attach({*DM1, *Portal, m_messages, Main_Form->ImageList});
    // Where the editor shows a record on the portal, the portal window opens over the
    // main window too.
    Main_Form->centreOver(*Browser_Form);
    QObject::connect(Browser_Form.get(), &TBrowser_Form::captureRequested, Insert_Form.get(),
                     [this](RecordKind kind) { captureFromPortal(kind); });
    Main_Form->attach({*DM1, *Browser_Form, *Portal, *About_Form, *Upozorneni_Form, *Log_Form,
                       *Auto_Form, *Insert_Form, *Zmeny_Form});
}

Application::~Application() = default;

void Application::createDataModule() {
    DM1 = std::make_unique<TDM1>(m_messages, *Insert_Form);
    try {
        if (m_firstStart && !m_settings.DataFolder.isEmpty())
            FirstStart::prepareDataFolder(m_settings.DataFolder);
        DM1->DataModuleCreate(m_settings.DataFolder);
    } catch (const DatabaseError& e) {
        m_messages.showError(e.message());
    }
}

void Application::handOver(bool checkAll) {
    Main_Form->showNormal();
    Main_Form->raise();
    Main_Form->activateWindow();
    if (checkAll && !Main_Form->checkRunning())
        QTimer::singleShot(0, Main_Form.get(), &TMain_Form::Kontrola_ButtonClick);
}

void Application::captureFromPortal(RecordKind kind) {
    Browser_Form->hide();
    QString markup;
    try {
        markup = DomRoutines::DocumentMarkup(Browser_Form->browser());
    } catch (const PortalError& e) {
        m_messages.showError(e.message());
        return;
    }
    Main_Form->centreOver(*Insert_Form);
    Insert_Form->CaptureRecord(kind, markup);
}

void Application::show() {
    Main_Form->show();
    // An automatic run must not wait for a question nobody is there to answer.
    if (!m_settings.AutoStartRequested && DM1->ADOConnection.isOpen()) {
        QTimer::singleShot(0, Main_Form.get(), [this] {
            if (CodeListSetup::codeListsEmpty(*DM1))
                CodeListSetup::offer(Main_Form.get(), *DM1);
        });
    }
}

} // namespace veritam
