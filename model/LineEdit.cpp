#include "LineEdit.h"

#include <QApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QMenu>

LineEdit::LineEdit(QWidget* parent) : LineEdit(QString(), parent) {}

LineEdit::LineEdit(const QString& text, QWidget* parent) : QLineEdit(text, parent), m_initialText(text)
{
    setAttribute(Qt::WA_MacShowFocusRect, false);
}

void LineEdit::decide()
{
    if (const auto* validator = qobject_cast<const QIntValidator*>(this->validator())) {
        bool isNumber = false;
        const int value = text().toInt(&isNumber);
        if (!isNumber) {
            setText(m_initialText);
        } else if (value <= validator->bottom()) {
            setText(QString::number(validator->bottom()));
        } else if (value >= validator->top()) {
            setText(QString::number(validator->top()));
        }
    }
    if (!text().isEmpty()) {
        Q_EMIT editingFinished();
    }
}

void LineEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        decide();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void LineEdit::focusOutEvent(QFocusEvent* event)
{
    // The base class may emit editingFinished() itself; decide() is the one place it comes from.
    const bool wasBlocked = blockSignals(true);
    QLineEdit::focusOutEvent(event);
    blockSignals(wasBlocked);
    // Its own context menu taking the focus is not the end of the entry.
    const QWidget* popup = QApplication::activePopupWidget();
    if (event->reason() == Qt::PopupFocusReason && popup && popup->parent() == this) {
        return;
    }
    decide();
}
