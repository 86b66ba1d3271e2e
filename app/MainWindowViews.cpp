// MainWindow: each kind of sub-window, how it is created (sizes, limits,
// the one-of-a-kind windows brought forward) and registered for
// restoration by window id.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "AboutView.h"
#include "EULAView.h"
#include "LicenseInfoView.h"
#include "MainWindow.h"
#include "MidiActivesensingView.h"
#include "MidiControlChangeView.h"
#include "MidiCustomMidiMessageView.h"
#include "MidiEditView.h"
#include "MidiFilterView.h"
#include "MidiKeyboardView.h"
#include "MidiPCKeyboardView.h"
#include "MidiPitchbendView.h"
#include "MidiProgramChangeView.h"
#include "MidiSettingsView.h"
#include "MidiTimingClockGeneratorView.h"
#include "MidiTransportPanelView.h"
#include "PortSet.h"
#include "PreferencesView.h"
#include "Utility.h"

namespace {

constexpr QSize MIDISettingsHighResolutionOffset{3, 3};
constexpr QSize MIDISettingsMinimumSizeOffset{20, 20};
constexpr int KeyboardWindowMinimumWidth = 350;
constexpr QSize CustomMIDIMessageViewDefaultSize{338, 274};
constexpr QSize ControlChangeViewDefaultSize{225, 250};
constexpr QSize PitchbendViewDefaultSize{220, 274};
constexpr QSize TimingClockViewDefaultSize{220, 250};
constexpr QSize ActivesensingViewDefaultSize{220, 250};
constexpr int TransportPanelWidth = 338;
constexpr int KeyboardWindowWidthMargin = 5;

}  // namespace

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
