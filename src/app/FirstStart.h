#pragma once

#include <QString>

namespace veritam::FirstStart {

/// Does the installer's part in the data folder: creates the database when it is
/// missing and copies the snapshot style sheets when they are missing. True when the
/// database was created now. Throws DatabaseError when it cannot be created.
bool prepareDataFolder(const QString& dataFolder);

} // namespace veritam::FirstStart
