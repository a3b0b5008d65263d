#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace veritam {

class UserMessages;

/// The daily automatic check window: the time of day, "Naplánovat" (a systemd user timer
/// that starts the program with --autoload) and "Plánovač úloh" (the timer's state, and its
/// removal).
class TAuto_Form : public QDialog {
    Q_OBJECT
public:
    TAuto_Form(UserMessages& messages, QString dataFolder, QWidget* parent = nullptr);

    /// "Naplánovat".
    void Button1Click();
    /// "Plánovač úloh".
    void Button2Click();

    QLineEdit* Edit1 = nullptr; ///< hour
    QLineEdit* Edit2 = nullptr; ///< minute
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

private:
    UserMessages& m_messages;
    QString m_dataFolder;
};

} // namespace veritam
