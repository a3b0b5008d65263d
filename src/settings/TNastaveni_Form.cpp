#include "settings/TNastaveni_Form.h"

namespace veritam {

TNastaveni_Form::TNastaveni_Form(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Nastaveni_Form"));
    setWindowTitle(QStringLiteral("Nastavení"));
}

} // namespace veritam
