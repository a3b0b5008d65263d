#pragma once

#include <QString>

namespace veritam {

/// Translates the Jet-dialect statements the program issues into SQLite's dialect.
///
/// The subset handled, and nothing beyond it:
/// - `#2015-03-07 14.05.09#` (also with colons, or a date alone) becomes the ISO text
///   literal `'2015-03-07 14:05:09'`, the form date-times are stored in;
/// - `+` becomes `||` where a quoted literal or a `CStr(...)` call stands on either side
///   of it, and `&` always does (both concatenate texts in Jet);
/// - `isnull(` becomes `jet_isnull(` (ISNULL is an SQLite keyword);
/// - everything else passes unchanged: `iif`, `true`/`false`, backquoted names,
///   `:name` parameters and `LIKE` mean the same in SQLite once the functions of
///   JetFunctions are registered. Quoted literals are never looked into.
/// Throws SqlError for a malformed date literal or an unterminated literal.
namespace JetSql {
QString toSqlite(const QString& jetSql);
} // namespace JetSql

} // namespace veritam
