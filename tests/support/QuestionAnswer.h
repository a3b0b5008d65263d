#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace veritam::test {

/// Answers the next question box the code under test opens with this button, as the user
/// would; header only, for the tests that show windows.
/// `asked`, when given, gets the question's text.
inline void answerNextQuestion(QMessageBox::StandardButton answer, QString* asked = nullptr) {
    QTimer::singleShot(0, [answer, asked] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (asked)
                *asked = box->text();
            if (QAbstractButton* button = box->button(answer))
                button->click();
            else
                box->reject(); // the answer is not offered: the test sees nothing done
        }
    });
}

} // namespace veritam::test
