#pragma once

#include <QString>
#include <QUrl>

namespace veritam {

enum class RecordKind;

/// Where the authority's portal lives. The real addresses, overridable only through
/// VERITAM_PORTAL_VIEWER, VERITAM_PORTAL_LOGIN (base URLs) and VERITAM_PORTAL_DOMAIN,
/// which the tests point at the simulator.
namespace PortalAddresses {

QString viewerBase();
QString loginBase();
/// The registrable domain every completed portal page's address contains.
QString domain();

QUrl loginPage();
QUrl searchPage(RecordKind kind);

} // namespace PortalAddresses
} // namespace veritam
