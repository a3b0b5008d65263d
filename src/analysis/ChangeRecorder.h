#pragma once

#include "analysis/TParseKatastr.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <stdexcept>

namespace veritam {

class Dataset;
class TDM1;
enum class RecordKind;

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

/// Compares an object's freshly read sections with those stored at its last check and
/// records a change: snapshot, stored values, flags, change row, change-log line.
namespace ChangeRecorder {

/// The snapshot file's content: the header referring to the two style sheets in the data
/// folder, then the page, in UTF-8 with every character of the page kept.
QByteArray MakeSnapshotText(const QString& page);

/// The four fingerprinted sections replaced by their fingerprints.
void FingerprintSections(TParseKatastr& sections);

/// Writes the kind's stored columns from the (fingerprinted) sections.
void StoreBaseline(TDM1& dm, RecordKind kind, int id, const TParseKatastr& sections);

/// Records one change of record `id` as a whole: the snapshot of `page` is written and
/// synced; `storeValues` and the change row run in one transaction, and the snapshot
/// takes its name just before that commits; then `recorded` is called and the change-log
/// line appended. When the database part fails, the transaction is rolled back and the
/// snapshot removed, so the stored values are as before. Throws RecordingError.
void RecordChange(TDM1& dm, RecordKind kind, int id, const QString& nazev, const QString& page,
                  const std::function<void()>& storeValues,
                  const std::function<void()>& recorded = {});

/// The check of one object. `row` is its record as read before the check; `sections`
/// were just cut out of `page`, whose markup becomes the snapshot when something changed.
/// True when a change was recorded; `recorded` is called once it is in the database.
/// Throws RecordingError when a change was found but not recorded, and the database's
/// error when the check could not be written.
bool CompareAndRecord(TDM1& dm, RecordKind kind, const Dataset& row, TParseKatastr& sections,
                      const QString& page, const std::function<void()>& recorded = {});

} // namespace ChangeRecorder
} // namespace veritam
