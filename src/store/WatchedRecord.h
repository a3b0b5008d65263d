#pragma once

#include "store/RecordKind.h"
#include "store/SectionTable.h"

#include <QString>

#include <array>
#include <map>
#include <optional>

namespace veritam {

class Dataset;
class TDM1;

/// A watched record as read once before it is checked, so that nothing the user does with
/// the lists meanwhile changes what is looked up, compared or written.
struct WatchedRecord {
    RecordKind kind = RecordKind::Parcel;
    int id = 0;
    QString name; ///< nazev
    /// The kind's search columns (kindTable().searchColumns) by name, as text.
    std::map<QString, QString> search;
    /// The value each compared section stored at the last check; none: never written.
    std::array<std::optional<QString>, kSectionCount> stored;

    /// A search column's value; empty for a column the kind does not search by.
    QString value(const QString& column) const;
    /// The stored value of a section as the comparison reads it: never written is empty.
    QString storedText(Section section) const { return stored[index(section)].value_or(QString()); }
    static std::size_t index(Section section) { return static_cast<std::size_t>(section); }

    /// The current row of `row`, a query over the kind's record table; the stored values
    /// are read where the query has them.
    static WatchedRecord read(RecordKind kind, const Dataset& row);
    /// Record `id` as stored now; nothing when it is gone. Throws DatabaseError.
    static std::optional<WatchedRecord> load(TDM1& dm, RecordKind kind, int id);
};

} // namespace veritam
