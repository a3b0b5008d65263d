#pragma once

#include <QString>

#include <chrono>

namespace veritam {

/// Whether a newer version of the program is offered: the version file on the project's
/// download site compared with the local version file beside the program.
namespace UpdateCheck {

/// The version file's address (a build setting; VERITAM_UPDATE_URL overrides it).
QString versionFileAddress();
/// The download page's address (a build setting).
QString downloadPageAddress();
/// "veritam.txt", written by the build: beside the program, or for an installed program
/// in "../share/veritam/" from its folder.
QString localVersionFile(const QString& programFolder);

struct Answer {
    bool newer = false; ///< the output flag: a newer version is offered
    QString offered;    ///< the version on the site, when it could be read
    QString installed;  ///< the local version
    QString problem;    ///< what prevented the comparison, in Czech; empty when none
};

/// How long the version file may take to come.
constexpr std::chrono::milliseconds kTimeLimit{5000};

/// Fetches the version file (`timeLimit` at most) and compares "1.2.3" numerically with
/// the local one. An unreachable site or a file that holds no version is a problem, never a
/// newer version.
Answer ZjistiVerzi(const QString& versionFileAddress, const QString& localVersionFile,
                   const QString& downloadPageAddress, const QString& dataFolder, int mode,
                   std::chrono::milliseconds timeLimit = kTimeLimit);

} // namespace UpdateCheck
} // namespace veritam
