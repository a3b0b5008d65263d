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

namespace {

void printLine(const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

void ConsoleMessages::showMessage(const QString& text) {
    printLine(text);
}

void ConsoleMessages::showError(const QString& text) {
    printLine(text);
}

} // namespace veritam
