#pragma once

struct sqlite3;

namespace veritam::JetFunctions {

/// The collation that orders texts by the Czech language (ICU, through Qt).
inline constexpr const char* kCzechCollation = "czech";

/// Registers on a connection the functions the translated statements call:
/// CStr(x), jet_isnull(x), and like() replacing SQLite's own, so that LIKE folds the
/// case of every letter (Czech ones too), not of ASCII letters alone; and kCzechCollation.
void registerAll(sqlite3* db);

} // namespace veritam::JetFunctions
