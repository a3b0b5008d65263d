#pragma once

#include "portal/PortalSession.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace veritam {

class Dataset;

/// The record's search columns (kindTable().searchColumns) as text, in the driver's order.
QStringList searchValues(RecordKind kind, const Dataset& row);

/// Why a page cannot be compared with the last check; empty for an information page with
/// its owners, the only page that may be.
QString whyNotComparable(const PortalPage& page);

/// The portal did not take the account on file: what the user is to do about it.
QString loginRefusedText();

/// A lookup of one record whose page must show the owners, for the record editor and the
/// import: logs in first when the session holds no login, and once more when the portal
/// asks for one (a code from a picture, the login form, a page without owners). Nothing
/// when no account is on file (the login has told the user). Throws PortalError, Refused
/// when the portal refuses the login.
std::optional<PortalPage> lookUpLoggedIn(PortalSession& session, RecordKind kind,
                                         const QStringList& values);

} // namespace veritam
