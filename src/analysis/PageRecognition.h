#pragma once

#include "analysis/ParsedPage.h"
#include "store/SectionTable.h"

#include <QString>

#include <optional>
#include <vector>

namespace veritam {

/// What the portal showed after a lookup. Only an information page with its owners is
/// compared with the last check; anything else must never pass for a change of the object.
enum class PageKind {
    Information, ///< an object's information page, its owners section among its sections
    /// Sections but no owners, and no sign whether the visitor is logged in: what a
    /// visitor without a login may get.
    InformationWithoutOwners,
    /// The object's page without its sections, or without the owners while the visitor is
    /// logged in: this object's page is odd, the portal is not refusing.
    Incomplete,
    SearchForm, ///< the search form again: nothing found, or the input refused
    LoggedOut,  ///< the login form, a code from a picture, or the header's login link
    Protection, ///< the traffic protection: the portal refuses further queries
    Other,      ///< anything else: maintenance, an error page, a page of no object
};

PageKind recognisePage(const ParsedPage& page);
PageKind recognisePage(const QString& markup);

/// The section an H2 heading opens (owners, protection, restrictions, other records).
std::optional<Section> sectionOfHeading(ParsedPage::Element element);
/// A paragraph that names the proceedings under way on the object.
bool isProceedingsNotice(ParsedPage::Element element);
/// The sections opened by a heading that the page lacks, in the table's order.
std::vector<Section> missingSections(const ParsedPage& page);

/// What the page calls itself (its title, else its first heading), to tell the user what
/// the portal showed instead of an object.
QString pageHeadline(const ParsedPage& page);

} // namespace veritam
