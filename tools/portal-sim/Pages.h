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

// The pages of the viewer host show `user` logged in in their header, or the login link
// when it is empty.

/// The parcel search form; `territory` is the one chosen in the session, if any. With
/// `code`, the form asks for a code from a picture, as the portal does of visitors without
/// a login.
QString parcelSearch(const QString& user, const Place* territory, const QString& message = {},
                     bool code = false);
/// The building (`unit` false) or unit search form.
QString buildingSearch(const QString& user, bool unit, const Municipality* municipality,
                       const QString& message = {}, bool code = false);

/// What an information page shows of the object's sections.
enum class Shown { All, WithoutOwners, NoSections };
/// An object's information page: the sections and the proceedings under way among the
/// page's noise (a time stamp and tokens that change on every request). Label cells and
/// headings are written across lines, as server templates do.
QString information(const QString& user, const Object& object, const PortalState& state,
                    Shown shown = Shown::All);
/// The traffic protection's answer (status 200): too many queries from one address.
QString protection(const QString& user);
/// A page of the viewer that is no object's.
QString notFound();

} // namespace portalsim::Pages
