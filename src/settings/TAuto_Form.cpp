#include "settings/TAuto_Form.h"

namespace veritam {

TAuto_Form::TAuto_Form(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Auto_Form"));
    setWindowTitle(QStringLiteral("Automatická kontrola"));
}

} // namespace veritam
