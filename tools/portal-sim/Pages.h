#pragma once

#include "PortalState.h"

#include <QString>

namespace portalsim::Pages {

QString escape(const QString& text);

/// The first login page, whose only control is the button "dpSubmitBtn".
QString loginStep();
QString loginForm(const QString& message = {});
QString viewerHome(const QString& user);

/// The parcel search form; `territory` is the one chosen in the session, if any.
QString parcelSearch(const Place* territory, const QString& message = {});
/// The building (`unit` false) or unit search form.
QString buildingSearch(bool unit, const Municipality* municipality, const QString& message = {});

/// An object's information page: the six sections among the page's noise (a time
/// stamp and a token that change on every request).
QString information(const Object& object, const PortalState& state);
/// A page that looks like an information page but holds none of the sections.
QString withoutSections();

} // namespace portalsim::Pages
