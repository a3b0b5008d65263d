#include "analysis/ChangeRecorder.h"

#include "analysis/Fingerprint.h"
#include "analysis/HistoryLog.h"
#include "analysis/LogLines.h"
#include "platform/DataFolder.h"
#include "platform/DurableFile.h"
#include "store/DatabaseError.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

#include <QFileInfo>

#include <optional>

namespace veritam {

RecordingError::RecordingError(const QString& cause, bool committed)
    : std::runtime_error(
          (committed ? QStringLiteral("Změna je zaznamenána, ale řádek do history_log.txt se "
                                      "nepodařilo zapsat: %1")
                     : QStringLiteral("Změnu se nepodařilo zaznamenat, zjistí ji příští "
                                      "kontrola: %1"))
              .arg(cause)
              .toStdString())
    , m_cause(cause)
    , m_committed(committed) {}

bool Comparison::has(Section section) const {
    return std::find(changed.begin(), changed.end(), section) != changed.end();
}

namespace ChangeRecorder {

namespace {

const QString kSnapshotHeader = QStringLiteral(
    "<!DOCTYPE html><html><head><link href=\"../../../cascade1.css\" rel=\"stylesheet\"/>"
    "<link href=\"../../../cascade2.css\" rel=\"stylesheet\"/></head><body>");

using Values = std::vector<std::pair<QString, QVariant>>;

struct Snapshot {
    QDateTime time;       ///< the moment of the change, to the second
    QString relativePath; ///< under the data folder, as the change row names it
    DurableFile::Staged file;
};

/// The snapshot's name: the moment of the change; a name already taken (a second change in
/// the same second, the hour repeated when summer time ends) gets a number after it.
QString freeName(const QString& dataFolder, const QString& folder, const QDateTime& time) {
    const QString stem = folder + u'/' + time.toString(QStringLiteral("yyyy.MM.dd,HH.mm.ss"));
    QString name = stem + QStringLiteral(".html");
    for (int n = 2; QFileInfo::exists(dataFolder + name); ++n)
        name = stem + u'-' + QString::number(n) + QStringLiteral(".html");
    return name;
}

Snapshot stageSnapshot(TDM1& dm, const WatchedRecord& record, const QByteArray& content) {
    const QString dataFolder = dm.dataFolder();
    const QString folder = kindTable(record.kind).snapshotFolder + QString::number(record.id);
    if (!DataFolder::createWithParents(dataFolder + folder))
        throw FileError(FileError::Action::Write, dataFolder + folder,
                        QStringLiteral("složku nelze vytvořit"));
    const QDateTime now = dm.now();
    const QDateTime time(now.date(),
                         QTime(now.time().hour(), now.time().minute(), now.time().second()));
    const QString relative = freeName(dataFolder, folder, time);
    return {time, relative, DurableFile::Staged(dataFolder + relative, content)};
}

Values storedValues(const WatchedRecord& record, const TParseKatastr& sections) {
    Values values;
    for (Section s : kindTable(record.kind).compared)
        values.emplace_back(sectionRow(s).stored, storedValue(s, sections[s]));
    return values;
}

/// Records one change as a whole: the snapshot is written and synced; `values` and the
/// change row go in one transaction, and the snapshot takes its name just before that
/// commits; then `recorded` and the change-log line. When the database part fails, the
/// transaction is rolled back and the snapshot removed, so the stored values are as before.
void recordChange(TDM1& dm, const WatchedRecord& record, const QString& page, const Values& values,
                  const std::function<void()>& recorded) {
    const KindTable& k = kindTable(record.kind);
    std::optional<Snapshot> snapshot;
    try {
        snapshot.emplace(stageSnapshot(dm, record, MakeSnapshotText(page)));
        SqliteTransaction transaction(dm.ADOConnection);
        dm.UpdateFields(record.id, k.recordTable, values);
        dm.InsertChange(k.changeTable, k.referenceColumn, QString::number(record.id),
                        snapshot->time, snapshot->relativePath);
        // Named only now: a kill before this leaves no snapshot without its change row.
        snapshot->file.publish();
        transaction.commit();
    } catch (const std::exception& e) {
        if (snapshot)
            snapshot->file.withdraw();
        throw RecordingError(errorText(e), false);
    }
    if (recorded)
        recorded();
    try {
        HistoryLog::AppendHistoryLog(dm.dataFolder(),
                                     LogLines::history(record.kind, QString::number(record.id),
                                                       record.name, snapshot->file.path()));
    } catch (const FileError& e) {
        throw RecordingError(e.message(), true);
    }
}

QStringList without(const QStringList& items, const QStringList& others) {
    QStringList result;
    for (const QString& item : items)
        if (!others.contains(item))
            result.append(item);
    return result;
}

} // namespace

QByteArray MakeSnapshotText(const QString& page) {
    return (kSnapshotHeader + page).toUtf8();
}

QString storedValue(Section section, const QString& text) {
    return sectionRow(section).fingerprinted ? Fingerprint(text) : text;
}

Comparison Compare(const WatchedRecord& record, const TParseKatastr& sections) {
    Comparison result;
    for (Section s : kindTable(record.kind).compared)
        if (storedValue(s, sections[s]) != record.storedText(s))
            result.changed.push_back(s);
    if (result.has(Section::Proceedings)) {
        const QStringList before = listItems(record.storedText(Section::Proceedings));
        const QStringList now = listItems(sections.rizeni);
        result.proceedingsAdded = without(now, before);
        result.proceedingsRemoved = without(before, now);
    }
    return result;
}

Comparison CompareAndRecord(TDM1& dm, const WatchedRecord& record, const TParseKatastr& sections,
                            const QString& page,
                            const std::function<void(const Comparison&)>& recorded) {
    const KindTable& k = kindTable(record.kind);
    const Comparison comparison = Compare(record, sections);
    // A flag stays until the user has seen the change; a check without change keeps it.
    Values values;
    for (Section s : comparison.changed)
        values.emplace_back(sectionRow(s).flag, true);
    if (!comparison.any()) {
        // A section never read before (NULL) is now read, though it holds nothing.
        for (Section s : k.compared)
            if (!record.stored[WatchedRecord::index(s)])
                values.emplace_back(sectionRow(s).stored, storedValue(s, sections[s]));
        values.emplace_back(QStringLiteral("posledni_kontrola"), dm.now());
        dm.UpdateFields(record.id, k.recordTable, values);
        return comparison;
    }
    const Values stored = storedValues(record, sections);
    values.insert(values.end(), stored.begin(), stored.end());
    values.emplace_back(QStringLiteral("posledni_kontrola"), dm.now());
    recordChange(dm, record, page, values, [&] {
        if (recorded)
            recorded(comparison);
    });
    return comparison;
}

void StoreFirstValues(TDM1& dm, const WatchedRecord& record, const TParseKatastr& sections,
                      const QString& page) {
    recordChange(dm, record, page, storedValues(record, sections), {});
}

void StoreBaseline(TDM1& dm, const WatchedRecord& record, const TParseKatastr& sections) {
    dm.UpdateFields(record.id, kindTable(record.kind).recordTable, storedValues(record, sections));
}

} // namespace ChangeRecorder
} // namespace veritam
