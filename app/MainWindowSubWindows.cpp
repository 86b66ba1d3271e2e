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
#include "AboutView.h"
#include "EULAView.h"
#include "LicenseInfoView.h"
#include "MidiActivesensingView.h"
#include "MidiControlChangeView.h"
#include "MidiCustomMidiMessageView.h"
#include "MidiEditView.h"
#include "MidiFilterView.h"
#include "MidiKeyboardView.h"
#include "MidiPCKeyboardView.h"
#include "MidiPitchbendView.h"
#include "MidiProgramChangeView.h"
#include "MidiTimingClockGeneratorView.h"
#include "MidiTransportPanelView.h"
#include "PreferencesView.h"
#include "MidiSettingsView.h"
#include "MidiAnalyzer.h"
#include "MidiBulkIntervalManager.h"
#include "OstrelModel.h"
#include "PortSet.h"
#include "Utility.h"

namespace {

const char* const VariableSizeObjectNames[] = {
    "MidiEditViewSubWindow",     "KeyboardSubWindow",        "ControlChangeViewSubWindow",
    "TimingClockViewSubWindow",  "ActivesenseViewSubWindow", "PitchbendViewSubWindow",
    "MIDISettingsViewSubWindow", "CustomMIDIMessageViewSubWindow"};

constexpr int ScreenOverlapMinimum = 100;
constexpr QSize MIDISettingsDefaultSize{500, 230};
constexpr QSize MIDISettingsHighResolutionOffset{3, 3};
constexpr QSize MIDISettingsMinimumSizeOffset{20, 20};
constexpr QPoint OffScreenOffset{50, 50};
constexpr int KeyboardWindowMinimumWidth = 350;
constexpr QSize CustomMIDIMessageViewDefaultSize{338, 274};
constexpr QSize ControlChangeViewDefaultSize{225, 250};
constexpr QSize PitchbendViewDefaultSize{220, 274};
constexpr QSize TimingClockViewDefaultSize{220, 250};
constexpr QSize ActivesensingViewDefaultSize{220, 250};
constexpr int TransportPanelWidth = 338;
constexpr int KeyboardWindowWidthMargin = 5;

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
    const auto factory = m_subWindowFactories.constFind(id);
    QMdiSubWindow* window =
        factory != m_subWindowFactories.constEnd() ? factory.value()(restorationData) : nullptr;
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

void MainWindow::registerSubWindowKinds()
{
    setSubWindowFactory(WindowRestorationInfo::MidiInMonitorId, [this](const QList<QVariant>&) {
        return createMidiEditView(tr("MIDI &In Monitor"), MidiEditView::MidiInMonitor, QSize(), QString());
    });
    setSubWindowFactory(WindowRestorationInfo::MidiOutMonitorId, [this](const QList<QVariant>&) {
        return createMidiEditView(tr("MIDI O&ut Monitor"), MidiEditView::MidiOutMonitor, QSize(), QString());
    });
    setSubWindowFactory(WindowRestorationInfo::SystemExclusiveId, [this](const QList<QVariant>&) {
        return createMidiEditView(tr("&System Exclusive"), MidiEditView::SystemExclusive, QSize(), QString());
    });
    setSubWindowFactory(WindowRestorationInfo::KeyboardId,
                        [this](const QList<QVariant>&) { return createMidiKeyboardView(tr("&Keyboard")); });
    // The controller comes first in the restoration data; a window stored
    // without it is skipped.
    setSubWindowFactory(WindowRestorationInfo::ControlChangeId, [this](const QList<QVariant>& restoration) {
        int controller = 0;
        return restoredController(restoration, controller)
                   ? createMidiControlChangeView(tr("&Control Change"), static_cast<unsigned char>(controller))
                   : nullptr;
    });
    setSubWindowFactory(WindowRestorationInfo::ProgramChangeId, [this](const QList<QVariant>&) {
        return createMidiProgramChangeView(tr("&Program Change"));
    });
    setSubWindowFactory(WindowRestorationInfo::PitchbendId,
                        [this](const QList<QVariant>&) { return createMidiPitchbendView(tr("Pitch &Bend")); });
    setSubWindowFactory(WindowRestorationInfo::TimingClockId, [this](const QList<QVariant>&) {
        return createMidiTimingClockGeneratorView(tr("&Timing Clock"));
    });
    setSubWindowFactory(WindowRestorationInfo::TransportPanelId, [this](const QList<QVariant>&) {
        return createMidiTransportPanelView(tr("Sta&rt/Stop"));
    });
    setSubWindowFactory(WindowRestorationInfo::ActivesensingId, [this](const QList<QVariant>&) {
        return createMidiActivesensingView(tr("&Active Sensing"));
    });
    setSubWindowFactory(WindowRestorationInfo::CustomMidiMessageId, [this](const QList<QVariant>&) {
        return createMidiCustomMidiMessageView(tr("Cust&om MIDI Message"));
    });
    setSubWindowFactory(WindowRestorationInfo::PCKeyboardId,
                        [this](const QList<QVariant>&) { return createPCKeyboardView(tr("PC Keyboar&d")); });
    setSubWindowFactory(WindowRestorationInfo::FilterId,
                        [this](const QList<QVariant>&) { return createMidiFilterView(tr("&Filter")); });
    setSubWindowFactory(WindowRestorationInfo::MidiSettingsId, [this](const QList<QVariant>&) {
        return createMidiSettingsView(tr("&MIDI Settings"));
    });
}

bool MainWindow::restoredController(const QList<QVariant>& restorationData, int& controller)
{
    bool valid = restorationData.size() >= 2;
    controller = valid ? restorationData.first().toInt(&valid) : -1;
    return valid && controller >= 0 && controller < MidiControlChangeView::ControlChangeMax;
}

int MainWindow::subWindowLimit(WindowRestorationInfo::WindowId id)
{
    switch (id) {
    case WindowRestorationInfo::SystemExclusiveId:
        return SystemExclusiveViewCountLimit;
    case WindowRestorationInfo::ControlChangeId:
        return ControlChangeViewCountLimit;
    case WindowRestorationInfo::CustomMidiMessageId:
        return CustomMIDIMessageViewCountLimit;
    case WindowRestorationInfo::KeyboardId:
    case WindowRestorationInfo::ProgramChangeId:
    case WindowRestorationInfo::PitchbendId:
        return SubWindowCountLimit;
    default:
        return 1;
    }
}

QMdiSubWindow* MainWindow::createMidiFilterView(const QString& menuText)
{
    if (activateExisting(m_filterWindow)) {
        return m_filterWindow;
    }
    QMdiSubWindow* window = addSubWindow(new MidiFilterView(m_model), menuText, nullptr, false);
    // The view's own fixed size and the frame around it.
    window->setFixedSize(window->minimumSizeHint());
    m_filterWindow = window;
    showSubWindow(window);
    return window;
}

int MainWindow::openWindowCount(QList<QPointer<QMdiSubWindow>>& windows)
{
    windows.removeAll(QPointer<QMdiSubWindow>());
    return windows.size();
}

QMdiSubWindow* MainWindow::createMidiEditView(const QString& menuText, int mode, const QSize& size,
                                              const QString& text)
{
    const QString title = Utility::removeMenuOfModifierCharacter(menuText);
    if (openWindowCount(m_systemExclusiveWindows) >= SystemExclusiveViewCountLimit) {
        showLimitViewDisplayMessageBox(title);
        return nullptr;
    }
    const auto openMode = static_cast<MidiEditView::OpenMode>(mode);
    auto* view = new MidiEditView(nullptr, m_model, this, openMode, text);
    QMdiSubWindow* window = addSubWindow(view, menuText, "MidiEditViewSubWindow", true);
    switch (openMode) {
    case MidiEditView::MidiInMonitor:
        m_midiInMonitor = window;
        break;
    case MidiEditView::MidiOutMonitor:
        m_midiOutMonitor = window;
        break;
    default:
        m_systemExclusiveWindows.append(window);
        break;
    }
    if (size.width() > 0 && size.height() > 0) {
        window->resize(size + (window->size() - window->contentsRect().size()));
    } else {
        window->resize(MidiEditViewDefaultSize);
    }
    showSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createMidiKeyboardView(const QString& menuText)
{
    if (openWindowCount(m_keyboardWindows) >= SubWindowCountLimit) {
        showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(menuText));
        return nullptr;
    }
    QMdiSubWindow* window = addSubWindow(new MidiKeyboardView(nullptr, m_model, sender()), menuText, "KeyboardSubWindow", false);
    m_keyboardWindows.append(window);
    // Its natural height only; as wide as the user likes, up to the whole keyboard.
    const int height = window->sizeHint().height();
    window->setMinimumSize(KeyboardWindowMinimumWidth, height);
    window->setMaximumSize(MidiKeyboardView::KeyboardViewSize.width() + KeyboardWindowWidthMargin, height);
    window->resize(std::clamp(window->sizeHint().width(), KeyboardWindowMinimumWidth,
                              window->maximumWidth()),
                   height);
    showSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createMidiControlChangeView(const QString& menuText, unsigned char controller)
{
    if (openWindowCount(m_controlChangeWindows) >= ControlChangeViewCountLimit) {
        showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(menuText));
        return nullptr;
    }
    QMdiSubWindow* window = addSubWindow(new MidiControlChangeView(nullptr, controller, m_model, sender()), menuText,
                                         "ControlChangeViewSubWindow", true);
    m_controlChangeWindows.append(window);
    window->resize(ControlChangeViewDefaultSize.expandedTo(window->minimumSizeHint()));
    showSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createMidiProgramChangeView(const QString& menuText)
{
    if (openWindowCount(m_programChangeWindows) >= SubWindowCountLimit) {
        showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(menuText));
        return nullptr;
    }
    QMdiSubWindow* window = addSubWindow(new MidiProgramChangeView(nullptr, m_model, sender()), menuText, nullptr, false);
    m_programChangeWindows.append(window);
    window->setFixedSize(window->minimumSizeHint());
    showSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createMidiPitchbendView(const QString& menuText)
{
    if (openWindowCount(m_pitchbendWindows) >= SubWindowCountLimit) {
        showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(menuText));
        return nullptr;
    }
    QMdiSubWindow* window =
        addSubWindow(new MidiPitchbendView(nullptr, m_model, sender()), menuText, "PitchbendViewSubWindow", true);
    m_pitchbendWindows.append(window);
    // Never smaller than what its controls need (fonts differ between systems).
    window->resize(PitchbendViewDefaultSize.expandedTo(window->minimumSizeHint()));
    showSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createMidiTimingClockGeneratorView(const QString& menuText)
{
    QMdiSubWindow* window = addSubWindow(new MidiTimingClockGeneratorView(nullptr, m_model, sender()), menuText,
                                         "TimingClockViewSubWindow", true);
    m_timingClockWindow = window;
    window->resize(TimingClockViewDefaultSize.expandedTo(window->minimumSizeHint()));
    showSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createMidiTransportPanelView(const QString& menuText)
{
    QMdiSubWindow* window = addSubWindow(new MidiTransportPanelView(nullptr, m_model, sender()), menuText,
                                         "TransportPanelViewSubWindow", false);
    m_transportWindow = window;
    window->setFixedSize(std::max(TransportPanelWidth, window->minimumSizeHint().width()),
                         window->minimumSizeHint().height());
    showSubWindow(window);
    m_mdiArea->setActiveSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createMidiActivesensingView(const QString& menuText)
{
    QMdiSubWindow* window = addSubWindow(new MidiActivesensingView(nullptr, m_model, sender()), menuText,
                                         "ActivesenseViewSubWindow", true);
    m_activesensingWindow = window;
    window->resize(ActivesensingViewDefaultSize.expandedTo(window->minimumSizeHint()));
    showSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createMidiCustomMidiMessageView(const QString& menuText)
{
    if (openWindowCount(m_customMessageWindows) >= CustomMIDIMessageViewCountLimit) {
        showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(menuText));
        return nullptr;
    }
    QMdiSubWindow* window = addSubWindow(new MidiCustomMidiMessageView(nullptr, m_model, sender()), menuText,
                                         "CustomMIDIMessageViewSubWindow", true);
    m_customMessageWindows.append(window);
    window->resize(CustomMIDIMessageViewDefaultSize.expandedTo(window->minimumSizeHint()));
    showSubWindow(window);
    return window;
}

void MainWindow::openEditView(int mode, const QSize& size, const QString& text)
{
    createMidiEditView(tr("&System Exclusive"), mode, size, text);
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

QMdiSubWindow* MainWindow::createMidiSettingsView(const QString& menuText)
{
    if (activateExisting(m_settingsWindow)) {
        return m_settingsWindow;
    }
    auto* view = new MidiSettingsView(m_model, m_ports.get());
    connect(m_ports.get(), &PortSet::inputPortListUpdated, view, &MidiSettingsView::portListUpdated);
    connect(m_ports.get(), &PortSet::outputPortListUpdated, view, &MidiSettingsView::portListUpdated);
    QMdiSubWindow* window = addSubWindow(view, menuText, "MIDISettingsViewSubWindow", false);
    const QSize size = MIDISettingsDefaultSize + MIDISettingsHighResolutionOffset;
    window->resize(size);
    window->setMinimumSize(MIDISettingsDefaultSize.width() / 2 + MIDISettingsMinimumSizeOffset.width(),
                           150 + MIDISettingsMinimumSizeOffset.height());
    window->setMaximumSize(size);
    m_settingsWindow = window;
    showSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createPreferencesView(const QString& menuText)
{
    if (activateExisting(m_preferencesWindow)) {
        return m_preferencesWindow;
    }
    QMdiSubWindow* window = addSubWindow(new PreferencesView(nullptr, m_model), menuText, nullptr, false);
    window->setFixedSize(window->minimumSizeHint());
    m_preferencesWindow = window;
    showSubWindow(window);
    return window;
}

QMdiSubWindow* MainWindow::createPCKeyboardView(const QString& menuText)
{
    if (activateExisting(m_pcKeyboardWindow)) {
        return m_pcKeyboardWindow;
    }
    QMdiSubWindow* window = addSubWindow(new MidiPCKeyboardView(nullptr, m_model), menuText, nullptr, false);
    window->setFixedSize(window->minimumSizeHint());
    m_pcKeyboardWindow = window;
    showSubWindow(window);
    return window;
}

void MainWindow::centreOnMainWindow(QWidget* window)
{
    window->move(width() / 2 - window->width() / 2, height() / 2 - window->height() / 2);
}

QMdiSubWindow* MainWindow::createAboutView()
{
    closeAboutDialog();
    auto* view = new AboutView;
    QMdiSubWindow* window = m_mdiArea->addSubWindow(view, Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                              Qt::CustomizeWindowHint |
                                                              Qt::WindowCloseButtonHint);
    m_aboutView = window;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window->setFixedSize(view->size());
    window->installEventFilter(this);
    centreOnMainWindow(window);
    window->show();
    return window;
}

QMdiSubWindow* MainWindow::createTextView(QWidget* view, const QString& menuText)
{
    QMdiSubWindow* window = addSubWindow(view, menuText, nullptr, true);
    window->removeEventFilter(this);  // a text window is neither restorable nor fixed
    window->resize(view->size() + (window->size() - window->contentsRect().size()));
    centreOnMainWindow(window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

QMdiSubWindow* MainWindow::createOpenSourceLicenseView(const QString& menuText)
{
    if (activateExisting(m_licenseWindow)) {
        return m_licenseWindow;
    }
    m_licenseWindow = createTextView(new LicenseInfoView, menuText);
    return m_licenseWindow;
}

QMdiSubWindow* MainWindow::createEULAView(const QString& menuText)
{
    if (activateExisting(m_eulaWindow)) {
        return m_eulaWindow;
    }
    m_eulaWindow = createTextView(new EULAView, menuText);
    return m_eulaWindow;
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

void MainWindow::setSubWindowFactory(WindowRestorationInfo::WindowId id, SubWindowFactory factory)
{
    m_subWindowFactories.insert(id, std::move(factory));
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
    m_filterWindow.clear();
    m_settingsWindow.clear();
    m_preferencesWindow.clear();
    m_pcKeyboardWindow.clear();
    m_licenseWindow.clear();
    m_eulaWindow.clear();
    m_midiInMonitor.clear();
    m_midiOutMonitor.clear();
    m_timingClockWindow.clear();
    m_transportWindow.clear();
    m_activesensingWindow.clear();
    m_systemExclusiveWindows.clear();
    m_keyboardWindows.clear();
    m_customMessageWindows.clear();
    m_controlChangeWindows.clear();
    m_programChangeWindows.clear();
    m_pitchbendWindows.clear();
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
    setWindowGeometry(createMidiEditView(tr("MIDI &In Monitor"), MidiEditView::MidiInMonitor, QSize(), QString()),
                      QRect(QPoint(0, 0), QPoint(338, 274)));
    setWindowGeometry(
        createMidiEditView(tr("MIDI O&ut Monitor"), MidiEditView::MidiOutMonitor, QSize(), QString()),
        QRect(QPoint(338, 0), QPoint(675, 274)));
    setWindowGeometry(
        createMidiEditView(tr("&System Exclusive"), MidiEditView::SystemExclusive, QSize(), QString()),
        QRect(QPoint(0, 274), QPoint(338, 547)));
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
