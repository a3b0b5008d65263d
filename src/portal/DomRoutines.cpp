#include "portal/DomRoutines.h"

#include "platform/UserMessages.h"
#include "portal/PortalBrowser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineView>

namespace veritam::DomRoutines {

namespace {

// Helpers every routine may use; `args` holds the routine's arguments.
const char* const kLibrary = R"JS(
function doc() {
    var d = document;
    if (!d || !(d instanceof HTMLDocument) || !d.documentElement)
        throw new Error('Invalid HTML document');
    return d;
}
function findById(id) {
    var d = doc();
    if (!d.body) throw new Error("Can't find <body> element");
    var want = id.toLocaleLowerCase();
    var all = d.body.getElementsByTagName('*');
    for (var i = 0; i < all.length; i++)
        if ((all[i].id || '').toLocaleLowerCase() === want) return all[i];
    return null;
}
function firstUnderBody(test) {
    var all = doc().body.getElementsByTagName('*');
    for (var i = 0; i < all.length; i++)
        if (test(all[i])) return all[i];
    return null;
}
function controlOf(form, key) {
    return form ? form.elements.namedItem(key) : null;
}
function setValue(control, value) {
    if (!control || !control.tagName) return;
    var tag = control.tagName;
    if (tag === 'INPUT' || tag === 'SELECT' || tag === 'TEXTAREA') control.value = value;
}
)JS";

/// Runs `body` with `args` and returns its value; an exception of the page's becomes
/// a PortalError.
QVariant call(PortalBrowser& browser, const char* body, const QJsonArray& args = {}) {
    const QString script =
        QStringLiteral("(function (args) {\n%1\ntry {\n%2\n} catch (e) {\n"
                       "return {error: String((e && e.message) || e)};\n}\n})(%3)")
            .arg(QString::fromLatin1(kLibrary), QString::fromUtf8(body),
                 QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact)));
    const QVariant result = browser.runScript(script);
    const QVariantMap map = result.toMap();
    if (map.contains(QStringLiteral("error")))
        throw PortalError(map.value(QStringLiteral("error")).toString());
    return map.value(QStringLiteral("value"));
}

} // namespace

QString DocumentMarkup(PortalBrowser& browser) {
    const QUrl url = browser.view().url();
    if (url.isEmpty() || url.toString() == QLatin1String("about:blank"))
        return {};
    const QString markup = call(browser, R"JS(
        var d = document;
        if (!d || !(d instanceof HTMLDocument) || !d.documentElement) return {value: null};
        return {value: d.documentElement.innerHTML};)JS")
                               .toString();
    return markup.isNull() ? QString() : markup + QStringLiteral("\r\n");
}

bool FindElementById(PortalBrowser& browser, const QString& id) {
    return call(browser, "return {value: findById(args[0]) !== null};", {id}).toBool();
}

bool ElementExists(PortalBrowser& browser, const QString& id) {
    try {
        return call(browser, "return {value: doc().getElementById(args[0]) !== null};", {id})
            .toBool();
    } catch (const PortalError&) {
        browser.messages().showMessage(QStringLiteral("chyba"));
        return false;
    }
}

bool ClickElementById(PortalBrowser& browser, const QString& id) {
    return call(browser, R"JS(
        var e = findById(args[0]);
        if (!e) return {value: false};
        e.click();
        return {value: true};)JS",
                {id})
        .toBool();
}

void SetControlValue(PortalBrowser& browser, int formIndex, const QString& key,
                     const QString& value) {
    call(browser, "setValue(controlOf(doc().forms[args[0]], args[1]), args[2]); return {};",
         {formIndex, key, value});
}

void EnableSelectList(PortalBrowser& browser, const QString& key) {
    call(browser, R"JS(
        var c = controlOf(doc().forms[0], args[0]);
        if (!c) return {};
        if (c.tagName !== 'SELECT') throw new Error('Control ' + args[0] + ' is not a select list');
        c.disabled = false;
        return {};)JS",
         {key});
}

void FillAndClick(PortalBrowser& browser, const QString& value, const QString& key, bool submit,
                  bool click, const QString& clickKey) {
    call(browser, R"JS(
        var forms = doc().forms;
        for (var n = 0; n <= 10; n++) {
            var form = forms[n];
            if (!form) return {};
            if (!controlOf(form, args[1])) continue;
            setValue(controlOf(form, args[1]), args[0]);
            if (args[3]) {
                var target = controlOf(form, args[4]);
                if (!target || !target.click) throw new Error('Control ' + args[4] + ' not found');
                target.click();
            }
            if (args[2]) form.submit();
            return {};
        }
        return {};)JS",
         {value, key, submit, click, clickKey});
}

void TidyPortalPage(PortalBrowser& browser) {
    call(browser, R"JS(
        var e = findById('button-tab-panel-0');
        if (e) e.style.display = 'block';
        e = findById('header-box');
        if (e) e.style.display = 'none';
        e = findById('loaderMapa');
        if (e) e.style.display = 'none';
        e = firstUnderBody(function (x) { return x.tagName === 'NOSCRIPT'; });
        if (e) e.outerHTML = '';
        e = firstUnderBody(function (x) {
            return x.tagName === 'DIV' && x.getAttribute('class') === 'accord-panel';
        });
        if (e) e.className = '';
        return {};)JS");
}

} // namespace veritam::DomRoutines
