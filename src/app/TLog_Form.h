#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace veritam {

/// The change summary: one line for every record in which the last full run found a change.
class TLog_Form : public QDialog {
    Q_OBJECT
public:
    explicit TLog_Form(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;

    void clear();
    void addLine(const QString& line);
    bool hasText() const;
};

} // namespace veritam
