#pragma once

#include <QString>

namespace veritam {

struct Comparison;
struct WatchedRecord;
enum class RecordKind;

/// Every line text of the run log, the change summary and the change log, built here and
/// nowhere else, from the kind table's templates and the record as read for its check.
namespace LogLines {

/// "st. " for a building parcel, the number, and " / " with the subdivision when it has one.
QString parcelLabel(const WatchedRecord& record);

/// The record as the user names it: "parcela st. 12/3", "stavba č. 45", "jednotka 1200/14";
/// `withPlace` adds where it lies: ", k. ú. 602582", ", obec 554782".
QString description(const WatchedRecord& record, bool withPlace = false);

QString runStarted();
/// "Procházím parcelu č. …", "Procházím stavbu č. …", "Procházím jednotku č. …".
QString visiting(const WatchedRecord& record);
QString pageLoaded();
/// The failure block: an empty line, the asterisks, the record, an empty line.
QString failure(const WatchedRecord& record);
/// The failure block with a last line that says why the record failed.
QString failure(const WatchedRecord& record, const QString& cause);
/// The block for a change that was found but could not be recorded, and why.
QString unrecorded(const WatchedRecord& record, const QString& why);
QString runEnded();
/// The last line of a run the user interrupted, with the number of records checked.
QString runInterrupted(int checked);
/// The portal refused and the run stops asking it; `why` is the refusal in a sentence.
QString runRefused(const QString& why);

/// The proceedings that came and went: "nové řízení Z-55/2026-101, skončené řízení
/// V-1234/2026-101"; empty when none did.
QString proceedings(const Comparison& comparison);
/// What changed: the sections' words and the proceedings, "vlastníci, nové řízení …".
QString changes(const Comparison& comparison);
/// A line of the change summary, with what changed: "Změna u stavby 45, vlastní označení
/// Dům: vlastníci, ochrana".
QString summary(const WatchedRecord& record, const Comparison& comparison);

/// A changed record as a desktop notification names it, with the sections that changed:
/// "parcela 123/4 Zahrada: vlastníci, nové řízení V-1234/2026-101".
QString notification(const WatchedRecord& record, const Comparison& comparison);

/// A line of history_log.txt; `snapshotPath` is the snapshot file's full path.
QString history(RecordKind kind, const QString& id, const QString& nazev,
                const QString& snapshotPath);

} // namespace LogLines
} // namespace veritam
