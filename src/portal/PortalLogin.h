#pragma once

#include "portal/PortalSession.h"

#include <QString>

namespace veritam {

class PortalBrowser;

/// Logs the browser in to the portal with the account kept in the data folder's settings
/// file. Missing credentials are told to the user and nothing loads. The credentials are
/// typed only into the login form of the configured login host, and sent only to a host of
/// the portal's domains. Throws PortalError when the login pages fail or are not the
/// portal's.
LoginOutcome PortalLogin(PortalBrowser& browser, const QString& dataFolder);

/// Sets the named input of the named form in the browser's current page to the value.
void Vloz_Udaj(const QString& value, const QString& inputName, const QString& formName,
               PortalBrowser& browser);

} // namespace veritam
