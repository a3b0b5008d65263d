#pragma once

#include "PortalState.h"

#include <QString>

namespace portalsim::Pages {

QString escape(const QString& text);

/// The first login page, whose only control is the button "dpSubmitBtn".
QString loginStep();
/// The login form; `action` replaces where it posts the credentials.
QString loginForm(const QString& message = {}, const QString& action = {});
QString viewerHome(const QString& user);

/// The parcel search form; `territory` is the one chosen in the session, if any. With
/// `code`, the form asks for a code from a picture, as the portal does of visitors without
/// a login.
QString parcelSearch(const Place* territory, const QString& message = {}, bool code = false);
/// The building (`unit` false) or unit search form.
QString buildingSearch(bool unit, const Municipality* municipality, const QString& message = {},
                       bool code = false);

/// An object's information page: the six sections among the page's noise (a time
/// stamp and a token that change on every request). Label cells and headings are written
/// across lines, as server templates do. Without `owners` the owners section is left out.
QString information(const Object& object, const PortalState& state, bool owners = true);
/// The traffic protection's answer (status 200): too many queries from one address.
QString protection();
/// A page that looks like an information page but holds none of the sections.
QString withoutSections();

} // namespace portalsim::Pages
