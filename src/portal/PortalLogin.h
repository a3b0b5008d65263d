#pragma once

#include <QString>

namespace veritam {

class PortalBrowser;

/// Logs the browser in to the portal with the account kept in the data folder's settings
/// file. Reports no outcome; missing credentials are told to the user and nothing loads.
void PortalLogin(PortalBrowser& browser, const QString& dataFolder);

/// Sets the named input of the named form in the browser's current page to the value.
void Vloz_Udaj(const QString& value, const QString& inputName, const QString& formName,
               PortalBrowser& browser);

} // namespace veritam
