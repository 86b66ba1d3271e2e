// Answers modal message boxes in tests: the next box (and every later one
// while it lives) gets the given button; the texts seen are remembered.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QStringList>

// Answers the next modal box with the given button, remembering its text.
class BoxAnswer : public QObject {
public:
    explicit BoxAnswer(QMessageBox::StandardButton answer) : m_answer(answer) { m_timer = startTimer(20); }
    QStringList texts;

protected:
    void timerEvent(QTimerEvent*) override
    {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts.append(box->text());
            if (QAbstractButton* button = box->button(m_answer)) {
                button->click();
            } else {
                box->reject();
            }
        }
    }

private:
    QMessageBox::StandardButton m_answer;
    int m_timer;
};
