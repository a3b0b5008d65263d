#include "analysis/ChangeRecorder.h"

#include "analysis/Fingerprint.h"
#include "analysis/HistoryLog.h"
#include "analysis/LogLines.h"
#include "platform/DataFolder.h"
#include "platform/DurableFile.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"
#include "store/TDM1.h"

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

namespace ChangeRecorder {

namespace {

const QString kSnapshotHeader = QStringLiteral(
    "<!DOCTYPE html><html><head><link href=\"../../../cascade1.css\" rel=\"stylesheet\"/>"
    "<link href=\"../../../cascade2.css\" rel=\"stylesheet\"/></head><body>");

struct Snapshot {
    QDateTime time;       ///< the moment of the change, to the second
    QString relativePath; ///< under the data folder, as the change row names it
    DurableFile::Staged file;
};

Snapshot stageSnapshot(const QString& dataFolder, RecordKind kind, int id,
                       const QByteArray& content) {
    const QString folder = kindTable(kind).snapshotFolder + QString::number(id);
    if (!DataFolder::createWithParents(dataFolder + folder))
        throw FileError(FileError::Action::Write, dataFolder + folder,
                        QStringLiteral("složku nelze vytvořit"));
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime time(now.date(),
                         QTime(now.time().hour(), now.time().minute(), now.time().second()));
    const QString relative = folder + u'/' + time.toString(QStringLiteral("yyyy.MM.dd,HH.mm.ss")) +
                             QStringLiteral(".html");
    return {time, relative, DurableFile::Staged(dataFolder + relative, content)};
}

} // namespace

QByteArray MakeSnapshotText(const QString& page) {
    return (kSnapshotHeader + page).toUtf8();
}

void FingerprintSections(TParseKatastr& sections) {
    for (Section s : kAllSections)
        if (sectionColumns(s).fingerprinted)
            sections[s] = Fingerprint(sections[s]);
}

void StoreBaseline(TDM1& dm, RecordKind kind, int id, const TParseKatastr& sections) {
    const KindTable& k = kindTable(kind);
    for (Section s : k.compared)
        dm.UpdateField(id, k.recordTable, sectionColumns(s).stored,
                       TDM1::QuotedLiteral(sections[s]));
}

void RecordChange(TDM1& dm, RecordKind kind, int id, const QString& nazev, const QString& page,
                  const std::function<void()>& storeValues, const std::function<void()>& recorded) {
    const KindTable& k = kindTable(kind);
    std::optional<Snapshot> snapshot;
    try {
        snapshot.emplace(stageSnapshot(dm.dataFolder(), kind, id, MakeSnapshotText(page)));
        SqliteTransaction transaction(dm.ADOConnection);
        storeValues();
        dm.InsertChange(k.changeTable, k.referenceColumn, QString::number(id), snapshot->time,
                        snapshot->relativePath);
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
        HistoryLog::AppendHistoryLog(
            dm.dataFolder(),
            LogLines::history(kind, QString::number(id), nazev, snapshot->file.path()));
    } catch (const FileError& e) {
        throw RecordingError(e.message(), true);
    }
}

bool CompareAndRecord(TDM1& dm, RecordKind kind, const Dataset& row, TParseKatastr& sections,
                      const QString& page, const std::function<void()>& recorded) {
    FingerprintSections(sections);
    const KindTable& k = kindTable(kind);
    const int id = row.integer(QStringLiteral("ID"));
    const auto differs = [&](Section s) {
        return sections[s] != row.text(sectionColumns(s).stored);
    };
    const auto writeFlagsAndTime = [&] {
        // `row` still holds the values stored before this check.
        for (Section s : k.compared)
            dm.UpdateField(id, k.recordTable, sectionColumns(s).flag,
                           differs(s) ? QStringLiteral("1") : QStringLiteral("0"));
        dm.UpdateField(id, k.recordTable, QStringLiteral("posledni_kontrola"),
                       TDM1::DateToSql(QDateTime::currentDateTime()));
    };
    if (std::none_of(k.compared.begin(), k.compared.end(), differs)) {
        SqliteTransaction transaction(dm.ADOConnection);
        writeFlagsAndTime();
        transaction.commit();
        return false;
    }
    RecordChange(
        dm, kind, id, row.text(QStringLiteral("nazev")), page,
        [&] {
            StoreBaseline(dm, kind, id, sections);
            writeFlagsAndTime();
        },
        recorded);
    return true;
}

} // namespace ChangeRecorder
} // namespace veritam
