// Answers modal message boxes and file dialogs in tests: the next one (and
// every later one while the answer lives) gets the given button or name.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTest>

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

// Types name into the next file dialog and presses Return, choosing filter
// first when one is given; remembers the name it proposed and the filter it
// showed.
class FileDialogAnswer : public QObject {
public:
    explicit FileDialogAnswer(const QString& typed, const QString& chosenFilter = QString())
        : name(typed), filter(chosenFilter)
    {
        startTimer(20);
    }
    QString name;
    QString filter;
    QString proposed;
    QString shownFilter;

protected:
    void timerEvent(QTimerEvent*) override
    {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* edit = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (edit) {
            proposed = edit->text();
            shownFilter = dialog->selectedNameFilter();
            if (!filter.isEmpty()) {
                dialog->selectNameFilter(filter);
            }
            edit->setText(name);
            QTest::keyClick(edit, Qt::Key_Return);
        }
    }
};
