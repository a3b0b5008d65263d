#pragma once

#include "store/SectionTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>
#include <vector>

namespace veritam {

class TDM1;
struct WatchedRecord;

/// A change was found but could not be recorded as a whole.
class RecordingError : public std::runtime_error {
public:
    /// `committed`: the change is in the database with its snapshot; only its change-log
    /// line is missing. Otherwise nothing of it stays and the next check finds it again.
    RecordingError(const QString& cause, bool committed);
    QString message() const { return QString::fromStdString(what()); }
    QString cause() const { return m_cause; }
    bool committed() const { return m_committed; }

private:
    QString m_cause;
    bool m_committed;
};

/// What one check found against the values stored at the last one.
struct Comparison {
    std::vector<Section> changed; ///< the sections that differ, in the kind's order
    QStringList proceedingsAdded;
    QStringList proceedingsRemoved;

    bool any() const { return !changed.empty(); }
    bool has(Section section) const;
};

/// Compares an object's freshly read sections with those stored at its last check and
/// records a change: snapshot, stored values, flags, change row, change-log line.
namespace ChangeRecorder {

/// The snapshot file's content: the header referring to the two style sheets in the data
/// folder, then the page, in UTF-8 with every character of the page kept.
QByteArray MakeSnapshotText(const QString& page);

/// What a section stores of its text: the fingerprint or the text itself.
QString storedValue(Section section, const QString& text);

/// The kind's sections of `sections` (as read off the page) against the record's stored
/// values. A value never stored reads as the empty text.
Comparison Compare(const WatchedRecord& record, const TParseKatastr& sections);

/// The check of one object. `record` is as read before the check; `sections` were just cut
/// out of `page`, whose markup becomes the snapshot when something changed. No difference:
/// the flags are cleared and the time stamped. A difference: the snapshot, the new stored
/// values with each flag by its section, the change row, then `recorded`, then the
/// change-log line. Throws RecordingError when a change was found but not recorded, and the
/// database's error when the check could not be written.
Comparison CompareAndRecord(TDM1& dm, const WatchedRecord& record, const TParseKatastr& sections,
                            const QString& page,
                            const std::function<void(const Comparison&)>& recorded = {});

/// The first values of a new record: snapshot, stored values, change row, change-log line;
/// no comparison and no flags. Throws RecordingError.
void StoreFirstValues(TDM1& dm, const WatchedRecord& record, const TParseKatastr& sections,
                      const QString& page);

/// Writes the kind's stored values from `sections` (as read off the page), for a fixture
/// or a migration; nothing else.
void StoreBaseline(TDM1& dm, const WatchedRecord& record, const TParseKatastr& sections);

} // namespace ChangeRecorder
} // namespace veritam
