#pragma once

#include "analysis/TParseKatastr.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

namespace veritam {

class Dataset;
class TDM1;
enum class RecordKind;

/// Compares an object's freshly read sections with those stored at its last check and
/// records a change: snapshot, change-log line, stored values, flags, change row.
namespace ChangeRecorder {

/// The snapshot file's content: the header referring to the two style sheets in the data
/// folder, then the page, in UTF-8 with every character of the page kept.
QByteArray MakeSnapshotText(const QString& page);

struct Snapshot {
    QDateTime time;       ///< the moment of the change, to the second
    QString relativePath; ///< under the data folder, as the change row names it
};

/// Writes the snapshot (atomically) under the record's snapshot folder and appends its line
/// to the change log. Throws AnalysisError.
Snapshot SaveSnapshot(const QString& dataFolder, RecordKind kind, const QString& id,
                      const QString& nazev, const QByteArray& content);

/// The four fingerprinted sections replaced by their fingerprints.
void FingerprintSections(TParseKatastr& sections);

/// Writes the kind's stored columns from the (fingerprinted) sections.
void StoreBaseline(TDM1& dm, RecordKind kind, int id, const TParseKatastr& sections);

/// What a caller learns while a change is being recorded.
struct Progress {
    /// Set once the snapshot content has been made: a failure after it is not reported.
    bool contentMade = false;
    /// Called after the change-log line, before the stored values are written.
    std::function<void()> changeLogged;
};

/// The check of one object. `row` is its record as read before the check; `sections`
/// were just cut out of `page`, whose markup becomes the snapshot when something changed.
/// True when a change was recorded. Nothing is undone on a failure; errors propagate.
bool CompareAndRecord(TDM1& dm, RecordKind kind, const Dataset& row, TParseKatastr& sections,
                      const QString& page, Progress* progress = nullptr);

} // namespace ChangeRecorder
} // namespace veritam
