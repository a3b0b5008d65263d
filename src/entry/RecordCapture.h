#pragma once

#include <QString>

#include <functional>

namespace veritam {

class ParsedPage;
class TDM1;
enum class RecordKind;

/// Capture: fills the kind's record being inserted from an object's information page. The
/// values are written in the page reading's order; a place is also made current in its code
/// list, whose row the rules copy on save; `written` hears of each column written.
/// Throws DatabaseError for a value the record cannot hold, which stops the rest. Returns
/// what the user must still be told (what the page lacks), or an empty text.
QString CaptureFromPage(TDM1& dm, RecordKind kind, const ParsedPage& page,
                        const std::function<void(const QString& column)>& written);

} // namespace veritam
