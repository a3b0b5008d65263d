#include "PortalState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace portalsim {

namespace {

QString text(const QJsonValue& v) {
    if (v.isDouble())
        return QString::number(static_cast<qint64>(v.toDouble()));
    return v.toString();
}

Rows rows(const QJsonValue& v) {
    Rows result;
    for (const QJsonValue row : v.toArray()) {
        QStringList cells;
        if (row.isArray()) {
            for (const QJsonValue cell : row.toArray())
                cells.append(text(cell));
        } else {
            cells.append(text(row));
        }
        result.push_back(cells);
    }
    return result;
}

std::vector<Place> places(const QJsonValue& v) {
    std::vector<Place> result;
    for (const QJsonValue p : v.toArray())
        result.push_back({static_cast<qint64>(p[QStringLiteral("code")].toDouble()),
                          p[QStringLiteral("name")].toString()});
    return result;
}

bool matches(const Place& p, const QString& codeOrName) {
    return QString::number(p.code) == codeOrName.trimmed() ||
           p.name.compare(codeOrName.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

PortalState PortalState::load(const QString& path) {
    QFile file(path);
    PortalState state;
    if (!file.open(QIODevice::ReadOnly))
        return state;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    state.loginStep = root.value(QStringLiteral("loginStep")).toBool(true);
    const QJsonObject account = root.value(QStringLiteral("account")).toObject();
    state.accountName = account.value(QStringLiteral("name")).toString();
    state.accountPassword = account.value(QStringLiteral("password")).toString();
    state.visitors = root.value(QStringLiteral("visitors")).toString(QStringLiteral("code"));
    state.loginExpiresAfter = root.value(QStringLiteral("loginExpiresAfter")).toInt(0);
    state.loginRedirect = root.value(QStringLiteral("loginRedirect")).toString();
    state.loginAction = root.value(QStringLiteral("loginAction")).toString();
    state.territories = places(root[QStringLiteral("territories")]);
    for (const QJsonValue m : root[QStringLiteral("municipalities")].toArray())
        state.municipalities.push_back(
            {static_cast<qint64>(m[QStringLiteral("code")].toDouble()),
             m[QStringLiteral("name")].toString(), places(m[QStringLiteral("parts")]),
             m.toObject().value(QStringLiteral("partList")).toBool(true)});
    int n = 0;
    for (const QJsonValue o : root[QStringLiteral("objects")].toArray()) {
        Object object;
        const QJsonObject j = o.toObject();
        object.id =
            j.contains(QStringLiteral("id")) ? text(j[QStringLiteral("id")]) : QString::number(++n);
        object.kind = j[QStringLiteral("kind")].toString();
        object.territory = static_cast<qint64>(j[QStringLiteral("territory")].toDouble());
        object.type = j.value(QStringLiteral("type")).toString(QStringLiteral("PKN"));
        object.source = text(j[QStringLiteral("source")]);
        object.numbering = j.value(QStringLiteral("numbering")).toInt(2);
        object.number = text(j[QStringLiteral("number")]);
        object.subdivision = text(j[QStringLiteral("subdivision")]);
        object.municipality = static_cast<qint64>(j[QStringLiteral("municipality")].toDouble());
        object.part = static_cast<qint64>(j[QStringLiteral("part")].toDouble());
        object.buildingType = j.value(QStringLiteral("buildingType")).toInt(1);
        object.building = text(j[QStringLiteral("building")]);
        object.unit = text(j[QStringLiteral("unit")]);
        object.area = text(j[QStringLiteral("area")]);
        object.share = text(j[QStringLiteral("share")]);
        object.owners = rows(j[QStringLiteral("owners")]);
        object.protection = rows(j[QStringLiteral("protection")]);
        object.restrictions = rows(j[QStringLiteral("restrictions")]);
        object.other = rows(j[QStringLiteral("other")]);
        for (const QJsonValue number : j[QStringLiteral("proceedings")].toArray())
            object.proceedings.append(number.toString());
        object.fault = j[QStringLiteral("fault")].toString();
        state.objects.push_back(object);
    }
    return state;
}

const Place* PortalState::territory(const QString& codeOrName) const {
    for (const Place& p : territories)
        if (matches(p, codeOrName))
            return &p;
    return nullptr;
}

const Municipality* PortalState::municipality(const QString& codeOrName) const {
    for (const Municipality& m : municipalities)
        if (matches({m.code, m.name}, codeOrName))
            return &m;
    return nullptr;
}

const Object* PortalState::object(const QString& id) const {
    for (const Object& o : objects)
        if (o.id == id)
            return &o;
    return nullptr;
}

} // namespace portalsim
