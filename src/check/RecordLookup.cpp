#include "check/RecordLookup.h"

#include "portal/SearchDrivers.h"
#include "store/Dataset.h"
#include "store/RecordKind.h"

namespace veritam {

void searchRecord(RecordKind kind, const Dataset& row, PortalBrowser& browser) {
    const auto text = [&row](const char* field) { return row.text(QString::fromLatin1(field)); };
    switch (kind) {
    case RecordKind::Parcel:
        SearchParcel(text("uzemi"), text("druh_cislovani"), text("typ_parcely"),
                     text("puvod_parcely"), text("cislo_1"), text("cislo_2"), browser);
        return;
    case RecordKind::Building:
        SearchBuilding(text("obec"), text("cast_obce"), text("typ_stavby"), text("cislo_stavby"),
                       browser);
        return;
    case RecordKind::Unit:
        SearchUnit(text("obec"), text("cast_obce"), text("typ_stavby"), text("cislo_stavby"),
                   text("cislo_jednotky"), browser);
        return;
    }
}

} // namespace veritam
