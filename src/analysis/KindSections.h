#pragma once

#include "analysis/TParseKatastr.h"
#include "store/RecordKind.h"

#include <QString>

#include <vector>

namespace veritam {

/// One watched section: where its value lies in the section record and in the table.
struct Section {
    QString TParseKatastr::*field;
    const char* storedColumn; ///< hash_vymera, hash_vlastnici, ...
    const char* flagColumn;   ///< zmena_vymera, zmena_vlastnici, ...
    bool fingerprinted;       ///< stored as its fingerprint, not as the text itself
};

/// What the analysis does differently per kind of record.
struct KindSections {
    std::vector<Section> compared; ///< in the order they are compared and written
    QString logFirst;              ///< "Změna u parcely ID "
    QString logSecond;             ///< ". Vlastní označení parcely "
};

const KindSections& kindSections(RecordKind kind);

} // namespace veritam
