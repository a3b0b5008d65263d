#include "entry/RecordCapture.h"

#include "analysis/PageIdentity.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"
#include "store/RecordKind.h"
#include "store/RecordValues.h"
#include "store/TDM1.h"

#include <algorithm>

namespace veritam {

QString CaptureFromPage(TDM1& dm, RecordKind kind, const ParsedPage& page,
                        const std::function<void(const QString& column)>& written) {
    const KindTable& t = kindTable(kind);
    Dataset& q = dm.recordQuery(kind);
    for (const auto& [column, value] : PageIdentity::read(kind, page)) {
        const auto place = std::ranges::find(t.places, column, &PlaceColumn::column);
        if (place != t.places.end())
            (dm.*place->list).locate(place->code, value);
        const RecordValues::Reading reading = RecordValues::read(kind, column, value, q);
        if (!reading.refused.isEmpty())
            throw DatabaseError(reading.refused);
        q.setValue(column, reading.value);
        written(column);
    }
    return t.captureNote;
}

} // namespace veritam
