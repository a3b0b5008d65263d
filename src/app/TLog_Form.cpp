#include "app/TLog_Form.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace veritam {

TLog_Form::TLog_Form(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Log_Form"));
    setWindowTitle(QStringLiteral("Přehled změn"));
    Memo1 = new QPlainTextEdit(QStringLiteral("Memo1"), this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
    resize(414, 237);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TLog_Form::clear() {
    Memo1->clear();
}

void TLog_Form::addLine(const QString& line) {
    Memo1->appendPlainText(line);
}

bool TLog_Form::hasText() const {
    return !Memo1->toPlainText().isEmpty();
}

} // namespace veritam
