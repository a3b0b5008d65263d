#include "store/WatchedRecord.h"

#include "store/Dataset.h"
#include "store/TDM1.h"

namespace veritam {

QString WatchedRecord::value(const QString& column) const {
    const auto it = search.find(column);
    return it == search.end() ? QString() : it->second;
}

WatchedRecord WatchedRecord::read(RecordKind kind, const Dataset& row) {
    const KindTable& k = kindTable(kind);
    WatchedRecord record;
    record.kind = kind;
    record.id = row.integer(QStringLiteral("ID"));
    record.name = row.text(QStringLiteral("nazev"));
    for (const QString& column : k.searchColumns)
        record.search[column] = row.text(column);
    for (Section s : k.compared) {
        const QString& column = sectionRow(s).stored;
        if (!row.hasField(column))
            continue;
        if (const QVariant v = row.value(column); !v.isNull())
            record.stored[index(s)] = v.toString();
    }
    return record;
}

std::optional<WatchedRecord> WatchedRecord::load(TDM1& dm, RecordKind kind, int id) {
    const auto row =
        dm.OpenStatement(QStringLiteral("SELECT * FROM ") + kindTable(kind).recordTable +
                         QStringLiteral(" WHERE ID = ") + QString::number(id));
    if (row->recordCount() != 1)
        return std::nullopt;
    return read(kind, *row);
}

} // namespace veritam
