#include "app/TLog_Form.h"

namespace veritam {

TLog_Form::TLog_Form(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Log_Form"));
    setWindowTitle(QStringLiteral("Log"));
}

} // namespace veritam
