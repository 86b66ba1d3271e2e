#include "CApplication.h"

#include <QFileOpenEvent>

CApplication::CApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void CApplication::setFileOpenHandler(std::function<void(const QString&)> handler)
{
    m_openFile = std::move(handler);
}

bool CApplication::event(QEvent* event)
{
    if (event->type() == QEvent::FileOpen && !activeModalWidget() && m_openFile) {
        m_openFile(static_cast<QFileOpenEvent*>(event)->file());
    }
    return QApplication::event(event);
}
