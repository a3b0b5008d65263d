#include "settings/TNastaveni_Form.h"

#include "platform/UserMessages.h"
#include "portal/PortalCredentials.h"
#include "store/TDM1.h"

namespace veritam {

TNastaveni_Form::TNastaveni_Form(TDM1& dm, UserMessages& messages, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Nastaveni_Form"));
    setWindowTitle(QStringLiteral("Nastavení"));
    FormCreate(dm, messages);
}

void TNastaveni_Form::FormCreate(TDM1& dm, UserMessages& messages) {
    // Saving the account in "O programu" never touches the user row, so the reminder also
    // stops once the settings file holds a user name; otherwise it would never go away.
    const Dataset& users = dm.User_Query;
    if (users.isOpen() && users.currentRow() >= 0 &&
        users.text(QStringLiteral("login")) == QLatin1String("prihlasovaci_jmeno") &&
        PortalCredentials::read(dm.dataFolder()).name.isEmpty())
        messages.showMessage(
            QStringLiteral("Pro správnou funkci programu je třeba zadat přihlašovací "
                           "jméno a heslo do systému CUZK. \r\n\r\nPřejděte do "
                           "Nastavení / Zadat heslo do CUZK."));
}

} // namespace veritam
