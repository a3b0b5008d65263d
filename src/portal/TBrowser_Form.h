#pragma once

#include <QWidget>

namespace veritam {

/// The portal browser window: the one browser every portal operation uses.
class TBrowser_Form : public QWidget {
    Q_OBJECT
public:
    explicit TBrowser_Form(QWidget* parent = nullptr);
};

} // namespace veritam
