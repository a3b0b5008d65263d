#pragma once

#include <QWidget>

namespace veritam {

/// The change history window: a record's recorded changes and their snapshots.
class TZmeny_Form : public QWidget {
    Q_OBJECT
public:
    explicit TZmeny_Form(QWidget* parent = nullptr);
};

} // namespace veritam
