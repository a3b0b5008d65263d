#include "analysis/ChangeRecorder.h"

#include "analysis/Fingerprint.h"
#include "analysis/HistoryLog.h"
#include "analysis/LogLines.h"
#include "analysis/SectionExtractor.h"
#include "platform/DataFolder.h"
#include "store/Dataset.h"
#include "store/TDM1.h"

#include <QSaveFile>

namespace veritam::ChangeRecorder {

namespace {

const QString kSnapshotHeader = QStringLiteral(
    "<!DOCTYPE html><html><head><link href=\"../../../cascade1.css\" rel=\"stylesheet\"/>"
    "<link href=\"../../../cascade2.css\" rel=\"stylesheet\"/></head><body>");

} // namespace

QByteArray MakeSnapshotText(const QString& page) {
    return (kSnapshotHeader + page).toUtf8();
}

Snapshot SaveSnapshot(const QString& dataFolder, RecordKind kind, const QString& id,
                      const QString& nazev, const QByteArray& content) {
    const QString folder = kindTable(kind).snapshotFolder + id;
    if (!DataFolder::createWithParents(dataFolder + folder))
        throw AnalysisError(QStringLiteral("Složku %1 nelze vytvořit.").arg(dataFolder + folder));
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime time(now.date(),
                         QTime(now.time().hour(), now.time().minute(), now.time().second()));
    const QString relative = folder + u'/' + time.toString(QStringLiteral("yyyy.MM.dd,HH.mm.ss")) +
                             QStringLiteral(".html");
    const QString full = dataFolder + relative;
    // Written aside and renamed into place: a crash leaves the old file or the new one.
    QSaveFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw AnalysisError(
            QStringLiteral("Soubor %1 nelze zapsat: %2").arg(full, file.errorString()));
    HistoryLog::AppendHistoryLog(dataFolder, LogLines::history(kind, id, nazev, full));
    return {time, relative};
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

bool CompareAndRecord(TDM1& dm, RecordKind kind, const Dataset& row, TParseKatastr& sections,
                      const QString& page, Progress* progress) {
    FingerprintSections(sections);
    const KindTable& k = kindTable(kind);
    const int id = row.integer(QStringLiteral("ID"));
    const auto differs = [&](Section s) {
        return sections[s] != row.text(sectionColumns(s).stored);
    };
    const bool changed = std::any_of(k.compared.begin(), k.compared.end(), differs);
    if (!changed) {
        for (Section s : k.compared)
            dm.UpdateField(id, k.recordTable, sectionColumns(s).flag, QStringLiteral("0"));
    } else {
        const QByteArray content = MakeSnapshotText(page);
        if (progress)
            progress->contentMade = true;
        const Snapshot snapshot = SaveSnapshot(dm.dataFolder(), kind, QString::number(id),
                                               row.text(QStringLiteral("nazev")), content);
        if (progress && progress->changeLogged)
            progress->changeLogged();
        StoreBaseline(dm, kind, id, sections);
        // `row` still holds the values stored before this check.
        for (Section s : k.compared)
            dm.UpdateField(id, k.recordTable, sectionColumns(s).flag,
                           differs(s) ? QStringLiteral("1") : QStringLiteral("0"));
        dm.InsertChange(k.changeTable, k.referenceColumn, QString::number(id), snapshot.time,
                        snapshot.relativePath);
    }
    dm.UpdateField(id, k.recordTable, QStringLiteral("posledni_kontrola"),
                   TDM1::DateToSql(QDateTime::currentDateTime()));
    return changed;
}

} // namespace veritam::ChangeRecorder
