#pragma once

#include <QWidget>

namespace veritam {

/// The About window with the portal credentials and the update check.
class TAbout_Form : public QWidget {
    Q_OBJECT
public:
    explicit TAbout_Form(QWidget* parent = nullptr);
};

} // namespace veritam
