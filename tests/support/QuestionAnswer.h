#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace veritam::test {

/// Answers the next question box the code under test opens with this button, as the user
/// would; header only, for the tests that show windows.
inline void answerNextQuestion(QMessageBox::StandardButton answer) {
    QTimer::singleShot(0, [answer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(answer)->click();
    });
}

} // namespace veritam::test
