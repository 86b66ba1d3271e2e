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
#include "SubWindowArea.h"
#include "WindowKinds.h"
#include "MidiAnalyzer.h"
#include "MidiBulkIntervalManager.h"
#include "OstrelModel.h"
#include "Utility.h"

namespace {

}  // namespace


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
    QRect placed = SubWindowArea::boundedToScreens(rect);
    if (id == WindowRestorationInfo::MidiSettingsId &&
        (rect.width() < window->minimumWidth() || rect.height() < window->minimumHeight())) {
        placed.setSize(MIDISettingsDefaultSize);
    }
    SubWindowArea::setGeometry(window, placed);
    if (stayOnTop) {
        window->setWindowFlags(window->windowFlags() | Qt::WindowStaysOnTopHint);
    }
    window->setWindowState(window->windowState() | state);
    return window;
}




QMdiSubWindow* MainWindow::openWindow(int id, const QList<QVariant>& restorationData)
{
    if (!m_windows.has(id)) {
        return nullptr;
    }
    const int limit = m_windows.limit(id);
    if (limit == 1 && m_area->activate(m_windows.firstOpen(id))) {
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
    SubWindowArea::setGeometry(openWindow(WindowRestorationInfo::MidiInMonitorId), QRect(QPoint(0, 0), QPoint(338, 274)));
    SubWindowArea::setGeometry(openWindow(WindowRestorationInfo::MidiOutMonitorId), QRect(QPoint(338, 0), QPoint(675, 274)));
    SubWindowArea::setGeometry(openWindow(WindowRestorationInfo::SystemExclusiveId), QRect(QPoint(0, 274), QPoint(338, 547)));
    m_model->unlockParameterEditFlag();
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
    if ((watched == m_mdiArea || watched == m_mdiArea->viewport()) && m_project->handleDrop(event)) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

