#include "app/ProcessSettings.h"

#include "app/CommandLine.h"
#include "platform/DataFolder.h"

#include <QFileInfo>

namespace veritam {

QString defaultDataFolder() {
    const auto home = DataFolder::userDataHome();
    if (!home)
        throw NoDataHomeError();
    return *home + QStringLiteral("/Veritam/");
}

namespace {

// A folder given without its trailing separator gets one: every user appends file
// names to the data folder directly.
QString givenDataFolder(const CommandLine& commandLine) {
    const QString given = commandLine.argumentOf(QStringLiteral("files")).value_or(QString());
    if (given.isEmpty() || !DataFolder::folderExists(given))
        return {};
    return DataFolder::withTrailingSeparator(given);
}

} // namespace

void resolveProcessSettings(ProcessSettings& settings, const CommandLine& commandLine,
                            const QString& executablePath) {
    settings.ProgramFolder =
        DataFolder::withTrailingSeparator(QFileInfo(executablePath).absolutePath());
    settings.DataFolder.clear();
    settings.AutoStartRequested = commandLine.hasSwitch(QStringLiteral("autoload"));
    settings.AutoRunActive = false;

    settings.DataFolder = dataFolderOf(commandLine);
}

QString dataFolderOf(const CommandLine& commandLine) {
    QString folder = givenDataFolder(commandLine);
    if (folder.isEmpty())
        folder = defaultDataFolder();
    // A failure shows when the database cannot be opened in it.
    DataFolder::createWithParents(folder);
    return folder;
}

} // namespace veritam
