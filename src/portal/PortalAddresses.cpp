#include "portal/PortalAddresses.h"

#include "store/RecordKind.h"

namespace veritam::PortalAddresses {

namespace {

QString setting(const char* variable, const char* real) {
    const QString overridden = qEnvironmentVariable(variable);
    return overridden.isEmpty() ? QString::fromLatin1(real) : overridden;
}

} // namespace

QString viewerBase() {
    return setting("VERITAM_PORTAL_VIEWER", "https://nahlizenidokn.cuzk.gov.cz");
}

QString loginBase() {
    return setting("VERITAM_PORTAL_LOGIN", "https://login.cuzk.gov.cz");
}

QString domain() {
    return setting("VERITAM_PORTAL_DOMAIN", "cuzk.gov.cz");
}

QUrl loginPage() {
    return QUrl(loginBase() + QStringLiteral("/login.do?typPrihlaseni=NAHLIZENI"));
}

QUrl searchPage(RecordKind kind) {
    switch (kind) {
    case RecordKind::Parcel:
        return QUrl(viewerBase() + QStringLiteral("/VyberParcelu/Parcela/InformaceO"));
    case RecordKind::Building:
        return QUrl(viewerBase() + QStringLiteral("/VyberBudovu/Stavba/InformaceO"));
    case RecordKind::Unit:
        break;
    }
    return QUrl(viewerBase() + QStringLiteral("/VyberBudovu/Jednotka/InformaceO"));
}

} // namespace veritam::PortalAddresses
