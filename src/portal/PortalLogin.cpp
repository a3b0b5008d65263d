#include "portal/PortalLogin.h"

#include "analysis/PageRecognition.h"
#include "platform/UserMessages.h"
#include "portal/DomRoutines.h"
#include "portal/PortalBrowser.h"
#include "portal/PortalCredentials.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineView>

namespace veritam {

namespace {

QString jsonArguments(const QJsonArray& arguments) {
    return QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact));
}

/// Where the named form would send its inputs.
QUrl formAction(PortalBrowser& browser, const QString& formName) {
    return QUrl(
        browser
            .runScript(QStringLiteral("(function (a) { var f = document.forms.namedItem(a[0]);"
                                      " return f ? f.action : ''; })(%1)")
                           .arg(jsonArguments({formName})))
            .toString());
}

} // namespace

void Vloz_Udaj(const QString& value, const QString& inputName, const QString& formName,
               PortalBrowser& browser) {
    browser.runScript(QStringLiteral("(function (a) { var f = document.forms.namedItem(a[2]);"
                                     " var c = f && f.elements.namedItem(a[1]);"
                                     " if (c && 'value' in c) c.value = a[0]; })(%1)")
                          .arg(jsonArguments({value, inputName, formName})));
}

LoginOutcome PortalLogin(PortalBrowser& browser, const QString& dataFolder) {
    const PortalSettings& portal = browser.settings();
    const PortalCredentials::Account account = PortalCredentials::read(dataFolder);
    if (account.name.isEmpty() || account.password.isEmpty()) {
        browser.messages().showMessage(
            QStringLiteral("Zadejte přihlašovací údaje k Vašemu účtu na ") + portal.domain() +
            QStringLiteral(
                ". Bez těchto údajů program nefunguje.\r\nÚdaje zadáte v okně \"O programu\""));
        return LoginOutcome::NoCredentials;
    }
    browser.PageLoaded = false;
    browser.Navigate(portal.loginPage());
    browser.WaitForPage();
    if (DomRoutines::ClickElementById(browser, QStringLiteral("dpSubmitBtn")))
        browser.WaitForPage();

    // The credentials go into the login host's own form and to the portal alone; a page
    // that a redirect brought from elsewhere gets nothing.
    const QUrl page = browser.view().url();
    const QUrl action = formAction(browser, QStringLiteral("Form"));
    if (!portal.isLoginHost(page) || (!action.isEmpty() && !portal.isPortal(action)))
        throw PortalError(QStringLiteral("Přihlašovací stránka není stránkou portálu (%1); "
                                         "přihlašovací údaje nebyly odeslány.")
                              .arg((portal.isLoginHost(page) ? action : page).toDisplayString()),
                          PortalError::Cause::Refused);
    if (recognisePage(DomRoutines::DocumentMarkup(browser)) != PageKind::LoggedOut)
        throw PortalError(QStringLiteral("Portál nenabídl přihlašovací formulář (stránka %1).")
                              .arg(page.toDisplayString()),
                          PortalError::Cause::Refused);

    Vloz_Udaj(account.name, QStringLiteral("PAR_LoginUsername"), QStringLiteral("Form"), browser);
    Vloz_Udaj(account.password, QStringLiteral("PAR_LoginPassword"), QStringLiteral("Form"),
              browser);
    if (DomRoutines::ClickElementById(browser, QStringLiteral("buttonLogIn")))
        browser.WaitForPage();
    // The login form again: the portal did not take the credentials.
    return recognisePage(DomRoutines::DocumentMarkup(browser)) == PageKind::LoggedOut
               ? LoginOutcome::Refused
               : LoginOutcome::LoggedIn;
}

} // namespace veritam
