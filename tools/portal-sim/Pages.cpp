#include "Pages.h"

#include <QDateTime>
#include <QUuid>

namespace portalsim::Pages {

namespace {

const QString kId = QStringLiteral("ctl00_bodyPlaceHolder_");
const QString kName = QStringLiteral("ctl00$bodyPlaceHolder$");

/// The viewer's login area in the header: the logout link for a logged-in visitor, the
/// login link for one without a login, as the real portal marks them.
QString loginArea(const QString& user) {
    if (user.isEmpty())
        return QStringLiteral("<div id=\"header_right\"><a id=\"ctl00_loginView_linkLogin\" "
                              "href=\"/Prihlaseni?t=%1\">Přihlásit</a></div>")
            .arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    return QStringLiteral("<div id=\"header_right\">%1 <a id=\"ctl00_loginView_linkLogout\" "
                          "href=\"/Odhlaseni?t=%2\">Odhlásit</a></div>")
        .arg(escape(user), QUuid::createUuid().toString(QUuid::WithoutBraces));
}

/// The portal's frame: header, loader and tab panels that its scripts would adjust, and
/// noise that changes on every request. `header` is the viewer's login area; the login
/// host has none.
QString frame(const QString& title, const QString& content, const QString& header = {}) {
    const QString now =
        QDateTime::currentDateTime().toString(QStringLiteral("d.M.yyyy H:mm:ss.zzz"));
    const QString token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"cs\"><head><meta charset=\"utf-8\">"
               "<title>%1 - Nahlížení do katastru nemovitostí</title>"
               "<link rel=\"stylesheet\" href=\"/styl.css\"></head>\n<body>\n"
               "<div id=\"header-box\"><a href=\"/\">Nahlížení do katastru nemovitostí</a>"
               "<span class=\"cas\">Stav ke dni %2</span>%5</div>\n"
               "<noscript><p>Pro plnou funkčnost zapněte JavaScript.</p></noscript>\n"
               "<div id=\"loaderMapa\">Načítám mapu…</div>\n"
               "<div id=\"button-tab-panel-0\" style=\"display:none\">Záložky</div>\n"
               "<div class=\"accord-panel\">\n%3\n</div>\n"
               "<p class=\"paticka\">Vygenerováno %2, požadavek %4</p>\n"
               "<script>document.getElementById('loaderMapa').style.display='none';</script>\n"
               "</body></html>\n")
        .arg(escape(title), now, content, token, header);
}

QString form(const QString& action, const QString& controls) {
    const QString token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return QStringLiteral("<form method=\"post\" action=\"%1\" id=\"aspnetForm\">"
                          "<input type=\"hidden\" name=\"__VIEWSTATE\" value=\"%2\">\n%3\n</form>")
        .arg(action, token, controls);
}

QString input(const QString& name, const QString& type = QStringLiteral("text"),
              const QString& value = {}) {
    // ASP.NET names nested controls with "$" and gives them ids with "_".
    return QStringLiteral("<input type=\"%1\" id=\"%2\" name=\"%3\" value=\"%4\">")
        .arg(type, kId + QString(name).replace(u'$', u'_'), kName + name, escape(value));
}

QString submit(const QString& name, const QString& caption) {
    return input(name, QStringLiteral("submit"), caption);
}

QString notice(const QString& message) {
    return message.isEmpty() ? QString()
                             : QStringLiteral("<p class=\"chyba\">%1</p>").arg(escape(message));
}

/// A radio-button list as ASP.NET renders it: a table around the options.
QString radioList(const QString& name, const QStringList& values, const QStringList& captions,
                  int checked) {
    QString rows;
    for (int i = 0; i < values.size(); ++i)
        rows += QStringLiteral("<tr><td><input type=\"radio\" id=\"%1%2_%3\" name=\"%4%2\" "
                               "value=\"%5\"%6><label for=\"%1%2_%3\">%7</label></td></tr>")
                    .arg(kId, name)
                    .arg(i)
                    .arg(kName, values[i], i == checked ? QStringLiteral(" checked") : QString(),
                         captions[i]);
    return QStringLiteral("<table id=\"%1%2\">%3</table>").arg(kId, name, rows);
}

QString select(const QString& name, const std::vector<Place>& options, bool disabled = false) {
    QString items;
    for (const Place& p : options)
        items += QStringLiteral("<option value=\"%1\">%2</option>").arg(p.code).arg(escape(p.name));
    return QStringLiteral("<select id=\"%1%2\" name=\"%3%2\"%4>%5</select>")
        .arg(kId, name, kName, disabled ? QStringLiteral(" disabled=\"disabled\"") : QString(),
             items);
}

QString label(const QString& text, const QString& value) {
    return QStringLiteral("<tr><td class=\"nazev\">\n      %1\n    </td><td>%2</td></tr>\n")
        .arg(escape(text), escape(value));
}

/// A label whose value the portal wraps in a further element, so it lies two on.
QString labelWrapped(const QString& text, const QString& value) {
    return QStringLiteral(
               "<tr><td class=\"nazev\">\n      %1\n    </td><td><strong>%2</strong></td></tr>\n")
        .arg(escape(text), escape(value));
}

/// What the portal adds to a search form for visitors without a login.
QString codeFromPicture() {
    return QStringLiteral("<p>Pro zobrazení údajů opište kód z obrázku: "
                          "<img id=\"captchaImage\" src=\"/captcha.png\" alt=\"kód\"> ") +
           input(QStringLiteral("txtCaptcha")) + QStringLiteral("</p>\n");
}

QString section(const QString& heading, const Rows& rows, const QString& none) {
    QString body;
    if (rows.empty()) {
        body = QStringLiteral("<p>%1</p>").arg(escape(none));
    } else {
        QString trs;
        for (const QStringList& cells : rows) {
            QString tds;
            for (const QString& cell : cells)
                tds += QStringLiteral("<td>%1</td>").arg(escape(cell));
            trs += QStringLiteral("<tr>%1</tr>").arg(tds);
        }
        body = QStringLiteral("<table class=\"zarovnat\"><tbody>%1</tbody></table>").arg(trs);
    }
    return QStringLiteral("<h2>\n  %1\n</h2>\n%2\n").arg(escape(heading), body);
}

QString placeText(const QString& name, qint64 code) {
    return QStringLiteral("%1 [%2]").arg(name).arg(code);
}

} // namespace

