#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ConsoleCommands.h"
#include "app/CzechTranslation.h"
#include "app/GuiMessages.h"
#include "app/HeadlessRun.h"
#include "app/ProcessSettings.h"
#include "app/QuietDiagnostics.h"
#include "app/RecordImportCommand.h"
#include "app/SingleInstance.h"
#include "portal/PortalBrowser.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>

#include <memory>

#include <unistd.h>

int main(int argc, char* argv[]) {
    QStringList parameters;
    for (int i = 1; i < argc; ++i)
        parameters.append(QString::fromLocal8Bit(argv[i]));
    const veritam::CommandLine commandLine(parameters);
    if (const auto refused = veritam::ConsoleCommands::refuseParameters(commandLine))
        return *refused;

    if (veritam::ConsoleCommands::wanted(commandLine)) {
        QCoreApplication core(argc, argv);
        return veritam::ConsoleCommands::run(commandLine);
    }

    // Chromium refuses to start its sandbox as root; a root session gets the browser without it.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // for the embedded browser
    veritam::PortalBrowser::prepareEngine();
    const bool importing = commandLine.hasSwitch(QStringLiteral("import-records"));
    const bool headless = importing || commandLine.hasSwitch(QStringLiteral("headless"));
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // no display needed, none used
        veritam::quietEngineDiagnostics();
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veritam"));
    QApplication::setApplicationVersion(QStringLiteral(VERITAM_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(VERITAM_APP_ID));
    QIcon icon;
    for (const QString& size : QDir(QStringLiteral(":/veritam/icons")).entryList())
        icon.addFile(QStringLiteral(":/veritam/icons/") + size);
    QApplication::setWindowIcon(icon); // every window's, dialogs included
    QApplication::setQuitOnLastWindowClosed(false);
    veritam::installCzechTranslation();

    if (importing)
        return veritam::importRecords(commandLine);
    if (headless)
        return veritam::runHeadless(commandLine);

    veritam::GuiMessages messages;
    // One running copy per data folder: a later start hands its wish to the open window.
    std::unique_ptr<veritam::SingleInstance> instance;
    try {
        instance = std::make_unique<veritam::SingleInstance>(veritam::dataFolderOf(commandLine));
    } catch (const veritam::NoDataHomeError&) {
        // The window says so at its start; there is no folder to guard.
    }
    const bool autoload = commandLine.hasSwitch(QStringLiteral("autoload"));
    if (instance && !instance->tryLock()) {
        using Request = veritam::SingleInstance::Request;
        if (instance->hand(autoload ? Request::CheckAll : Request::Show))
            return 0;
        // Held by a copy without a window: a check run or an import.
        if (!autoload)
            messages.showError(veritam::SingleInstance::busyText());
        return 2;
    }
    veritam::Application veritamApp(commandLine, messages);
    if (instance) {
        instance->listen();
        QObject::connect(instance.get(), &veritam::SingleInstance::requested, &application,
                         [&veritamApp](veritam::SingleInstance::Request request) {
                             veritamApp.handOver(request ==
                                                 veritam::SingleInstance::Request::CheckAll);
                         });
    }
    veritamApp.show();
    // For the start-up benchmark: end once the main window has been shown.
    if (qEnvironmentVariableIsSet("VERITAM_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return QApplication::exec();
}
