#include "CursorBlinkRest.h"

#include <QApplication>
#include <QEvent>

CursorBlinkRest::CursorBlinkRest(QObject* parent, int restMilliseconds)
    : QObject(parent), m_flashTime(QApplication::cursorFlashTime())
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(restMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &CursorBlinkRest::rest);
    qApp->installEventFilter(this);
    m_timer.start();
}

CursorBlinkRest::~CursorBlinkRest()
{
    qApp->removeEventFilter(this);
    QApplication::setCursorFlashTime(m_flashTime);
}

bool CursorBlinkRest::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
        if (m_resting) {
            m_resting = false;
            QApplication::setCursorFlashTime(m_flashTime);
        }
        m_timer.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CursorBlinkRest::rest()
{
    // A flash time of 0 keeps the cursor shown without a timer.
    m_resting = true;
    QApplication::setCursorFlashTime(0);
}
