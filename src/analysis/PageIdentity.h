#pragma once

#include "store/RecordKind.h"

#include <QString>

#include <utility>
#include <vector>

namespace veritam {

class ParsedPage;

/// What capture reads off an object's information page: the values of the record columns
/// that identify the object, as texts, in the order they are written into a new record.
/// Label cells are matched as the section extractor matches them; for each value the last
/// match in document order wins; a page without the labels gives the starting values.
namespace PageIdentity {

using Fields = std::vector<std::pair<QString, QString>>;

/// cislo_1, cislo_2, druh_cislovani, uzemi, typ_parcely, puvod_parcely.
struct Parcel {
    QString uzemi;
    QString typ_parcely = QStringLiteral("PKN");
    QString puvod_parcely = QStringLiteral("4");
    QString cislo_1;
    QString cislo_2;
    QString druh_cislovani;
    Fields fields() const;
};

/// obec, cast_obce, cislo_stavby, typ_stavby.
struct Building {
    QString obec;
    QString cast_obce;
    QString typ_stavby;
    QString cislo_stavby;
    Fields fields() const;
};

/// cislo_stavby, cislo_jednotky; the page of a unit names no municipality.
struct Unit {
    QString cislo_stavby;
    QString cislo_jednotky;
    Fields fields() const;
};

Parcel parcel(const ParsedPage& page);
Building building(const ParsedPage& page);
Unit unit(const ParsedPage& page);

/// The fields of the kind's reading above.
Fields read(RecordKind kind, const ParsedPage& page);

/// The code in a place text: what follows its first "[" (from the start when it has none)
/// up to the next "]"; empty when no "]" follows.
QString codeIn(const QString& placeText);

} // namespace PageIdentity
} // namespace veritam
