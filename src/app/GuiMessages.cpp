#include "app/GuiMessages.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace veritam {

void GuiMessages::showMessage(const QString& text) {
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("Veritam"), text);
}

void GuiMessages::showError(const QString& text) {
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Veritam"), text);
}

void printConsoleLine(std::FILE* stream, const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stream, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stream);
}

void ConsoleMessages::showMessage(const QString& text) {
    printConsoleLine(stderr, text);
}

void ConsoleMessages::showError(const QString& text) {
    printConsoleLine(stderr, text);
}

} // namespace veritam
