#include "portal/SearchDrivers.h"

#include "portal/DomRoutines.h"
#include "portal/PortalBrowser.h"
#include "store/RecordKind.h"

namespace veritam {

namespace {

using namespace DomRoutines;

QString id(const char* control) {
    return QStringLiteral("ctl00_bodyPlaceHolder_") + QString::fromLatin1(control);
}

QString name(const char* control) {
    return QStringLiteral("ctl00$bodyPlaceHolder$") + QString::fromLatin1(control);
}

void load(PortalBrowser& browser, RecordKind kind) {
    browser.PageLoaded = false;
    browser.Navigate(browser.settings().searchPage(kind));
    browser.WaitForPage();
}

void fill(PortalBrowser& browser, const QString& key, const QString& value) {
    FillAndClick(browser, value, key, false, false, QString());
}

void fillAndClick(PortalBrowser& browser, const QString& key, const QString& value,
                  const QString& clickKey) {
    FillAndClick(browser, value, key, false, true, clickKey);
}

/// Steps 1 to 5 of the building and unit searches: the page, the municipality (released
/// first when one is left from an earlier lookup), its part and the building type.
void chooseMunicipality(PortalBrowser& browser, RecordKind kind, const QString& obec,
                        const QString& cast_obce, const QString& typ_stavby) {
    load(browser, kind);
    if (ElementExists(browser, id("vyberObec_btnZmenObec"))) {
        fillAndClick(browser, id("vyberObec_btnZmenObec"), QStringLiteral("0"),
                     id("vyberObec_btnZmenObec"));
        browser.WaitForPage();
    }
    fillAndClick(browser, id("vyberObec_txtObec"), obec, id("vyberObec_btnObec"));
    browser.WaitForPage();
    if (ElementExists(browser, id("listCastObce")))
        fill(browser, id("listCastObce"), cast_obce);
    if (ElementExists(browser, id("listTypBudovy")))
        fill(browser, id("listTypBudovy"), typ_stavby);
}

} // namespace

void SearchParcel(const QString& uzemi, const QString& druh_cislovani, const QString& typ_parcely,
                  const QString& puvod_parcely, const QString& cislo_1, const QString& cislo_2,
                  PortalBrowser& browser) {
    load(browser, RecordKind::Parcel);
    if (ElementExists(browser, id("vyberObecKU_vyberKU_btnZmenKU"))) {
        fillAndClick(browser, name("vyberObecKU$vyberKU$btnZmenKU"), QStringLiteral("0"),
                     name("vyberObecKU$vyberKU$btnZmenKU"));
        browser.WaitForPage();
    }
    fillAndClick(browser, id("vyberObecKU_vyberKU_txtKU"), uzemi, id("vyberObecKU_vyberKU_btnKU"));
    browser.WaitForPage();
    // With page scripts off, choosing an option sends nothing: no wait in these steps.
    if (ElementExists(browser, id("typParcely_1")) && typ_parcely == QLatin1String("PZE")) {
        EnableSelectList(browser, id("zdrojZE"));
        fillAndClick(browser, name("typParcely"), QStringLiteral("0"), id("typParcely_1"));
        fill(browser, name("zdrojZE"), puvod_parcely);
    }
    // The numbering list is rendered as a table around its options, which no form lists
    // among its controls; the option is chosen by clicking it by its own id.
    if (ElementExists(browser, id("druhCislovani")))
        ClickElementById(browser, druh_cislovani == QLatin1String("1") ? id("druhCislovani_0")
                                                                       : id("druhCislovani_1"));
    fill(browser, id("txtParcis"), cislo_1);
    fillAndClick(browser, id("txtParpod"), cislo_2, id("btnVyhledat"));
    browser.WaitForPage();
}

void SearchBuilding(const QString& obec, const QString& cast_obce, const QString& typ_stavby,
                    const QString& cislo_stavby, PortalBrowser& browser) {
    chooseMunicipality(browser, RecordKind::Building, obec, cast_obce, typ_stavby);
    fillAndClick(browser, id("txtBudova"), cislo_stavby, id("btnVyhledat"));
    browser.WaitForPage();
}

void SearchUnit(const QString& obec, const QString& cast_obce, const QString& typ_stavby,
                const QString& cislo_stavby, const QString& cislo_jednotky,
                PortalBrowser& browser) {
    chooseMunicipality(browser, RecordKind::Unit, obec, cast_obce, typ_stavby);
    fill(browser, id("txtBudova"), cislo_stavby);
    fillAndClick(browser, id("txtJednotka"), cislo_jednotky, id("btnVyhledat"));
    browser.WaitForPage();
}

} // namespace veritam
