#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace portalsim {

/// One row of a section table: its cells.
using Rows = std::vector<QStringList>;

/// A watched object as the portal knows it, with the six sections of its page.
struct Object {
    QString id;
    QString kind; ///< "parcel", "building", "unit"
    // parcel
    qint64 territory = 0;
    QString type = QStringLiteral("PKN"); ///< PKN or PZE
    QString source;                       ///< 3, 4, 6 for PZE
    int numbering = 2;                    ///< 1 "st.", 2 land parcel
    QString number;
    QString subdivision;
    // building and unit
    qint64 municipality = 0;
    qint64 part = 0;
    int buildingType = 1;
    QString building;
    QString unit;
    // sections
    QString area;
    QString share;
    Rows owners;
    Rows protection;
    Rows restrictions;
    Rows other;
    /// Numbers of the proceedings under way, "V-1234/2026-101".
    QStringList proceedings;
    /// "http500", "delay:MS", "hang", "nosections" (the object's page without
    /// its sections), "foreign", "protection" (the traffic
    /// protection's page with status 200), or empty.
    QString fault;
};

struct Place {
    qint64 code;
    QString name;
};

struct Municipality {
    qint64 code;
    QString name;
    std::vector<Place> parts;
    bool partList = true; ///< the building search page offers the part list
};

/// The simulator's world, read from the JSON state file on every request, so that a
/// test may change it between two lookups.
struct PortalState {
    bool loginStep = true; ///< the login address first shows a page with "dpSubmitBtn"
    /// The one account the login takes; empty: any non-empty name and password.
    QString accountName;
    QString accountPassword;
    /// What a visitor without a login gets for a search: "code" (the form again, asking
    /// for a code from a picture, as the portal does), "noowners" (the information page
    /// without its owners) or "all".
    QString visitors = QStringLiteral("code");
    /// Pages of the viewer host a login lasts; 0: as long as the browser keeps it.
    int loginExpiresAfter = 0;
    /// Hostile set-ups: the login address redirects here, or the login form posts here.
    QString loginRedirect;
    QString loginAction;
    std::vector<Place> territories;
    std::vector<Municipality> municipalities;
    std::vector<Object> objects;

    static PortalState load(const QString& path);

    const Place* territory(const QString& codeOrName) const;
    const Municipality* municipality(const QString& codeOrName) const;
    const Object* object(const QString& id) const;
};

} // namespace portalsim
