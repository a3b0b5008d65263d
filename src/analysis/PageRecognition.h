#pragma once

#include "analysis/ParsedPage.h"
#include "store/RecordKind.h"

#include <QString>

#include <optional>

namespace veritam {

/// What the portal showed after a lookup. Only an information page with its owners is
/// compared with the last check; anything else must never pass for a change of the object.
enum class PageKind {
    Information, ///< an object's information page, its owners section among its sections
    InformationWithoutOwners, ///< section headings, but no owners: what a visitor without a login
                              ///< may get
    SearchForm,               ///< the search form again: nothing found, or the input refused
    LoginRequired,            ///< the login form or the code from a picture: no valid login
    Other,                    ///< anything else: traffic protection, maintenance, an error page
};

PageKind recognisePage(const ParsedPage& page);
PageKind recognisePage(const QString& markup);

/// The section an H2 heading opens (owners, protection, restrictions, other records).
std::optional<Section> sectionOfHeading(ParsedPage::Element element);

/// What the page calls itself (its title, else its first heading), to tell the user what
/// the portal showed instead of an object.
QString pageHeadline(const ParsedPage& page);

} // namespace veritam
