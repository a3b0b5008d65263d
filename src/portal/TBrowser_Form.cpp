#include "portal/TBrowser_Form.h"

namespace veritam {

TBrowser_Form::TBrowser_Form(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Browser_Form"));
    setWindowTitle(QStringLiteral("Prohlížeč"));
}

} // namespace veritam
