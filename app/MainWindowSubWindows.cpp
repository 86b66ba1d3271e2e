// MainWindow: the sub-windows' creation by id, geometry, normal rectangles,
// limits and the event-filter rules that keep fixed-size windows fixed.
#include <algorithm>

#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSizeGrip>

#include "MainWindow.h"
#include "ProjectController.h"
#include "WindowKinds.h"
#include "MidiAnalyzer.h"
#include "MidiBulkIntervalManager.h"
#include "OstrelModel.h"
#include "Utility.h"

namespace {

const char* const VariableSizeObjectNames[] = {
    "MidiEditViewSubWindow",     "KeyboardSubWindow",        "ControlChangeViewSubWindow",
    "TimingClockViewSubWindow",  "ActivesenseViewSubWindow", "PitchbendViewSubWindow",
    "MIDISettingsViewSubWindow", "CustomMIDIMessageViewSubWindow"};

constexpr int ScreenOverlapMinimum = 100;
constexpr QPoint OffScreenOffset{50, 50};

}  // namespace

bool MainWindow::isFixedSizeObject(const QObject* object)
{
    if (!object) {
        return false;
    }
    for (const char* name : VariableSizeObjectNames) {
        if (object->objectName() == QLatin1String(name)) {
            return false;
        }
    }
    return true;
}

QMdiSubWindow* MainWindow::createSubWindowByWindowId(WindowRestorationInfo::WindowId id, bool stayOnTop,
                                                     const QRect& rect, Qt::WindowStates state,
                                                     const QList<QVariant>& restorationData)
{
    if (id < WindowRestorationInfo::FirstSubWindowId || id > WindowRestorationInfo::LastSubWindowId) {
        return nullptr;
    }
    QMdiSubWindow* window = openWindow(id, restorationData);
    if (!window) {
        return nullptr;
    }
    QRect placed = boundedToScreens(rect);
    if (id == WindowRestorationInfo::MidiSettingsId &&
        (rect.width() < window->minimumWidth() || rect.height() < window->minimumHeight())) {
        placed.setSize(MIDISettingsDefaultSize);
    }
    setWindowGeometry(window, placed);
    if (stayOnTop) {
        window->setWindowFlags(window->windowFlags() | Qt::WindowStaysOnTopHint);
    }
    window->setWindowState(window->windowState() | state);
    return window;
}

bool MainWindow::activateExisting(QMdiSubWindow* window)
{
    if (!window) {
        return false;
    }
    m_mdiArea->setActiveSubWindow(window);
    return true;
}

QMdiSubWindow* MainWindow::addSubWindow(QWidget* view, const QString& menuText,
                                        const char* objectName, bool maximizable)
{
    QMdiSubWindow* window = m_mdiArea->addSubWindow(view);
    if (objectName) {
        window->setObjectName(QString::fromLatin1(objectName));
    }
    if (QMenu* menu = window->systemMenu()) {
        for (QAction* action : menu->actions()) {
            const bool stayOnTop = action->text() == QLatin1String("Stay on &Top");
            const bool maximize = action->text() == QLatin1String("Ma&ximize");
            if (stayOnTop || (maximize && !maximizable)) {
                menu->removeAction(action);
            }
        }
    }
    if (!maximizable) {
        window->setWindowFlags((window->windowFlags() & ~Qt::WindowMaximizeButtonHint) |
                               Qt::CustomizeWindowHint);
    }
    window->installEventFilter(this);
    window->setWindowTitle(Utility::removeMenuOfModifierCharacter(menuText));
    return window;
}

void MainWindow::showSubWindow(QMdiSubWindow* window)
{
    if (!m_normalRects.contains(window)) {
        m_normalRects.insert(window, window->geometry());
    }
    window->show();
}

QMdiSubWindow* MainWindow::openWindow(int id, const QList<QVariant>& restorationData)
{
    if (!m_windows.has(id)) {
        return nullptr;
    }
    const int limit = m_windows.limit(id);
    if (limit == 1 && activateExisting(m_windows.firstOpen(id))) {
        return m_windows.firstOpen(id);
    }
    if (m_windows.openCount(id) >= limit) {
        showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(m_windows.title(id)));
        return nullptr;
    }
    return m_windows.make(id, restorationData);
}

QMdiSubWindow* MainWindow::createEditor(int mode, const QSize& size, const QString& text)
{
    if (const int monitor = WindowKinds::monitorId(mode)) {
        return openWindow(monitor);  // one of each, without text
    }
    const int id = WindowRestorationInfo::SystemExclusiveId;
    if (m_windows.openCount(id) >= m_windows.limit(id)) {
        showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(m_windows.title(id)));
        return nullptr;
    }
    QMdiSubWindow* window = WindowKinds::makeEditor(*this, mode, size, text);
    m_windows.opened(id, window);
    return window;
}

void MainWindow::openEditView(int mode, const QSize& size, const QString& text)
{
    createEditor(mode, size, text);
}

void MainWindow::addEditView(MidiEditView* view, bool output)
{
    (output ? m_outputViews : m_inputViews).append(view);
}

void MainWindow::removeEditView(MidiEditView* view)
{
    m_inputViews.removeAll(view);
    m_outputViews.removeAll(view);
}

void MainWindow::centreOnMainWindow(QWidget* window)
{
    window->move(width() / 2 - window->width() / 2, height() / 2 - window->height() / 2);
}

