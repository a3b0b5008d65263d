#pragma once

#include <QWidget>

namespace veritam {

/// The window listing the changes the last full run found.
class TLog_Form : public QWidget {
    Q_OBJECT
public:
    explicit TLog_Form(QWidget* parent = nullptr);
};

} // namespace veritam
