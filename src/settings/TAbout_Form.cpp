#include "settings/TAbout_Form.h"

namespace veritam {

TAbout_Form::TAbout_Form(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("About_Form"));
    setWindowTitle(QStringLiteral("O programu"));
}

} // namespace veritam
