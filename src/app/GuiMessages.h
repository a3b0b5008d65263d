#pragma once

#include "platform/UserMessages.h"

#include <cstdio>

namespace veritam {

/// Message boxes: the application's plain message and its standard error box.
class GuiMessages : public UserMessages {
public:
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
};

/// One line of text on a console stream; CR LF line breaks become plain ones.
void printConsoleLine(std::FILE* stream, const QString& text);

/// Messages of the command-line entries: standard error, one line each.
class ConsoleMessages : public UserMessages {
public:
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
};

} // namespace veritam