QString escape(const QString& text) {
    return text.toHtmlEscaped();
}

QString loginStep() {
    return frame(QStringLiteral("Přihlášení"),
                 QStringLiteral("<h1>Přihlášení do aplikace</h1><form method=\"post\" "
                                "action=\"/login.do?typPrihlaseni=NAHLIZENI&amp;krok=2\">"
                                "<input type=\"submit\" id=\"dpSubmitBtn\" name=\"dp\" "
                                "value=\"Přihlásit jménem a heslem\"></form>"));
}

QString loginForm(const QString& message, const QString& action) {
    return frame(
        QStringLiteral("Přihlášení"),
        QStringLiteral("<h1>Přihlášení jménem a heslem</h1>%1"
                       "<form name=\"Form\" method=\"post\" action=\"%2\">"
                       "<input type=\"text\" name=\"PAR_LoginUsername\" value=\"\">"
                       "<input type=\"password\" name=\"PAR_LoginPassword\" value=\"\">"
                       "<input type=\"submit\" id=\"buttonLogIn\" value=\"Přihlásit\">"
                       "</form>")
            .arg(notice(message),
                 action.isEmpty()
                     ? QStringLiteral("/login.do?typPrihlaseni=NAHLIZENI&amp;krok=prihlasit")
                     : escape(action)));
}

QString viewerHome(const QString& user) {
    return frame(QStringLiteral("Úvod"),
                 QStringLiteral("<h1>Nahlížení do katastru nemovitostí</h1><p>%1</p>")
                     .arg(user.isEmpty() ? QStringLiteral("Nepřihlášený uživatel")
                                         : QStringLiteral("Přihlášen: ") + escape(user)),
                 loginArea(user));
}

