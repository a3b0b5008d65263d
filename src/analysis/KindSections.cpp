#include "analysis/KindSections.h"

namespace veritam {

namespace {

const Section kArea{&TParseKatastr::vymera, "hash_vymera", "zmena_vymera", false};
const Section kShare{&TParseKatastr::podil, "hash_podil", "zmena_podil", false};
const Section kOwners{&TParseKatastr::vlastnici, "hash_vlastnici", "zmena_vlastnici", true};
const Section kProtection{&TParseKatastr::ochrana, "hash_ochrana", "zmena_ochrana", true};
const Section kRestrictions{&TParseKatastr::omezeni, "hash_omezeni", "zmena_omezeni", true};
const Section kOther{&TParseKatastr::jine, "hash_jine", "zmena_jine", true};

} // namespace

const KindSections& kindSections(RecordKind kind) {
    static const KindSections parcel{{kArea, kOwners, kProtection, kRestrictions, kOther},
                                     QStringLiteral("Změna u parcely ID "),
                                     QStringLiteral(". Vlastní označení parcely ")};
    static const KindSections building{{kOwners, kProtection, kRestrictions, kOther},
                                       QStringLiteral("Změna u stavby ID "),
                                       QStringLiteral(". Vlastní označení stavby ")};
    static const KindSections unit{{kShare, kOwners, kProtection, kRestrictions, kOther},
                                   QStringLiteral("Změna u jednotky ID "),
                                   QStringLiteral(". Vlastní označení jednotky ")};
    switch (kind) {
    case RecordKind::Parcel:
        return parcel;
    case RecordKind::Building:
        return building;
    case RecordKind::Unit:
        break;
    }
    return unit;
}

} // namespace veritam
