#pragma once

#include <QString>

namespace veritam {

class Dataset;
enum class RecordKind;

/// Every line text of the run log, the change summary and the change log, built here and
/// nowhere else. `row` is the current row of a query over the kind's record table.
namespace LogLines {

/// "st. " for a building parcel, the number, and " / " with the subdivision when it has one.
QString parcelLabel(const Dataset& row);

QString runStarted();
/// "Procházím parcelu č. …", "Procházím stavbu č. …", "Procházím jednotku č. …".
QString visiting(RecordKind kind, const Dataset& row);
QString pageLoaded();
/// The failure block: an empty line, the asterisks, the record, an empty line.
QString failure(RecordKind kind, const Dataset& row);
/// The failure block with a last line that says why the record failed.
QString failure(RecordKind kind, const Dataset& row, const QString& cause);
/// The block for a change that was found but could not be recorded, and why.
QString unrecorded(RecordKind kind, const Dataset& row, const QString& why);
QString runEnded();
/// The portal refused and the run stops asking it; `why` is the refusal in a sentence.
QString runRefused(const QString& why);

/// A line of the change summary.
QString summary(RecordKind kind, const Dataset& row);

/// A changed record as a desktop notification names it, with the sections its change
/// flags mark: "parcela 123/4 Zahrada: vlastníci, omezení". `row` holds the flags.
QString notification(RecordKind kind, const Dataset& row);

/// A line of history_log.txt; `snapshotPath` is the snapshot file's full path.
QString history(RecordKind kind, const QString& id, const QString& nazev,
                const QString& snapshotPath);

} // namespace LogLines
} // namespace veritam