QString parcelSearch(const QString& user, const Place* territory, const QString& message,
                     bool code) {
    const QString action = QStringLiteral("/VyberParcelu/Parcela/InformaceO");
    QString controls;
    if (!territory) {
        controls =
            QStringLiteral("<p>Katastrální území: %1 %2</p>")
                .arg(input(QStringLiteral("vyberObecKU$vyberKU$txtKU")),
                     submit(QStringLiteral("vyberObecKU$vyberKU$btnKU"), QStringLiteral("Vybrat")));
    } else {
        controls =
            QStringLiteral("<p>Katastrální území: <strong>%1</strong> %2</p>\n")
                .arg(escape(placeText(territory->name, territory->code)),
                     submit(QStringLiteral("vyberObecKU$vyberKU$btnZmenKU"),
                            QStringLiteral("Změnit"))) +
            QStringLiteral("<p>Typ parcely: %1</p>\n")
                .arg(radioList(QStringLiteral("typParcely"),
                               {QStringLiteral("KN"), QStringLiteral("ZE")},
                               {QStringLiteral("Parcela KN"), QStringLiteral("Parcela ZE")}, 0)) +
            QStringLiteral("<p>Zdroj parcely ZE: %1</p>\n")
                .arg(select(QStringLiteral("zdrojZE"),
                            {{3, QStringLiteral("Evidence nemovitostí")},
                             {4, QStringLiteral("Pozemkový katastr")},
                             {6, QStringLiteral("Přídělový plán nebo jiný podklad")}},
                            true)) +
            QStringLiteral("<p>Druh číslování: %1</p>\n")
                .arg(radioList(
                    QStringLiteral("druhCislovani"), {QStringLiteral("1"), QStringLiteral("2")},
                    {QStringLiteral("stavební parcela"), QStringLiteral("pozemková parcela")}, 1)) +
            QStringLiteral("<p>Parcelní číslo: %1 / %2</p>\n")
                .arg(input(QStringLiteral("txtParcis")), input(QStringLiteral("txtParpod"))) +
            (code ? codeFromPicture() : QString()) +
            QStringLiteral("<p>%1</p>")
                .arg(submit(QStringLiteral("btnVyhledat"), QStringLiteral("Vyhledat")));
    }
    return frame(QStringLiteral("Vyhledání parcely"),
                 QStringLiteral("<h1>Informace o parcele</h1>%1%2")
                     .arg(notice(message), form(action, controls)),
                 loginArea(user));
}

QString buildingSearch(const QString& user, bool unit, const Municipality* municipality,
                       const QString& message, bool code) {
    const QString action = unit ? QStringLiteral("/VyberBudovu/Jednotka/InformaceO")
                                : QStringLiteral("/VyberBudovu/Stavba/InformaceO");
    QString controls;
    if (!municipality) {
        controls = QStringLiteral("<p>Obec: %1 %2</p>")
                       .arg(input(QStringLiteral("vyberObec$txtObec")),
                            submit(QStringLiteral("vyberObec$btnObec"), QStringLiteral("Vybrat")));
    } else {
        controls =
            QStringLiteral("<p>Obec: <strong>%1</strong> %2</p>\n")
                .arg(escape(placeText(municipality->name, municipality->code)),
                     submit(QStringLiteral("vyberObec$btnZmenObec"), QStringLiteral("Změnit")));
        if (municipality->partList)
            controls += QStringLiteral("<p>Část obce: %1</p>\n")
                            .arg(select(QStringLiteral("listCastObce"), municipality->parts));
        controls += QStringLiteral("<p>Typ budovy: %1</p>\n<p>Číslo budovy: %2</p>\n")
                        .arg(select(QStringLiteral("listTypBudovy"),
                                    {{1, QStringLiteral("č. p.")}, {2, QStringLiteral("č. ev.")}}),
                             input(QStringLiteral("txtBudova")));
        if (unit)
            controls += QStringLiteral("<p>Číslo jednotky: %1</p>\n")
                            .arg(input(QStringLiteral("txtJednotka")));
        if (code)
            controls += codeFromPicture();
        controls += QStringLiteral("<p>%1</p>")
                        .arg(submit(QStringLiteral("btnVyhledat"), QStringLiteral("Vyhledat")));
    }
    return frame(unit ? QStringLiteral("Vyhledání jednotky") : QStringLiteral("Vyhledání stavby"),
                 QStringLiteral("<h1>%1</h1>%2%3")
                     .arg(unit ? QStringLiteral("Informace o jednotce")
                               : QStringLiteral("Informace o stavbě"),
                          notice(message), form(action, controls)),
                 loginArea(user));
}

