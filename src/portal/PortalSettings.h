#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>

namespace veritam {

enum class RecordKind;

/// Section "portal" of nastaveni.ini: where the authority's portal lives and how fast a run
/// may ask it. Missing or unusable keys mean the built-in defaults, which are written
/// nowhere; VERITAM_PORTAL_VIEWER, VERITAM_PORTAL_LOGIN and VERITAM_PORTAL_DOMAIN override
/// the file (the tests point them at the simulator).
///
///   nahlizeni  = viewer address, e.g. https://nahlizenidokn.cuzk.gov.cz
///   prihlaseni = login address,  e.g. https://login.cuzk.gov.cz
///   domena     = the authority's domains, comma-separated: cuzk.gov.cz,cuzk.cz
///   prodleva_s = whole seconds between two lookups of a full run; 0 = none
struct PortalSettings {
    static constexpr int kDefaultPauseSeconds = 5;

    QString viewerBase; ///< scheme and host, no trailing "/"
    QString loginBase;
    QStringList domains; ///< lower case
    std::chrono::seconds pause{kDefaultPauseSeconds};

    static PortalSettings load(const QString& dataFolder);

    QUrl loginPage() const;
    QUrl searchPage(RecordKind kind) const;

    /// A page of the authority: its host is one of the domains or ends with "." and one of
    /// them, over the scheme of the configured addresses. Nothing else of the address counts.
    bool isPortal(const QUrl& address) const;
    /// The page is on the configured login host, the only one the credentials are typed into.
    bool isLoginHost(const QUrl& address) const;

    /// The domain named to the user.
    QString domain() const { return domains.value(0); }
};

} // namespace veritam
