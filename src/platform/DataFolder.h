#pragma once

#include <QString>

#include <optional>

namespace veritam {

/// The small file-system layer the program needs for its data folder.
namespace DataFolder {

/// The per-user data home: $XDG_DATA_HOME when it is an absolute path, else the home
/// folder + "/.local/share"; no trailing separator. Empty when no home folder can be found.
std::optional<QString> userDataHome();

/// `path` with a "/" appended unless it already ends with one.
QString withTrailingSeparator(const QString& path);

bool folderExists(const QString& path);

/// Creates `path` with every missing parent, each readable by its owner only; true when
/// the folder exists afterwards.
bool createWithParents(const QString& path);

/// Removes `path` with everything in it; a missing folder is no error. True on success.
bool removeRecursively(const QString& path);

} // namespace DataFolder
} // namespace veritam
