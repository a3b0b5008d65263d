#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace veritam {

class UserMessages;

/// The About window: where the data lives, the portal account, the update check.
class TAbout_Form : public QDialog {
    Q_OBJECT
public:
    TAbout_Form(const QString& dataFolder, UserMessages& messages, QWidget* parent = nullptr);

    QLabel* Verze_Label = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* MistoDatovychSouboruLabel = nullptr;
    QLineEdit* CUZK_Jmeno_Edit = nullptr;
    QLineEdit* CUZK_Heslo_Edit = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* SmazatHeslo_Button = nullptr;

    /// "Uložit": writes the name and, when one is typed, the password; an empty password
    /// field keeps the stored one.
    void Button3Click();
    /// "Smazat heslo".
    void SmazatHesloClick();
    /// "Zkontrolovat aktualizaci".
    void Button1Click();

private:
    void FormCreate();
    /// The password field empty, saying whether a password is stored; true when one is.
    bool showPasswordState();

    QString m_dataFolder;
    UserMessages& m_messages;
};

} // namespace veritam
