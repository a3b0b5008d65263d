#pragma once

#include <QString>

namespace veritam {

class PortalBrowser;

/// The application's routines on the live page of the portal browser. They run as
/// scripts in the application's own world, which works while page scripts are off.
/// Errors of the page ("Invalid HTML document", "Can't find <body> element", a missing
/// control to click) are thrown as PortalError.
namespace DomRoutines {

/// The page's markup (head and body as the browser serialises the live page) followed by
/// CR LF; empty when no page is loaded.
QString DocumentMarkup(PortalBrowser& browser);

/// True when an element under the body has the id, compared without regard to case.
bool FindElementById(PortalBrowser& browser, const QString& id);

/// The document's own look-up by id; on any error shows "chyba" and answers false.
bool ElementExists(PortalBrowser& browser, const QString& id);

/// Clicks the element FindElementById finds; false when there is none.
bool ClickElementById(PortalBrowser& browser, const QString& id);

/// Sets the value of the INPUT, SELECT or TEXTAREA of form `formIndex` whose name or id
/// is `key`; anything else, or nothing found, is left alone.
void SetControlValue(PortalBrowser& browser, int formIndex, const QString& key,
                     const QString& value);

/// Enables the select list of the first form whose name or id is `key`.
void EnableSelectList(PortalBrowser& browser, const QString& key);

/// Fills `key` in the first of the first eleven forms that holds it and, with `click`,
/// clicks `clickKey` of the same form; with `submit`, submits that form. Nothing at all
/// happens when no form holds `key`.
void FillAndClick(PortalBrowser& browser, const QString& value, const QString& key, bool submit,
                  bool click, const QString& clickKey);

/// Makes a portal page usable without its scripts: shows the tab panel, hides the header
/// and the map loader, removes the first NOSCRIPT and opens the first accordion panel.
void TidyPortalPage(PortalBrowser& browser);

} // namespace DomRoutines
} // namespace veritam
