#pragma once

#include "store/SectionTable.h"

#include <QString>

#include <optional>

namespace veritam {

/// The "what changed" view beside a snapshot, as HTML for a text browser: the sections
/// that differ from the previous snapshot of the record, removed rows marked "−" on red and
/// added rows "+" on green (so that they read without colour too), unchanged sections
/// folded to one line, sections empty on both pages left out.
namespace ChangeReport {

/// `newer`: the shown snapshot's sections; `older`: the previous snapshot's, nothing for a
/// first record. A snapshot that could not be read is given as `unreadable`.
struct Input {
    std::optional<TParseKatastr> newer;
    std::optional<TParseKatastr> older;
    bool first = false; ///< there is no previous snapshot
    bool olderUnreadable = false;
};

QString html(const Input& input);

} // namespace ChangeReport
} // namespace veritam
