#pragma once

#include <QWidget>

namespace veritam {

/// The notice about the portal's terms of use.
class TUpozorneni_Form : public QWidget {
    Q_OBJECT
public:
    explicit TUpozorneni_Form(QWidget* parent = nullptr);
};

} // namespace veritam
