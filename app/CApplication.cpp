#include "CApplication.h"

#include <QFileOpenEvent>

CApplication::CApplication(int& argc, char** argv) : QApplication(argc, argv) {}

QIcon CApplication::icon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        icon.addFile(QStringLiteral(":/images/ostrel-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

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
