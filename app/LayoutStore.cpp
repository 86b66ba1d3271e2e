#include "LayoutStore.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTimer>

#include <utility>

#include "MainWindow.h"
#include "SubWindowArea.h"
#include "SettingsStore.h"
#include "OstrelModel.h"

namespace {

// Windows of these kinds are numbered among their own kind in layout keys.
bool countsInstances(int id)
{
    return id == WindowRestorationInfo::SystemExclusiveId || id == WindowRestorationInfo::KeyboardId ||
           id == WindowRestorationInfo::ControlChangeId || id == WindowRestorationInfo::ProgramChangeId;
}

QString layoutKey(int order, int id, int sequence)
{
    return QStringLiteral("%1-%2-%3").arg(order, 10, 10, QLatin1Char('0')).arg(id).arg(sequence);
}

}  // namespace

void LayoutStore::restore()
{
    m_main.setUpdatesEnabled(false);
    m_restoring = true;
    m_main.model()->lockParameterEditFlag();
    QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("SavePosition"));
    const QStringList keys = settings.childKeys();  // sorted: the order prefix fixes creation order
    if (keys.isEmpty()) {
        openDefault();
    }
    for (const QString& key : keys) {
        QList<QVariant> values = settings.value(key).toList();
        if (values.size() < 3) {
            continue;  // not a layout entry
        }
        const QRect rect = values.takeFirst().toRect();
        const auto state = static_cast<Qt::WindowStates>(values.takeFirst().toInt());
        const bool stayOnTop = values.takeFirst().toBool();
        bool readable = false;
        const unsigned int id = key.section(QLatin1Char('-'), 1, 1).toUInt(&readable);
        if (readable && id != WindowRestorationInfo::MainWindowId) {
            restoreSubWindow(static_cast<WindowRestorationInfo::WindowId>(id), stayOnTop, rect, state, values);
        } else {
            placeMainWindow(rect, state, stayOnTop);
        }
    }
    settings.endGroup();
    m_main.model()->unlockParameterEditFlag();
    m_main.setUpdatesEnabled(true);
    m_restoring = false;
    // What did not fit is said once, after the window is up.
    const QString overLimit = std::exchange(m_overLimit, QString());
    if (!overLimit.isEmpty()) {
        MainWindow* main = &m_main;
        QTimer::singleShot(0, main, [main, overLimit] { main->showLimitViewDisplayMessageBox(overLimit); });
    }
}

bool LayoutStore::deferLimitWarning(const QString& name)
{
    if (m_restoring && m_overLimit.isEmpty()) {
        m_overLimit = name;
    }
    return m_restoring;
}

void LayoutStore::placeMainWindow(const QRect& rect, Qt::WindowStates state, bool stayOnTop)
{
    SubWindowArea::setGeometry(&m_main, SubWindowArea::mainWindowRestorationRect(rect));
    if (!(state & (Qt::WindowMinimized | Qt::WindowFullScreen))) {
        m_main.setWindowState(m_main.windowState() | state);
    }
    if (stayOnTop) {
        m_main.setWindowFlags(m_main.windowFlags() | Qt::WindowStaysOnTopHint);
    }
}

QMdiSubWindow* LayoutStore::restoreSubWindow(WindowRestorationInfo::WindowId id, bool stayOnTop, const QRect& rect,
                                             Qt::WindowStates state, const QList<QVariant>& restorationData)
{
    if (id < WindowRestorationInfo::FirstSubWindowId || id > WindowRestorationInfo::LastSubWindowId) {
        return nullptr;
    }
    QMdiSubWindow* window = m_main.openWindow(id, restorationData);
    if (!window) {
        return nullptr;
    }
    QRect placed = SubWindowArea::boundedToScreens(rect);
    if (id == WindowRestorationInfo::MidiSettingsId) {
        // It opens at the size its content needs: a smaller stored one (an
        // older layout, another font) would hide settings behind scroll bars.
        placed.setSize(placed.size().expandedTo(window->size()));
    }
    SubWindowArea::setGeometry(window, placed);
    if (stayOnTop) {
        window->setWindowFlags(window->windowFlags() | Qt::WindowStaysOnTopHint);
    }
    window->setWindowState(window->windowState() | state);
    return window;
}

void LayoutStore::openDefault()
{
    m_main.closeAllSubWindows();
    // The default layout is no edit of the project.
    m_main.model()->lockParameterEditFlag();
    // Corner points as the layout was drawn: In and Out side by side, the
    // editor below the In monitor.
    SubWindowArea::setGeometry(m_main.openWindow(WindowRestorationInfo::MidiInMonitorId), QRect(QPoint(0, 0), QPoint(338, 274)));
    SubWindowArea::setGeometry(m_main.openWindow(WindowRestorationInfo::MidiOutMonitorId), QRect(QPoint(338, 0), QPoint(675, 274)));
    SubWindowArea::setGeometry(m_main.openWindow(WindowRestorationInfo::SystemExclusiveId), QRect(QPoint(0, 274), QPoint(338, 547)));
    m_main.model()->unlockParameterEditFlag();
}


void LayoutStore::store()
{
    QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("SavePosition"));
    settings.remove(QString());
    writeMainWindow(settings);
    writeSubWindows(settings);
    settings.endGroup();
}

void LayoutStore::writeMainWindow(QSettings& settings)
{
    const SubWindowArea* area = m_main.area();
    const QRect rect = area->isNormalState(&m_main) ? m_main.geometry() : area->normalRect(&m_main);
    settings.setValue(layoutKey(0, WindowRestorationInfo::MainWindowId, 0),
                      QList<QVariant>{rect, static_cast<int>(m_main.windowState()),
                                      bool(m_main.windowFlags() & Qt::WindowStaysOnTopHint)});
}

void LayoutStore::writeSubWindows(QSettings& settings)
{
    const SubWindowArea* area = m_main.area();
    int order = 0;
    QHash<int, int> sequences;
    for (QMdiSubWindow* window : area->windowsInActivationOrder()) {
        const auto* info = dynamic_cast<const WindowRestorationInfo*>(window->widget());
        if (!info) {
            continue;
        }
        const int id = info->windowId();
        const int sequence = countsInstances(id) ? sequences[id]++ : 0;
        const QRect rect = area->isNormalState(window) ? window->geometry() : area->normalRect(window);
        QList<QVariant> values{rect, static_cast<int>(window->windowState()),
                               bool(window->windowFlags() & Qt::WindowStaysOnTopHint)};
        values += info->restorationData();
        settings.setValue(layoutKey(++order, id, sequence), values);
    }
}
