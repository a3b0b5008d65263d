#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace veritam {

/// The notice about the portal's terms of use: automated mining is not allowed and the
/// program is used at the user's own risk, with a link to the terms.
class TUpozorneni_Form : public QDialog {
    Q_OBJECT
public:
    /// The terms' address is built from the portal's viewer address of `dataFolder`.
    explicit TUpozorneni_Form(const QString& dataFolder, QWidget* parent = nullptr);

    /// Opens exactly the address the link label shows.
    void Label6Click();

    /// Before the first portal operation on a data folder: shows the notice once (modally
    /// unless `unattended`) and remembers that in the settings file.
    void showBeforeFirstUse(bool unattended);

    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* Rozumim_Button = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_dataFolder;
};

} // namespace veritam
