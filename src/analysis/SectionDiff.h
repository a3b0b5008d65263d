#pragma once

#include "store/SectionTable.h"

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <vector>

namespace veritam {

/// What differs between two checks of one object, section by section: for a text section the
/// old and the new text, for a table section the rows that left and the rows that came
/// (compared by their whole text; each row kept as its cells), for a list the items that
/// left and came (each a row of one cell).
namespace SectionDiff {

struct Change {
    Section section;
    bool differs = false;
    QString oldText; ///< text sections
    QString newText;
    std::vector<QStringList> removed; ///< table and list sections, in the older page's order
    std::vector<QStringList> added;   ///< table and list sections, in the newer page's order
};

/// A table or list section's text as rows of cells: lines of tab-separated cells, blank
/// lines giving no row; a list's items one cell each.
std::vector<QStringList> rows(Section section, const QString& sectionText);

/// Every section, in the order of the section table.
std::vector<Change> compare(const TParseKatastr& older, const TParseKatastr& newer);

/// The sections of a snapshot file's content (or of a saved page); nothing when it is not
/// an information page with its owners, so that no false difference is shown.
std::optional<TParseKatastr> readSnapshot(const QByteArray& content);

} // namespace SectionDiff
} // namespace veritam
