#include "portal/PortalSettings.h"

#include "platform/IniFile.h"
#include "portal/PortalCredentials.h"
#include "store/RecordKind.h"

namespace veritam {

namespace {

const QString kSection = QStringLiteral("portal");

/// An address the user wrote, if it is a usable base address: http(s), a host, no more.
QString usableBase(const QString& text) {
    QString trimmed = text.trimmed();
    while (trimmed.endsWith(u'/'))
        trimmed.chop(1);
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        return {};
    return trimmed;
}

QStringList domainList(const QString& text) {
    QStringList result;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        QString domain = part.trimmed().toLower();
        while (domain.startsWith(u'.'))
            domain.remove(0, 1);
        if (!domain.isEmpty() && !domain.contains(u'/'))
            result.append(domain);
    }
    return result;
}

/// The environment's value, else the file's, else the built-in one.
template <typename Parse>
auto chosen(const char* variable, const QString& fromFile, Parse parse,
            decltype(parse(QString())) builtIn) {
    if (auto value = parse(qEnvironmentVariable(variable)); !value.isEmpty())
        return value;
    if (auto value = parse(fromFile); !value.isEmpty())
        return value;
    return builtIn;
}

} // namespace

PortalSettings PortalSettings::load(const QString& dataFolder) {
    const QString file = PortalCredentials::settingsFile(dataFolder);
    const auto key = [&](const char* name) {
        return dataFolder.isEmpty() ? QString()
                                    : IniFile::read(file, kSection, QString::fromLatin1(name));
    };
    PortalSettings s;
    s.viewerBase = chosen("VERITAM_PORTAL_VIEWER", key("nahlizeni"), usableBase,
                          QStringLiteral("https://nahlizenidokn.cuzk.gov.cz"));
    s.loginBase = chosen("VERITAM_PORTAL_LOGIN", key("prihlaseni"), usableBase,
                         QStringLiteral("https://login.cuzk.gov.cz"));
    // The authority moved its sites to cuzk.gov.cz in 2025; the old hosts redirect.
    s.domains = chosen("VERITAM_PORTAL_DOMAIN", key("domena"), domainList,
                       QStringList{QStringLiteral("cuzk.gov.cz"), QStringLiteral("cuzk.cz")});
    bool ok = false;
    const int seconds = key("prodleva_s").trimmed().toInt(&ok);
    if (ok && seconds >= 0)
        s.pause = std::chrono::seconds(seconds);
    return s;
}

QUrl PortalSettings::loginPage() const {
    return QUrl(loginBase + QStringLiteral("/login.do?typPrihlaseni=NAHLIZENI"));
}

QUrl PortalSettings::searchPage(RecordKind kind) const {
    return QUrl(viewerBase + kindTable(kind).searchPath);
}

bool PortalSettings::isPortal(const QUrl& address) const {
    const QString scheme = address.scheme().toLower();
    if (scheme != QUrl(viewerBase).scheme() && scheme != QUrl(loginBase).scheme())
        return false;
    const QString host = address.host().toLower();
    if (host.isEmpty())
        return false;
    for (const QString& domain : domains)
        if (host == domain || host.endsWith(u'.' + domain))
            return true;
    return false;
}

bool PortalSettings::isLoginHost(const QUrl& address) const {
    const QUrl login(loginBase);
    return isPortal(address) && address.host().compare(login.host(), Qt::CaseInsensitive) == 0 &&
           address.port(login.port(-1)) == login.port(-1);
}

} // namespace veritam
