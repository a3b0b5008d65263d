#pragma once

#include <QString>

namespace veritam {

/// How the lower layers reach the user: the windows implement it with message boxes,
/// the command-line entries with standard error, tests with a recorder.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    /// A plain message with an OK button.
    virtual void showMessage(const QString& text) = 0;
    /// The program's standard error box: the error's text, an error icon, OK.
    virtual void showError(const QString& text) = 0;
};

} // namespace veritam
