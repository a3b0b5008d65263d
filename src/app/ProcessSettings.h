#pragma once

#include <QString>

namespace veritam {

class CommandLine;

/// The process-wide values that start-up fixes and the rest of the program reads.
struct ProcessSettings {
    QString ProgramFolder; ///< the executable's folder, ending with "/"
    QString DataFolder;    ///< ends with "/"; empty when no home folder was found
    bool AutoStartRequested = false;
    bool AutoRunActive = false;
};

/// No home folder, so no default data folder.
class NoDataHomeError : public std::exception {
public:
    const char* what() const noexcept override {
        return "Could not find MyDocuments folder location.";
    }
};

/// Fills the settings from the command line and creates the data folder. Throws
/// NoDataHomeError when the default is needed and no home folder exists; the flags and
/// the program folder are set by then, the data folder stays empty.
void resolveProcessSettings(ProcessSettings& settings, const CommandLine& commandLine,
                            const QString& executablePath);

/// The default data folder: the user's data home + "/Veritam/". Throws NoDataHomeError.
QString defaultDataFolder();

/// The data folder a command-line entry works on: `files` when it names an existing
/// folder, else the default. Creates it. Throws NoDataHomeError.
QString dataFolderOf(const CommandLine& commandLine);

} // namespace veritam
