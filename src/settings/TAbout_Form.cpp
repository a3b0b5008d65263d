#include "settings/TAbout_Form.h"

#include "platform/IniFile.h"
#include "platform/UserMessages.h"
#include "portal/PortalCredentials.h"
#include "settings/UpdateCheck.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace veritam {

TAbout_Form::TAbout_Form(const QString& dataFolder, UserMessages& messages, QWidget* parent)
    : QDialog(parent)
    , m_dataFolder(dataFolder)
    , m_messages(messages) {
    setObjectName(QStringLiteral("About_Form"));
    setWindowTitle(QStringLiteral("O programu"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* version = new QHBoxLayout;
    version->addWidget(new QLabel(QStringLiteral("Verze programu: "), this));
    Verze_Label = new QLabel(this);
    Verze_Label->setObjectName(QStringLiteral("Verze_Label"));
    version->addWidget(Verze_Label, 1);
    layout->addLayout(version);

    Button1 = new QPushButton(QStringLiteral("Zkontrolovat aktualizaci"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    layout->addWidget(Button1, 0, Qt::AlignLeft);

    MistoDatovychSouboruLabel = new QLabel(this);
    MistoDatovychSouboruLabel->setObjectName(QStringLiteral("MistoDatovychSouboruLabel"));
    MistoDatovychSouboruLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(MistoDatovychSouboruLabel);

    auto* account = new QFormLayout;
    CUZK_Jmeno_Edit = new QLineEdit(this);
    CUZK_Jmeno_Edit->setObjectName(QStringLiteral("CUZK_Jmeno_Edit"));
    CUZK_Heslo_Edit = new QLineEdit(this);
    CUZK_Heslo_Edit->setObjectName(QStringLiteral("CUZK_Heslo_Edit"));
    CUZK_Heslo_Edit->setEchoMode(QLineEdit::Password);
    account->addRow(QStringLiteral("CUZK jméno"), CUZK_Jmeno_Edit);
    account->addRow(QStringLiteral("CUZK heslo"), CUZK_Heslo_Edit);
    layout->addLayout(account);

    auto* buttons = new QHBoxLayout;
    SmazatHeslo_Button = new QPushButton(QStringLiteral("Smazat heslo"), this);
    SmazatHeslo_Button->setObjectName(QStringLiteral("SmazatHeslo_Button"));
    SmazatHeslo_Button->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(SmazatHeslo_Button);
    Button3 = new QPushButton(QStringLiteral("Uložit"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setDefault(true);
    buttons->addWidget(Button3);
    layout->addLayout(buttons);
    connect(Button3, &QPushButton::clicked, this, &TAbout_Form::Button3Click);
    connect(SmazatHeslo_Button, &QPushButton::clicked, this, &TAbout_Form::SmazatHesloClick);
    connect(Button1, &QPushButton::clicked, this, &TAbout_Form::Button1Click);

    FormCreate();
}

void TAbout_Form::FormCreate() {
    CUZK_Jmeno_Edit->setText(PortalCredentials::read(m_dataFolder).name);
    showPasswordState();
    MistoDatovychSouboruLabel->setText(QStringLiteral("Místo datových souborů: ") + m_dataFolder);
    Verze_Label->setText(QCoreApplication::applicationVersion());
}

void TAbout_Form::Button1Click() {
    const QString programFolder = QCoreApplication::applicationDirPath() + u'/';
    const UpdateCheck::Answer answer = UpdateCheck::ZjistiVerzi(
        UpdateCheck::versionFileAddress(), UpdateCheck::localVersionFile(programFolder),
        UpdateCheck::downloadPageAddress(), m_dataFolder, 1);
    if (!answer.problem.isEmpty()) {
        m_messages.showMessage(answer.problem);
        return;
    }
    if (!answer.newer) {
        m_messages.showMessage(
            QStringLiteral("Používáte nejnovější verzi programu (%1).").arg(answer.installed));
        return;
    }
    if (QMessageBox::question(this, windowTitle(),
                              QStringLiteral("Chcete načíst stránku s novou verzí programu? Pokud "
                                             "budete program instalovat, nejdříve ukončete "
                                             "běžící program."),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        QDesktopServices::openUrl(QUrl(UpdateCheck::downloadPageAddress()));
}

bool TAbout_Form::showPasswordState() {
    // The stored password is never shown, not even masked: the field only says it is there.
    const bool stored = !PortalCredentials::read(m_dataFolder).password.isEmpty();
    CUZK_Heslo_Edit->clear();
    CUZK_Heslo_Edit->setPlaceholderText(stored ? QStringLiteral("(uloženo)") : QString());
    SmazatHeslo_Button->setEnabled(stored);
    return stored;
}

void TAbout_Form::Button3Click() {
    const QString password = CUZK_Heslo_Edit->text();
    try {
        if (password.isEmpty())
            PortalCredentials::saveName(m_dataFolder, CUZK_Jmeno_Edit->text());
        else
            PortalCredentials::save(m_dataFolder, CUZK_Jmeno_Edit->text(), password);
    } catch (const IniWriteError& e) {
        m_messages.showError(e.message());
        return;
    }
    if (showPasswordState())
        m_messages.showMessage(QStringLiteral("Údaje uloženy."));
    else
        m_messages.showMessage(QStringLiteral("Jméno uloženo. Heslo uloženo není: zadejte ho, "
                                              "jinak se program k portálu nepřihlásí."));
}

void TAbout_Form::SmazatHesloClick() {
    try {
        PortalCredentials::forgetPassword(m_dataFolder);
    } catch (const IniWriteError& e) {
        m_messages.showError(e.message());
        return;
    }
    showPasswordState();
    m_messages.showMessage(QStringLiteral("Heslo smazáno."));
}

} // namespace veritam
