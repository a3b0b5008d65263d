#pragma once

#include <QWidget>

namespace veritam {

/// The daily automatic check window.
class TAuto_Form : public QWidget {
    Q_OBJECT
public:
    explicit TAuto_Form(QWidget* parent = nullptr);
};

} // namespace veritam
