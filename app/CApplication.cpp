#include "CApplication.h"

#include <QFileOpenEvent>

CApplication::CApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // What the program says of itself to instruments (a MIDI-CI Discovery).
    setApplicationVersion(QStringLiteral(OSTREL_VERSION));
}

QIcon CApplication::icon()
{
    QIcon icon;
    // Up to 128 pixels: the desktop takes larger ones from the installed
    // icon theme, and each size here is converted and sent to the display
    // server before the window maps (512 and 256 cost ~1.3 MB).
    for (int size : {16, 22, 24, 32, 48, 64, 128}) {
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
