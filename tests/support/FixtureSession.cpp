#include "FixtureSession.h"

#include "store/WatchedRecord.h"

namespace veritam::test {

QString loggedInHeader() {
    return QStringLiteral(
        "<div id=\"header_right\"><a id=\"ctl00_loginView_linkLogout\">Odhlásit</a></div>");
}

QString loggedOutHeader() {
    return QStringLiteral(
        "<div id=\"header_right\"><a id=\"ctl00_loginView_linkLogin\">Přihlásit</a></div>");
}

QString informationPage(const QString& owner, const QString& proceedings) {
    return QStringLiteral("<html><head><title>Informace o pozemku</title></head><body>%3"
                          "<h1>Informace o pozemku</h1>"
                          "<table><tr><td class=\"nazev\">Výměra [m2]:</td><td><b>120</b></td></tr>"
                          "</table>%2<h2>Vlastníci, jiní oprávnění</h2><table><tr><td>%1</td></tr>"
                          "</table><h2>Jiné zápisy</h2><p>Bez zápisu.</p></body></html>\r\n")
        .arg(owner,
             proceedings.isEmpty()
                 ? QString()
                 : QStringLiteral("<p class=\"plomba\">Objekt je dotčen změnou právního "
                                  "vztahu: <a href=\"/R?t=1\">%1</a></p>")
                       .arg(proceedings),
             loggedInHeader());
}

QString notFoundPage() {
    return QStringLiteral("<html><body>%1<p class=\"chyba\">Nenalezeno.</p><form><input "
                          "type=\"submit\" id=\"ctl00_bodyPlaceHolder_btnVyhledat\"></form>"
                          "</body></html>\r\n")
        .arg(loggedInHeader());
}

LoginOutcome FixtureSession::login() {
    ++logins;
    LoginOutcome outcome = LoginOutcome::LoggedIn;
    if (!loginOutcomes.empty()) {
        outcome = loginOutcomes.front();
        loginOutcomes.pop_front();
    }
    m_loggedIn = outcome == LoginOutcome::LoggedIn;
    return outcome;
}

QString FixtureSession::numberOf(const WatchedRecord& record) {
    switch (record.kind) {
    case RecordKind::Parcel:
        return record.value(QStringLiteral("cislo_1"));
    case RecordKind::Building:
        return record.value(QStringLiteral("cislo_stavby"));
    case RecordKind::Unit:
        break;
    }
    return record.value(QStringLiteral("cislo_stavby")) + u'/' +
           record.value(QStringLiteral("cislo_jednotky"));
}

PortalPage FixtureSession::lookup(const WatchedRecord& record) {
    const QString number = numberOf(record);
    looked.append(number);
    if (onLookup)
        onLookup(number);
    const auto queue = pages.find(number);
    if (queue == pages.end() || queue->second.empty())
        throw PortalError(QStringLiteral("no fixture for %1").arg(number));
    const QString markup = queue->second.front();
    if (queue->second.size() > 1)
        queue->second.pop_front();
    return PortalPage::read(markup, QStringLiteral("http://portal.test/") + number);
}

} // namespace veritam::test
