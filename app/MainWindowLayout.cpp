// MainWindow: the window layout in the INI file, restored when the window
// is first shown and written when it closes.
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

void MainWindow::restoreWindowRegistory()
{
    setUpdatesEnabled(false);
    m_restoringLayout = true;
    m_model->lockParameterEditFlag();
    QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("SavePosition"));
    const QStringList keys = settings.childKeys();  // sorted: the order prefix fixes creation order
    if (keys.isEmpty()) {
        initializeSubWindows();
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
            createSubWindowByWindowId(static_cast<WindowRestorationInfo::WindowId>(id), stayOnTop,
                                      rect, state, values);
        } else {
            restoreMainWindowPlacement(rect, state, stayOnTop);
        }
    }
    settings.endGroup();
    m_model->unlockParameterEditFlag();
    setUpdatesEnabled(true);
    m_restoringLayout = false;
    // What did not fit is said once, after the window is up.
    const QString overLimit = std::exchange(m_limitReachedDuringRestore, QString());
    if (!overLimit.isEmpty()) {
        QTimer::singleShot(0, this, [this, overLimit] { showLimitViewDisplayMessageBox(overLimit); });
    }
}

void MainWindow::restoreMainWindowPlacement(const QRect& rect, Qt::WindowStates state, bool stayOnTop)
{
    SubWindowArea::setGeometry(this, SubWindowArea::mainWindowRestorationRect(rect));
    if (!(state & (Qt::WindowMinimized | Qt::WindowFullScreen))) {
        setWindowState(windowState() | state);
    }
    if (stayOnTop) {
        setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    }
}

void MainWindow::storeWindowPosition()
{
    QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("SavePosition"));
    settings.remove(QString());
    writeMainWindowInfoToRegistry(settings);
    writeSubWindowInfoToRegistry(settings);
    settings.endGroup();
}

void MainWindow::writeMainWindowInfoToRegistry(QSettings& settings)
{
    const QRect rect = m_area->isNormalState(this) ? geometry() : m_area->normalRect(this);
    settings.setValue(layoutKey(0, WindowRestorationInfo::MainWindowId, 0),
                      QList<QVariant>{rect, static_cast<int>(windowState()),
                                      bool(windowFlags() & Qt::WindowStaysOnTopHint)});
}

void MainWindow::writeSubWindowInfoToRegistry(QSettings& settings)
{
    int order = 0;
    QHash<int, int> sequences;
    for (QMdiSubWindow* window : m_area->windowsInActivationOrder()) {
        const auto* info = dynamic_cast<const WindowRestorationInfo*>(window->widget());
        if (!info) {
            continue;
        }
        const int id = info->windowId();
        const int sequence = countsInstances(id) ? sequences[id]++ : 0;
        const QRect rect = m_area->isNormalState(window) ? window->geometry() : m_area->normalRect(window);
        QList<QVariant> values{rect, static_cast<int>(window->windowState()),
                               bool(window->windowFlags() & Qt::WindowStaysOnTopHint)};
        values += info->restorationData();
        settings.setValue(layoutKey(++order, id, sequence), values);
    }
}
