#pragma once

#include <QString>

namespace veritam::Schema {

/// The version kept in PRAGMA user_version, for later migrations.
constexpr int kVersion = 1;

/// The file name of the database in the data folder.
QString databaseFileName();

/// The statements that create every table of a new database, with its one user row.
QString createStatements();

/// Creates a new database file at `path` with all tables. Written under a temporary
/// name and renamed into place, so a crash never leaves a half-made database behind.
/// Throws DatabaseError; an existing file is never touched.
void createDatabase(const QString& path);

} // namespace veritam::Schema
