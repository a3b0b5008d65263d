#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ConsoleCommands.h"
#include "app/GuiMessages.h"
#include "app/HeadlessRun.h"
#include "app/RecordImportCommand.h"
#include "portal/PortalBrowser.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <unistd.h>

int main(int argc, char* argv[]) {
    QStringList parameters;
    for (int i = 1; i < argc; ++i)
        parameters.append(QString::fromLocal8Bit(argv[i]));
    const veritam::CommandLine commandLine(parameters);

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
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen"); // no display needed, none used
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veritam"));
    QApplication::setApplicationVersion(QStringLiteral(VERITAM_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));

    // Standard buttons read "Ano", "Ne", "Zrušit".
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_cs"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    if (importing)
        return veritam::importRecords(commandLine);
    if (headless)
        return veritam::runHeadless(commandLine);

    veritam::GuiMessages messages;
    veritam::Application veritamApp(commandLine, messages);
    veritamApp.show();
    // For the start-up benchmark: end once the main window has been shown.
    if (qEnvironmentVariableIsSet("VERITAM_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return QApplication::exec();
}
