#pragma once

#include <QWidget>

namespace veritam {

class TDM1;
class UserMessages;

/// The settings window. Its creation reminds the user to enter the portal account while
/// the database's user row still holds the placeholder login.
class TNastaveni_Form : public QWidget {
    Q_OBJECT
public:
    TNastaveni_Form(TDM1& dm, UserMessages& messages, QWidget* parent = nullptr);

private:
    void FormCreate(TDM1& dm, UserMessages& messages);
};

} // namespace veritam
