#include "settings/TUpozorneni_Form.h"

namespace veritam {

TUpozorneni_Form::TUpozorneni_Form(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Upozorneni_Form"));
    setWindowTitle(QStringLiteral("Upozornění"));
}

} // namespace veritam
