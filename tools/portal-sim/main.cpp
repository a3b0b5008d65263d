// veritam-portal-sim: plays the cadastre portal's login and viewer hosts on one loopback
// port, told apart by the Host header. Objects come from a JSON state file that is read
// anew on every request; every request is logged as one JSON line.
//
//   veritam-portal-sim --state FILE [--port N] [--log FILE] [--domain portal.test]
//                      [--until-stdin-closes]
//
// With --until-stdin-closes it ends when its standard input closes, so that it never
// outlives the test or script that started it, even one that crashed.
// The first line printed is "listening on PORT".
#include "Pages.h"
#include "PortalState.h"

#include <httplib.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

using namespace portalsim;

namespace {

struct Session {
    QString territory;    ///< code chosen on the parcel page
    QString municipality; ///< code chosen on the building and unit pages
};

struct Login {
    QString user;
    int pagesLeft; ///< viewer pages the login still lasts; negative: no end
};

struct Simulator {
    QString statePath;
    QString logPath;
    QString domain = QStringLiteral("portal.test");
    int port = 0;

    std::mutex mutex;
    std::map<QString, Session> sessions;
    std::map<QString, Login> logins; ///< by the token in the "prihlaseni" cookie

    QString viewerBase() const {
        return QStringLiteral("http://nahlizeni.%1:%2").arg(domain).arg(port);
    }

    void log(const httplib::Request& req) {
        QJsonObject params;
        for (const auto& [key, value] : req.params)
            params.insert(QString::fromStdString(key), QString::fromStdString(value));
        QJsonObject entry{
            {QStringLiteral("time"), QDateTime::currentMSecsSinceEpoch()},
            {QStringLiteral("method"), QString::fromStdString(req.method)},
            {QStringLiteral("host"), QString::fromStdString(req.get_header_value("Host"))},
            {QStringLiteral("path"), QString::fromStdString(req.path)},
            {QStringLiteral("params"), params}};
        const std::lock_guard lock(mutex);
        QFile file(logPath);
        if (!logPath.isEmpty() && file.open(QIODevice::Append))
            file.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n');
    }

    static QString param(const httplib::Request& req, const char* name) {
        return req.has_param(name) ? QString::fromStdString(req.get_param_value(name)) : QString();
    }

    static bool has(const httplib::Request& req, const QString& control) {
        return req.has_param(
            (QStringLiteral("ctl00$bodyPlaceHolder$") + control).toStdString().c_str());
    }

    static QString control(const httplib::Request& req, const QString& name) {
        const std::string key = (QStringLiteral("ctl00$bodyPlaceHolder$") + name).toStdString();
        return req.has_param(key.c_str()) ? QString::fromStdString(req.get_param_value(key.c_str()))
                                          : QString();
    }

    /// The value of the request's cookie `name`; empty without one.
    static QString cookie(const httplib::Request& req, const std::string& name) {
        const std::string cookies = req.get_header_value("Cookie");
        const auto at = cookies.find(name + '=');
        if (at == std::string::npos)
            return {};
        const auto start = at + name.size() + 1;
        return QString::fromStdString(cookies.substr(start, cookies.find(';', start) - start));
    }

    /// The session of the request; a new one gets its cookie.
    Session& session(const httplib::Request& req, httplib::Response& res) {
        QString id = cookie(req, "ASP.NET_SessionId");
        const std::lock_guard lock(mutex);
        if (id.isEmpty() || !sessions.count(id)) {
            id = QUuid::createUuid().toString(QUuid::WithoutBraces);
            res.set_header("Set-Cookie",
                           (QStringLiteral("ASP.NET_SessionId=") + id + QStringLiteral("; Path=/"))
                               .toStdString());
            sessions[id];
        }
        return sessions[id];
    }

    static void html(httplib::Response& res, const QString& page, int status = 200) {
        res.status = status;
        res.set_content(page.toStdString(), "text/html; charset=utf-8");
    }

