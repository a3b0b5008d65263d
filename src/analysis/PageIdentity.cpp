#include "analysis/PageIdentity.h"

#include "analysis/InnerText.h"
#include "analysis/ParsedPage.h"

#include <functional>
#include <map>

namespace veritam::PageIdentity {

namespace {

/// Walks every label cell of the page; `read` tells, for a label text, how many elements
/// on its value lies (1 or 2) and what to do with the value's text.
struct Label {
    std::size_t offset;
    std::function<void(const QString&)> take;
};

void walk(const ParsedPage& page, const std::map<QString, Label>& labels) {
    const std::vector<ParsedPage::Element>& elements = page.elements();
    // The last match of each label wins; only its value is read.
    std::map<const Label*, std::size_t> last;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (!ParsedPage::isLabelCell(elements[i]))
            continue;
        const auto label = labels.find(ParsedPage::labelText(elements[i]));
        if (label != labels.end() && i + label->second.offset < elements.size())
            last[&label->second] = i + label->second.offset;
    }
    for (const auto& [label, value] : last)
        label->take(innerText(elements[value]));
}

/// "a/b" split at its first "/"; without one, `whole` says which side takes the text.
std::pair<QString, QString> split(const QString& text, bool wholeIsFirst) {
    const qsizetype slash = text.indexOf(u'/');
    if (slash < 0)
        return wholeIsFirst ? std::pair{text, QString()} : std::pair{QString(), text};
    return {text.left(slash), text.mid(slash + 1)};
}

} // namespace

QString codeIn(const QString& placeText) {
    const qsizetype open = placeText.indexOf(u'[');
    const qsizetype start = open < 0 ? 0 : open + 1;
    const qsizetype close = placeText.indexOf(u']', start);
    return close < 0 ? QString() : placeText.mid(start, close - start);
}

Parcel parcel(const ParsedPage& page) {
    Parcel p;
    QString number;
    QString territory;
    walk(page,
         {{QStringLiteral("Parcelní číslo:"), {1, [&](const QString& t) { number = t; }}},
          {QStringLiteral("Katastrální území:"), {1, [&](const QString& t) { territory = t; }}},
          {QStringLiteral("Typ parcely:"),
           {1,
            [&](const QString& t) {
                if (t == QStringLiteral("Parcela zjednodušené evidence"))
                    p.typ_parcely = QStringLiteral("PZE");
            }}},
          {QStringLiteral("Zdroj parcely ZE:"),
           {1, [&](const QString& t) {
                static const std::map<QString, QString> sources = {
                    {QStringLiteral("Evidence nemovitostí"), QStringLiteral("3")},
                    {QStringLiteral("Pozemkový katastr"), QStringLiteral("4")},
                    {QStringLiteral("Přídělový plán nebo jiný podklad"), QStringLiteral("6")}};
                if (const auto s = sources.find(t); s != sources.end())
                    p.puvod_parcely = s->second;
            }}}});
    std::tie(p.cislo_1, p.cislo_2) = split(number, true);
    if (number.contains(QLatin1String("st. "))) {
        p.druh_cislovani = QStringLiteral("1");
        p.cislo_1 = p.cislo_1.mid(4);
    } else {
        p.druh_cislovani = QStringLiteral("2");
    }
    p.uzemi = codeIn(territory);
    return p;
}

Building building(const ParsedPage& page) {
    Building b;
    QString number;
    QString municipality;
    QString part;
    QString type;
    walk(page, {{QStringLiteral("Stavba:"), {2, [&](const QString& t) { number = t; }}},
                {QStringLiteral("Obec:"), {1, [&](const QString& t) { municipality = t; }}},
                {QStringLiteral("Část obce:"), {1, [&](const QString& t) { part = t; }}},
                {QStringLiteral("Typ stavby:"), {1, [&](const QString& t) { type = t; }}}});
    if (number.contains(QStringLiteral("č. p. ")))
        number = number.mid(6);
    // A building with a registration number reads "č. ev. 15" (also "č. e. 15").
    for (const QString& prefix : {QStringLiteral("č. ev. "), QStringLiteral("č. e. ")})
        if (number.startsWith(prefix))
            number = number.mid(prefix.size());
    b.cislo_stavby = number;
    b.obec = codeIn(municipality);
    b.cast_obce = codeIn(part);
    b.typ_stavby = type == QStringLiteral("Budova s číslem evidenčním") ? QStringLiteral("2")
                                                                        : QStringLiteral("1");
    return b;
}

Unit unit(const ParsedPage& page) {
    QString number;
    walk(page, {{QStringLiteral("Číslo jednotky"), {2, [&](const QString& t) { number = t; }}}});
    Unit u;
    std::tie(u.cislo_stavby, u.cislo_jednotky) = split(number, false);
    return u;
}

Fields read(RecordKind kind, const ParsedPage& page) {
    // Each kind's page names its object its own way.
    switch (kind) {
    case RecordKind::Parcel:
        return parcel(page).fields();
    case RecordKind::Building:
        return building(page).fields();
    case RecordKind::Unit:
        return unit(page).fields();
    }
    return {};
}

Fields Parcel::fields() const {
    return {{QStringLiteral("uzemi"), uzemi},
            {QStringLiteral("typ_parcely"), typ_parcely},
            {QStringLiteral("puvod_parcely"), puvod_parcely},
            {QStringLiteral("cislo_1"), cislo_1},
            {QStringLiteral("cislo_2"), cislo_2},
            {QStringLiteral("druh_cislovani"), druh_cislovani}};
}

Fields Building::fields() const {
    return {{QStringLiteral("obec"), obec},
            {QStringLiteral("cast_obce"), cast_obce},
            {QStringLiteral("typ_stavby"), typ_stavby},
            {QStringLiteral("cislo_stavby"), cislo_stavby}};
}

Fields Unit::fields() const {
    return {{QStringLiteral("cislo_stavby"), cislo_stavby},
            {QStringLiteral("cislo_jednotky"), cislo_jednotky}};
}

} // namespace veritam::PageIdentity