void MainWindow::setWindowGeometry(QWidget* window, const QRect& rect)
{
    if (!window) {
        return;
    }
    const bool resizable = (window->windowFlags() & Qt::WindowMaximizeButtonHint) ||
                           window->size() != window->minimumSize() ||
                           window->size() != window->maximumSize();
    if (resizable) {
        window->setGeometry(rect);
    } else {
        window->move(rect.topLeft());  // a stored size never changes a fixed-size window
    }
}

void MainWindow::closeAllSubWindows()
{
    m_bulkIntervalManager->setEnabledBulkInterval(false);
    m_model->lockParameterEditFlag();
    m_mdiArea->closeAllSubWindows();
    // Closed windows are deleted later: forget them now, so that windows
    // created next are new ones.
    m_windows.forgetAll();
    m_model->unlockParameterEditFlag();
    m_analyzer->clearTransmittedDataBuffer();
    m_bulkIntervalManager->setEnabledBulkInterval(true);
}

void MainWindow::initializeSubWindows()
{
    closeAllSubWindows();
    // The default layout is no edit of the project.
    m_model->lockParameterEditFlag();
    // Corner points as the layout was drawn: In and Out side by side, the
    // editor below the In monitor.
    setWindowGeometry(openWindow(WindowRestorationInfo::MidiInMonitorId), QRect(QPoint(0, 0), QPoint(338, 274)));
    setWindowGeometry(openWindow(WindowRestorationInfo::MidiOutMonitorId), QRect(QPoint(338, 0), QPoint(675, 274)));
    setWindowGeometry(openWindow(WindowRestorationInfo::SystemExclusiveId), QRect(QPoint(0, 274), QPoint(338, 547)));
    m_model->unlockParameterEditFlag();
}

bool MainWindow::isNormalWindowState(QWidget* window) const
{
    if (!window ||
        (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        return false;
    }
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(window)) {
        // A shaded sub-window offers "Restore" in its system menu.
        if (QMenu* menu = subWindow->systemMenu()) {
            for (QAction* action : menu->actions()) {
                if (action->text() == QLatin1String("&Restore") && action->isEnabled()) {
                    return false;
                }
            }
        }
    }
    return true;
}

QRect MainWindow::getNormalRect(QWidget* window) const
{
    if (window == this) {
        return normalGeometry();
    }
    return m_normalRects.value(window, window ? window->geometry() : QRect());
}

QRect MainWindow::boundedToScreens(const QRect& rect)
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect area = primary ? primary->availableVirtualGeometry() : QRect(0, 0, 1920, 1080);
    const QSize size = rect.size().expandedTo(QSize(0, 0)).boundedTo(area.size());
    const int x = std::clamp(rect.x(), area.left() - area.width(), area.right());
    const int y = std::clamp(rect.y(), area.top() - area.height(), area.bottom());
    return QRect(QPoint(x, y), size);
}

QRect MainWindow::getMainWindowRestorationRect(const QRect& stored)
{
    const QRect rect = boundedToScreens(stored);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(rect);
        if (overlap.width() >= ScreenOverlapMinimum && overlap.height() >= ScreenOverlapMinimum) {
            return rect;
        }
    }
    QRect moved = rect;
    const QScreen* primary = QGuiApplication::primaryScreen();
    moved.moveTopLeft((primary ? primary->availableGeometry().topLeft() : QPoint()) +
                      OffScreenOffset);
    return moved;
}

void MainWindow::showLimitViewDisplayMessageBox(const QString& name)
{
    if (m_restoringLayout) {
        if (m_limitReachedDuringRestore.isEmpty()) {
            m_limitReachedDuringRestore = name;
        }
        return;
    }
    if (m_limitMessageOpen) {
        return;
    }
    m_limitMessageOpen = true;
    closeAboutDialog();
    QMessageBox::warning(this, windowTitleText(),
                         tr("Unable to open a new %1 View.\nPlease close any opened %1 View "
                            "before trying again.")
                             .arg(name));
    m_limitMessageOpen = false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_aboutView) {
        return QMainWindow::eventFilter(watched, event);
    }
    if ((watched == m_mdiArea || watched == m_mdiArea->viewport()) && m_project->handleDrop(event)) {
        return true;
    }
    return eventFilterForSubWindows(watched, event) || QMainWindow::eventFilter(watched, event);
}

bool MainWindow::eventFilterForSubWindows(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::WindowStateChange:
        for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
            if ((isFixedSizeObject(window) || window->objectName() == QLatin1String("KeyboardSubWindow")) &&
                window->isMaximized()) {
                window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
            }
        }
        return false;
    case QEvent::Move:
    case QEvent::Resize:
        if (widget && m_normalRects.contains(widget) && isNormalWindowState(widget)) {
            m_normalRects[widget] = widget->geometry();
        }
        return false;
    case QEvent::Close:
        if (widget && widget != this) {
            m_normalRects.remove(widget);
        }
        return false;
    case QEvent::Wheel:
        return qobject_cast<QMdiSubWindow*>(watched) || watched == m_mdiArea;
    case QEvent::ChildPolished: {
        auto* grip = qobject_cast<QSizeGrip*>(static_cast<QChildEvent*>(event)->child());
        if (grip && isFixedSizeObject(watched)) {
            grip->setFixedSize(0, 0);
        }
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* window = qobject_cast<QMdiSubWindow*>(watched);
        if (!window ||
            !(isFixedSizeObject(window) || window->objectName() == QLatin1String("KeyboardSubWindow"))) {
            return false;
        }
        const QPoint global = static_cast<QMouseEvent*>(event)->globalPos();
        return MaximizeButtonAreaOfSubWindow.contains(window->mapFromGlobal(global));
    }
    default:
        return false;
    }
}