    PortalState state() const { return PortalState::load(statePath); }

    // --- login host
    void loginPage(const httplib::Request& req, httplib::Response& res) {
        log(req);
        const QString step = param(req, "krok");
        if (step == QLatin1String("prihlasit")) {
            const QString user = param(req, "PAR_LoginUsername");
            const QString password = param(req, "PAR_LoginPassword");
            const PortalState st = state();
            if (user.isEmpty() || password.isEmpty() ||
                (!st.accountName.isEmpty() &&
                 (user != st.accountName || password != st.accountPassword)))
                return html(res, Pages::loginForm(QStringLiteral("Neplatné přihlašovací údaje.")));
            const QString token = QUuid::createUuid().toString(QUuid::Id128);
            {
                const std::lock_guard lock(mutex);
                logins[token] = {user, st.loginExpiresAfter > 0 ? st.loginExpiresAfter : -1};
            }
            res.set_header("Set-Cookie", QStringLiteral("prihlaseni=%1; Domain=%2; Path=/")
                                             .arg(token, domain)
                                             .toStdString());
            return res.set_redirect((viewerBase() + u'/').toStdString());
        }
        const PortalState st = state();
        const bool ownHost = req.get_header_value("Host").rfind(
                                 (QStringLiteral("login.") + domain + u':').toStdString(), 0) == 0;
        if (req.method == "GET" && ownHost && !st.loginRedirect.isEmpty())
            return res.set_redirect(st.loginRedirect.toStdString());
        if (req.method == "GET" && st.loginStep)
            return html(res, Pages::loginStep());
        html(res, Pages::loginForm({}, ownHost ? st.loginAction : QString()));
    }

    // --- viewer host
    /// The logged-in user of a viewer page, which uses up one page of the login; empty
    /// for a visitor without a login or with one that has expired.
    QString viewerUser(const httplib::Request& req) {
        const QString token = cookie(req, "prihlaseni");
        const std::lock_guard lock(mutex);
        const auto login = logins.find(token);
        if (login == logins.end() || login->second.pagesLeft == 0)
            return {};
        if (login->second.pagesLeft > 0)
            --login->second.pagesLeft;
        return login->second.user;
    }

    void home(const httplib::Request& req, httplib::Response& res) {
        log(req);
        html(res, Pages::viewerHome(viewerUser(req)));
    }

    void parcelSearch(const httplib::Request& req, httplib::Response& res) {
        log(req);
        const PortalState st = state();
        Session& s = session(req, res);
        const QString user = viewerUser(req);
        const bool visitor = user.isEmpty();
        QString message;
        if (req.method == "POST") {
            if (has(req, QStringLiteral("vyberObecKU$vyberKU$btnZmenKU"))) {
                s.territory.clear();
            } else if (has(req, QStringLiteral("vyberObecKU$vyberKU$btnKU"))) {
                const Place* t =
                    st.territory(control(req, QStringLiteral("vyberObecKU$vyberKU$txtKU")));
                if (t)
                    s.territory = QString::number(t->code);
                else
                    message = QStringLiteral("Katastrální území nebylo nalezeno.");
            } else if (has(req, QStringLiteral("btnVyhledat")) && visitor &&
                       st.visitors == QLatin1String("code")) {
                return html(res,
                            Pages::parcelSearch(user, st.territory(s.territory),
                                                QStringLiteral("Opište kód z obrázku."), true));
            } else if (has(req, QStringLiteral("btnVyhledat")) && !s.territory.isEmpty()) {
                const bool ze = control(req, QStringLiteral("typParcely")) == QLatin1String("ZE");
                for (const Object& o : st.objects) {
                    if (o.kind == QLatin1String("parcel") &&
                        QString::number(o.territory) == s.territory &&
                        (o.type == QLatin1String("PZE")) == ze &&
                        (!ze || control(req, QStringLiteral("zdrojZE")) == o.source) &&
                        control(req, QStringLiteral("druhCislovani")) ==
                            QString::number(o.numbering) &&
                        control(req, QStringLiteral("txtParcis")) == o.number &&
                        control(req, QStringLiteral("txtParpod")) == o.subdivision)
                        return res.set_redirect(
                            (QStringLiteral("/ZobrazObjekt?id=") + o.id).toStdString());
                }
                message = QStringLiteral("Zadaným parametrům neodpovídá žádná parcela.");
            }
        }
        html(res, Pages::parcelSearch(user, st.territory(s.territory), message));
    }

