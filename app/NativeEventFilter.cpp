#include "NativeEventFilter.h"

#include <QApplication>
#include <QKeyEvent>

bool NativeEventFilter::eventFilter(QObject* watched, QEvent* event)
{
    // A key or mouse event travels from its window to the focus widget and
    // up through the parents: act once, where it enters.
    if (!m_target || !watched->isWindowType()) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return m_target->closeAboutDialog();
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        m_control = key->modifiers() & Qt::ControlModifier;
        m_shift = key->modifiers() & Qt::ShiftModifier;
        if (key->isAutoRepeat() || m_control || m_shift || key->text().isEmpty()) {
            return false;
        }
        const unsigned int character = key->text().at(0).unicode();
        if (event->type() == QEvent::KeyPress) {
            if (QApplication::activeModalWidget()) {
                return false;
            }
            return m_target->transmitNoteOnByKeyDown(character);
        }
        return m_target->transmitNoteOffByKeyUp(character);
    }
    default:
        return false;
    }
}
