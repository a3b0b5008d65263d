#include "entry/TInsert_Form.h"

namespace veritam {

TInsert_Form::TInsert_Form(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Insert_Form"));
    setWindowTitle(QStringLiteral("Přidávání a úprava záznamů"));
}

void TInsert_Form::clearSearchBox(SearchBox) {}

void TInsert_Form::setStatusText(const QString& text) {
    m_statusText = text;
}

void TInsert_Form::setOriginGroupEnabled(bool enabled) {
    m_originGroupEnabled = enabled;
}

} // namespace veritam
