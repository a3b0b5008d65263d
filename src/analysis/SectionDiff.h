#pragma once

#include "analysis/TParseKatastr.h"

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <vector>

namespace veritam {

/// What differs between two checks of one object, section by section: for the area and the
/// share the old and the new text, for the four table sections the rows that left and the
/// rows that came (compared by their whole text; each row kept as its cells).
namespace SectionDiff {

struct Change {
    Section section;
    bool differs = false;
    QString oldText; ///< area and share
    QString newText;
    std::vector<QStringList> removed; ///< table sections, in the older page's order
    std::vector<QStringList> added;   ///< table sections, in the newer page's order
};

/// The owners, protection, restrictions and other records: tables of rows.
bool isTable(Section section);
/// "vymera", "podil", "vlastnici", "ochrana", "omezeni", "jine".
QString name(Section section);
/// The heading a user knows from the portal's page.
QString title(Section section);
/// A table section's text as rows of cells (lines of tab-separated cells); blank lines
/// give no row.
std::vector<QStringList> rows(const QString& sectionText);

/// All six sections in the order area, share, owners, protection, restrictions, other.
std::vector<Change> compare(const TParseKatastr& older, const TParseKatastr& newer);

/// The sections of a snapshot file's content (or of a saved page); nothing when it is not
/// an information page with its owners, so that no false difference is shown.
std::optional<TParseKatastr> readSnapshot(const QByteArray& content);

} // namespace SectionDiff
} // namespace veritam
