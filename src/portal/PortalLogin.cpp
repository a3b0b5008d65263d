#include "portal/PortalLogin.h"

#include "platform/UserMessages.h"
#include "portal/DomRoutines.h"
#include "portal/PortalAddresses.h"
#include "portal/PortalBrowser.h"
#include "portal/PortalCredentials.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace veritam {

void Vloz_Udaj(const QString& value, const QString& inputName, const QString& formName,
               PortalBrowser& browser) {
    const QString args = QString::fromUtf8(
        QJsonDocument(QJsonArray{value, inputName, formName}).toJson(QJsonDocument::Compact));
    browser.runScript(QStringLiteral("(function (a) { var f = document.forms.namedItem(a[2]);"
                                     " var c = f && f.elements.namedItem(a[1]);"
                                     " if (c && 'value' in c) c.value = a[0]; })(%1)")
                          .arg(args));
}

void PortalLogin(PortalBrowser& browser, const QString& dataFolder) {
    const PortalCredentials::Account account = PortalCredentials::read(dataFolder);
    if (account.name.isEmpty() || account.password.isEmpty()) {
        browser.messages().showMessage(
            QStringLiteral("Zadejte přihlašovací údaje k Vašemu účtu na ") +
            PortalAddresses::domain() +
            QStringLiteral(
                ". Bez těchto údajů program nefunguje.\r\nÚdaje zadáte v okně \"O programu\""));
        return;
    }
    browser.PageLoaded = false;
    browser.Navigate(PortalAddresses::loginPage());
    browser.WaitForPage();
    if (DomRoutines::ClickElementById(browser, QStringLiteral("dpSubmitBtn")))
        browser.WaitForPage();
    Vloz_Udaj(account.name, QStringLiteral("PAR_LoginUsername"), QStringLiteral("Form"), browser);
    Vloz_Udaj(account.password, QStringLiteral("PAR_LoginPassword"), QStringLiteral("Form"),
              browser);
    if (DomRoutines::ClickElementById(browser, QStringLiteral("buttonLogIn")))
        browser.WaitForPage();
}

} // namespace veritam
