#pragma once

#include <QString>

#include <array>

namespace veritam {

/// The three kinds of watched record, handled alike throughout the program.
enum class RecordKind { Parcel, Building, Unit };

constexpr std::array<RecordKind, 3> kAllRecordKinds = {RecordKind::Parcel, RecordKind::Building,
                                                       RecordKind::Unit};

/// The database side of a kind.
struct RecordKindTables {
    QString recordTable;     ///< parcely, stavby, jednotky
    QString changeTable;     ///< zmeny_parcel, zmeny_staveb, zmeny_jednotek
    QString referenceColumn; ///< id_parcely, id_stavby, id_jednotky
    QString snapshotFolder;  ///< relative to the data folder, followed by the record's ID
};

inline RecordKindTables tablesOf(RecordKind kind) {
    switch (kind) {
    case RecordKind::Parcel:
        return {QStringLiteral("parcely"), QStringLiteral("zmeny_parcel"),
                QStringLiteral("id_parcely"), QStringLiteral("historie/parcely/parcela-id-")};
    case RecordKind::Building:
        return {QStringLiteral("stavby"), QStringLiteral("zmeny_staveb"),
                QStringLiteral("id_stavby"), QStringLiteral("historie/stavby/stavba-id-")};
    case RecordKind::Unit:
        break;
    }
    return {QStringLiteral("jednotky"), QStringLiteral("zmeny_jednotek"),
            QStringLiteral("id_jednotky"), QStringLiteral("historie/jednotky/jednotky-id-")};
}

} // namespace veritam