    void buildingSearch(const httplib::Request& req, httplib::Response& res, bool unit) {
        log(req);
        const PortalState st = state();
        Session& s = session(req, res);
        const QString user = viewerUser(req);
        const bool visitor = user.isEmpty();
        QString message;
        if (req.method == "POST") {
            if (has(req, QStringLiteral("vyberObec$btnZmenObec"))) {
                s.municipality.clear();
            } else if (has(req, QStringLiteral("vyberObec$btnObec"))) {
                const Municipality* m =
                    st.municipality(control(req, QStringLiteral("vyberObec$txtObec")));
                if (m)
                    s.municipality = QString::number(m->code);
                else
                    message = QStringLiteral("Obec nebyla nalezena.");
            } else if (has(req, QStringLiteral("btnVyhledat")) && visitor &&
                       st.visitors == QLatin1String("code")) {
                return html(res,
                            Pages::buildingSearch(user, unit, st.municipality(s.municipality),
                                                  QStringLiteral("Opište kód z obrázku."), true));
            } else if (has(req, QStringLiteral("btnVyhledat")) && !s.municipality.isEmpty()) {
                const QString kind = unit ? QStringLiteral("unit") : QStringLiteral("building");
                const bool partSent = has(req, QStringLiteral("listCastObce"));
                for (const Object& o : st.objects) {
                    if (o.kind == kind && QString::number(o.municipality) == s.municipality &&
                        (!partSent ||
                         control(req, QStringLiteral("listCastObce")) == QString::number(o.part)) &&
                        control(req, QStringLiteral("listTypBudovy")) ==
                            QString::number(o.buildingType) &&
                        control(req, QStringLiteral("txtBudova")) == o.building &&
                        (!unit || control(req, QStringLiteral("txtJednotka")) == o.unit))
                        return res.set_redirect(
                            (QStringLiteral("/ZobrazObjekt?id=") + o.id).toStdString());
                }
                message = QStringLiteral("Zadaným parametrům neodpovídá žádný objekt.");
            }
        }
        html(res, Pages::buildingSearch(user, unit, st.municipality(s.municipality), message));
    }

