#pragma once

#include <optional>

namespace veritam {

class PortalSession;
class TDM1;
enum class RecordKind;

/// Checks the current record of the list `kind` (none: no list qualified) at once: log in,
/// look it up, compare, record a change. The record is fixed when the check begins, whatever
/// the user does with the list during the waits. Only an information page with its owners
/// is compared. A failure is thrown to the caller's error box (PortalError, with the cause
/// the check step gave); "Kontrola je u konce." is told at the end.
void Kontrola_JednohoClick(TDM1& dm, PortalSession& session, std::optional<RecordKind> kind);

} // namespace veritam
