#pragma once

#include "platform/UserMessages.h"

namespace veritam {

/// Message boxes: the application's plain message and its standard error box.
class GuiMessages : public UserMessages {
public:
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
};

/// Messages of the command-line entries: standard error, one line each.
class ConsoleMessages : public UserMessages {
public:
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
};

} // namespace veritam