QString information(const QString& user, const Object& o, const PortalState& state, Shown shown) {
    QString labels;
    QString heading;
    if (o.kind == QLatin1String("parcel")) {
        heading = QStringLiteral("Informace o pozemku");
        const Place* t = state.territory(QString::number(o.territory));
        QString number = o.number + (o.subdivision.isEmpty() ? QString() : u'/' + o.subdivision);
        if (o.numbering == 1)
            number = QStringLiteral("st. ") + number;
        labels += label(QStringLiteral("Parcelní číslo:"), number);
        labels += label(QStringLiteral("Katastrální území:"),
                        placeText(t ? t->name : QStringLiteral("?"), o.territory));
        labels += labelWrapped(QStringLiteral("Výměra [m2]:"), o.area);
        labels +=
            label(QStringLiteral("Typ parcely:"),
                  o.type == QLatin1String("PZE") ? QStringLiteral("Parcela zjednodušené evidence")
                                                 : QStringLiteral("Parcela katastru nemovitostí"));
        if (o.type == QLatin1String("PZE"))
            labels += label(QStringLiteral("Zdroj parcely ZE:"),
                            o.source == QLatin1String("3") ? QStringLiteral("Evidence nemovitostí")
                            : o.source == QLatin1String("6")
                                ? QStringLiteral("Přídělový plán nebo jiný podklad")
                                : QStringLiteral("Pozemkový katastr"));
    } else {
        heading = o.kind == QLatin1String("unit") ? QStringLiteral("Informace o jednotce")
                                                  : QStringLiteral("Informace o stavbě");
        const Municipality* m = state.municipality(QString::number(o.municipality));
        QString part = QStringLiteral("?");
        if (m)
            for (const Place& p : m->parts)
                if (p.code == o.part)
                    part = p.name;
        const QString prefix =
            o.buildingType == 2 ? QStringLiteral("č. e. ") : QStringLiteral("č. p. ");
        if (o.kind == QLatin1String("unit")) {
            labels += labelWrapped(QStringLiteral("Číslo jednotky"), o.building + u'/' + o.unit);
            labels += labelWrapped(QStringLiteral("Podíl na společných částech domu a pozemku:"),
                                   o.share);
        } else {
            labels += labelWrapped(QStringLiteral("Stavba:"), prefix + o.building);
            labels += label(QStringLiteral("Obec:"),
                            placeText(m ? m->name : QStringLiteral("?"), o.municipality));
            labels += label(QStringLiteral("Část obce:"), placeText(part, o.part));
            labels += label(QStringLiteral("Typ stavby:"),
                            o.buildingType == 2 ? QStringLiteral("Budova s číslem evidenčním")
                                                : QStringLiteral("Budova s číslem popisným"));
        }
    }
    QString pending;
    for (const QString& number : o.proceedings) // each with a link that lasts one page
        pending += QStringLiteral("%1<a href=\"/Rizeni?t=%2\">%3</a>")
                       .arg(pending.isEmpty() ? QString() : QStringLiteral(", "),
                            QUuid::createUuid().toString(QUuid::WithoutBraces), escape(number));
    QString content =
        QStringLiteral("<h1>%1</h1>\n<table class=\"atributy\"><tbody>\n%2</tbody></table>\n")
            .arg(heading, labels) +
        (pending.isEmpty()
             ? QString()
             : QStringLiteral("<p class=\"plomba\">Objekt je dotčen změnou právního vztahu: "
                              "%1</p>\n")
                   .arg(pending));
    if (shown != Shown::NoSections)
        content += (shown == Shown::All ? section(QStringLiteral("Vlastníci, jiní oprávnění"),
                                                  o.owners, QStringLiteral("Bez zápisu."))
                                        : QString()) +
                   section(QStringLiteral("Způsob ochrany nemovitosti"), o.protection,
                           QStringLiteral("Není evidován žádný způsob ochrany.")) +
                   section(QStringLiteral("Omezení vlastnického práva"), o.restrictions,
                           QStringLiteral("Nejsou evidována žádná omezení.")) +
                   section(QStringLiteral("Jiné zápisy"), o.other,
                           QStringLiteral("Nejsou evidovány žádné jiné zápisy."));
    content +=
        QStringLiteral(
            "<p class=\"platnost\">Zobrazené údaje mají informativní charakter. Platnost k %1</p>")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("d.M.yyyy H:mm:ss.zzz")));
    return frame(heading, content, loginArea(user));
}

QString protection(const QString& user) {
    return frame(QStringLiteral("Omezení přístupu"),
                 QStringLiteral("<h1>Omezení přístupu</h1><p>Z Vaší adresy přišlo příliš mnoho "
                                "dotazů. Přístup je dočasně omezen.</p>"),
                 loginArea(user));
}

QString notFound() {
    return frame(QStringLiteral("Informace"),
                 QStringLiteral("<h1>Informace</h1><p>Údaje nejsou k dispozici.</p>"));
}

} // namespace portalsim::Pages
