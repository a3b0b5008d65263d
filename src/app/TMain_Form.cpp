#include "app/TMain_Form.h"

#include "app/ProcessSettings.h"
#include "platform/UserMessages.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace veritam {

TMain_Form::TMain_Form(ProcessSettings& settings, const CommandLine& commandLine,
                       UserMessages& messages, QWidget* parent)
    : QMainWindow(parent)
    , m_settings(settings)
    , m_messages(messages) {
    setObjectName(QStringLiteral("Main_Form"));
    setWindowTitle(QStringLiteral("Veritam"));
    FormCreate(commandLine);
}

void TMain_Form::FormCreate(const CommandLine& commandLine) {
    try {
        resolveProcessSettings(m_settings, commandLine, QCoreApplication::applicationFilePath());
    } catch (const NoDataHomeError& e) {
        m_messages.showError(QString::fromUtf8(e.what()));
    }
}

void TMain_Form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMain_Form::FormShow() {
    if (m_settings.AutoStartRequested && !m_settings.AutoRunActive && startFullRun)
        startFullRun();
}

void TMain_Form::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    QCoreApplication::quit();
}

} // namespace veritam
