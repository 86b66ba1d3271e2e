// Mouse events for the keyboard tests, with the modifiers a drag carries.
#pragma once

#include <QApplication>
#include <QMouseEvent>

#include "Keyboard.h"

inline void sendMouse(QWidget& widget, QEvent::Type type, const QPoint& point, Qt::KeyboardModifiers modifiers)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, point, widget.mapToGlobal(point), button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

// A point on the key: low on a white key (below the black keys), in the
// middle of a black one, or at height y when given.
inline QPoint keyPoint(const Keyboard& keyboard, unsigned char note, int y = -1)
{
    QRect rect;
    keyboard.getKeyboardRect(note, rect);
    bool white = true;
    keyboard.noteNumber(rect.center(), white);
    return QPoint(rect.center().x(), y >= 0 ? y : (white ? rect.bottom() - 5 : rect.center().y()));
}
