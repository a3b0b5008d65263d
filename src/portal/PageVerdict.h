#pragma once

#include "portal/PortalSession.h"

#include <QString>
#include <QStringList>

namespace veritam {

class Dataset;

/// The record's search columns (kindTable().searchColumns) as text, in the driver's order.
QStringList searchValues(RecordKind kind, const Dataset& row);

/// Why a page cannot be compared with the last check; empty for an information page with
/// its owners, the only page that may be.
QString whyNotComparable(const PortalPage& page);

/// The portal did not take the account on file: what the user is to do about it.
QString loginRefusedText();

} // namespace veritam
