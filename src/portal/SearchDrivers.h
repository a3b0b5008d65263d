#pragma once

#include <QString>

namespace veritam {

class PortalBrowser;

/// The search-form drivers: each brings the information page of one object into the
/// browser by filling the portal's search form as a user would. The values are the
/// record's columns as text. Errors of the DOM routines and of the waits propagate.

void SearchParcel(const QString& uzemi, const QString& druh_cislovani, const QString& typ_parcely,
                  const QString& puvod_parcely, const QString& cislo_1, const QString& cislo_2,
                  PortalBrowser& browser);

void SearchBuilding(const QString& obec, const QString& cast_obce, const QString& typ_stavby,
                    const QString& cislo_stavby, PortalBrowser& browser);

void SearchUnit(const QString& obec, const QString& cast_obce, const QString& typ_stavby,
                const QString& cislo_stavby, const QString& cislo_jednotky, PortalBrowser& browser);

} // namespace veritam