    void information(const httplib::Request& req, httplib::Response& res) {
        log(req);
        const PortalState st = state();
        const QString user = viewerUser(req);
        const bool visitor = user.isEmpty();
        const Object* o = st.object(param(req, "id"));
        if (!o)
            return html(res, Pages::notFound(), 404);
        const QString& fault = o->fault;
        if (fault == QLatin1String("http500"))
            return html(res, QStringLiteral("<html><body><h1>Chyba serveru</h1></body></html>"),
                        500);
        if (fault == QLatin1String("nosections"))
            return html(res, Pages::information(user, *o, st, Pages::Shown::NoSections));
        if (fault == QLatin1String("protection"))
            return html(res, Pages::protection(user));
        if (fault == QLatin1String("foreign")) // an address without the portal's domain
            return res.set_redirect(QStringLiteral("http://127.0.0.1:%1/cizi?dalsi=%2")
                                        .arg(port)
                                        .arg(o->id)
                                        .toStdString());
        if (fault == QLatin1String("hang") && param(req, "zpet").isEmpty()) {
            // Headers and the start of the page, then nothing until the browser gives up.
            res.set_chunked_content_provider(
                "text/html; charset=utf-8", [](size_t, httplib::DataSink& sink) {
                    const std::string start = "<!DOCTYPE html><html><body><p>Načítám";
                    sink.write(start.data(), start.size());
                    // A blank now and then finds out when the browser has given up, and
                    // frees the thread.
                    for (int i = 0; i < 3000 && sink.is_writable(); ++i) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(100));
                        if (!sink.write(" ", 1))
                            break;
                    }
                    return false;
                });
            return;
        }
        if (fault.startsWith(QLatin1String("delay:")))
            std::this_thread::sleep_for(std::chrono::milliseconds(fault.mid(6).toInt()));
        html(res, Pages::information(user, *o, st,
                                     visitor && st.visitors == QLatin1String("noowners")
                                         ? Pages::Shown::WithoutOwners
                                         : Pages::Shown::All));
    }

    void foreign(const httplib::Request& req, httplib::Response& res) {
        log(req);
        html(res, QStringLiteral("<!DOCTYPE html><html><body><p>Jiný web</p></body></html>"));
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    Simulator sim;
    const QStringList args = app.arguments();
    bool untilStdinCloses = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--until-stdin-closes")) {
            untilStdinCloses = true;
            continue;
        }
        if (i + 1 >= args.size())
            break;
        if (args[i] == QLatin1String("--state"))
            sim.statePath = args[i + 1];
        else if (args[i] == QLatin1String("--log"))
            sim.logPath = args[i + 1];
        else if (args[i] == QLatin1String("--domain"))
            sim.domain = args[i + 1];
        else if (args[i] == QLatin1String("--port"))
            sim.port = args[i + 1].toInt();
        ++i;
    }
    if (sim.statePath.isEmpty()) {
        std::fputs("usage: veritam-portal-sim --state FILE [--port N] [--log FILE] [--domain D]\n",
                   stderr);
        return 2;
    }

    httplib::Server server;
    // A browser keeps several connections per host open; a hanging page holds one more.
    server.new_task_queue = [] { return new httplib::ThreadPool(32); };
    // A browser keeps its connections; the default of five requests per connection makes
    // it reconnect all the time.
    server.set_keep_alive_max_count(1000);
    const auto isLogin = [](const httplib::Request& req) {
        return req.get_header_value("Host").rfind("login.", 0) == 0;
    };
    const auto route = [&](const httplib::Request& req, httplib::Response& res) {
        if (isLogin(req)) {
            if (req.path == "/login.do")
                return sim.loginPage(req, res);
            sim.log(req);
            return Simulator::html(res, Pages::notFound(), 404);
        }
        if (req.path == "/")
            return sim.home(req, res);
        if (req.path == "/VyberParcelu/Parcela/InformaceO")
            return sim.parcelSearch(req, res);
        if (req.path == "/VyberBudovu/Stavba/InformaceO")
            return sim.buildingSearch(req, res, false);
        if (req.path == "/VyberBudovu/Jednotka/InformaceO")
            return sim.buildingSearch(req, res, true);
        if (req.path == "/ZobrazObjekt")
            return sim.information(req, res);
        if (req.path == "/cizi")
            return sim.foreign(req, res);
        sim.log(req);
        Simulator::html(res, Pages::notFound(), 404);
    };
    server.Get(".*", route);
    server.Post(".*", route);

    if (sim.port == 0)
        sim.port = server.bind_to_any_port("127.0.0.1");
    else if (!server.bind_to_port("127.0.0.1", sim.port))
        sim.port = -1;
    if (sim.port < 0) {
        std::fputs("cannot listen\n", stderr);
        return 1;
    }
    std::printf("listening on %d\n", sim.port);
    std::fflush(stdout);
    if (untilStdinCloses) {
        std::thread([] {
            while (std::fgetc(stdin) != EOF) {
            }
            std::_Exit(0);
        }).detach();
    }
    server.listen_after_bind();
    return 0;
}
