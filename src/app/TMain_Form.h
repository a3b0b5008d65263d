#pragma once

#include <QMainWindow>

#include <functional>

namespace veritam {

class CommandLine;
class UserMessages;
struct ProcessSettings;

/// The main window; closing it ends the program.
class TMain_Form : public QMainWindow {
    Q_OBJECT
public:
    TMain_Form(ProcessSettings& settings, const CommandLine& commandLine, UserMessages& messages,
               QWidget* parent = nullptr);

    /// What the show handler starts when the program was started for the automatic run.
    std::function<void()> startFullRun;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const CommandLine& commandLine);
    void FormShow();

    ProcessSettings& m_settings;
    UserMessages& m_messages;
};

} // namespace veritam
