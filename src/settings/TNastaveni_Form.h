#pragma once

#include <QWidget>

namespace veritam {

/// The settings window.
class TNastaveni_Form : public QWidget {
    Q_OBJECT
public:
    explicit TNastaveni_Form(QWidget* parent = nullptr);
};

} // namespace veritam
