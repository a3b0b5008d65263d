#pragma once

#include "portal/PortalSession.h"

#include <QString>

namespace veritam {

/// Why a page cannot be compared with the last check; empty for an information page with
/// its owners, the only page that may be.
QString whyNotComparable(const PortalPage& page);

/// The portal shows the visitor logged out.
QString loggedOutText();

/// The portal did not take the account on file: what the user is to do about it.
QString loginRefusedText();

} // namespace veritam
