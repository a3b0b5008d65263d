#include "history/TZmeny_Form.h"

namespace veritam {

TZmeny_Form::TZmeny_Form(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Zmeny_Form"));
    setWindowTitle(QStringLiteral("Změny na nemovité věci"));
}

} // namespace veritam
