#include "WindowKinds.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVariant>

#include <algorithm>

#include "AboutView.h"
#include "EULAView.h"
#include "LicenseInfoView.h"
#include "MainWindow.h"
#include "MonitorFeed.h"
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
#include "SubWindowArea.h"
#include "PreferencesView.h"
#include "Utility.h"
#include "WindowRegistry.h"
#include "WindowRestorationInfo.h"

namespace {

using Id = WindowRestorationInfo::WindowId;
using Data = QList<QVariant>;

constexpr QSize MIDISettingsHighResolutionOffset{3, 3};
constexpr QSize MIDISettingsMinimumSizeOffset{20, 20};
constexpr int KeyboardWindowMinimumWidth = 350;
constexpr int KeyboardWindowWidthMargin = 5;
constexpr QSize CustomMIDIMessageViewDefaultSize{338, 274};
constexpr QSize ControlChangeViewDefaultSize{225, 250};
constexpr QSize PitchbendViewDefaultSize{220, 274};
constexpr QSize TimingClockViewDefaultSize{220, 250};
constexpr QSize ActivesensingViewDefaultSize{220, 250};
constexpr int TransportPanelWidth = 338;

// A window of its view's own fixed size and the frame around it.
QMdiSubWindow* fixedWindow(MainWindow& main, QWidget* view, const QString& title)
{
    QMdiSubWindow* window = main.area()->add(view, title, nullptr, false);
    SubWindowArea::fixSize(window);
    main.area()->show(window);
    return window;
}

// A resizable window never smaller than what its controls need (fonts
// differ between systems).
QMdiSubWindow* sizedWindow(MainWindow& main, QWidget* view, const QString& title, const char* objectName,
                           QSize size)
{
    QMdiSubWindow* window = main.area()->add(view, title, objectName, true);
    window->resize(size.expandedTo(window->minimumSizeHint()));
    main.area()->show(window);
    return window;
}

QMdiSubWindow* keyboardWindow(MainWindow& main, const QString& title)
{
    QMdiSubWindow* window = main.area()->add(new MidiKeyboardView(nullptr, main.model(), main.sender()), title,
                                              "KeyboardSubWindow", false);
    // Its natural height only; as wide as the user likes, up to the whole keyboard.
    const int height = window->sizeHint().height();
    window->setMinimumSize(KeyboardWindowMinimumWidth, height);
    window->setMaximumSize(MidiKeyboardView::KeyboardViewSize.width() + KeyboardWindowWidthMargin, height);
    window->resize(std::clamp(window->sizeHint().width(), KeyboardWindowMinimumWidth, window->maximumWidth()),
                   height);
    main.area()->show(window);
    return window;
}

QMdiSubWindow* transportWindow(MainWindow& main, const QString& title)
{
    QMdiSubWindow* window = main.area()->add(new MidiTransportPanelView(nullptr, main.model(), main.sender()),
                                              title, "TransportPanelViewSubWindow", false);
    window->setFixedSize(std::max(TransportPanelWidth, window->minimumSizeHint().width()),
                         window->minimumSizeHint().height());
    main.area()->show(window);
    main.mdiArea()->setActiveSubWindow(window);
    return window;
}

QMdiSubWindow* settingsWindow(MainWindow& main, const QString& title)
{
    auto* view = new MidiSettingsView(main.model(), main.ports());
    QObject::connect(main.ports(), &PortSet::inputPortListUpdated, view, &MidiSettingsView::portListUpdated);
    QObject::connect(main.ports(), &PortSet::outputPortListUpdated, view, &MidiSettingsView::portListUpdated);
    QMdiSubWindow* window = main.area()->add(view, title, "MIDISettingsViewSubWindow", false);
    // The documented size, or what the contents need with the frame where
    // the font is larger: no scroll bar at first.
    const QSize frame = window->size() - window->contentsRect().size();
    const QSize size = (WindowKinds::MIDISettingsDefaultSize + MIDISettingsHighResolutionOffset)
                           .expandedTo(view->contentSize() + frame);
    window->resize(size);
    window->setMinimumSize(WindowKinds::MIDISettingsDefaultSize.width() / 2 + MIDISettingsMinimumSizeOffset.width(),
                           150 + MIDISettingsMinimumSizeOffset.height());
    window->setMaximumSize(size);
    main.area()->show(window);
    return window;
}

// A licence text: neither restorable nor fixed, centred, gone when closed.
QMdiSubWindow* textWindow(MainWindow& main, QWidget* view, const QString& title)
{
    QMdiSubWindow* window = main.area()->add(view, title, nullptr, true);
    window->removeEventFilter(main.area());
    window->resize(view->size() + (window->size() - window->contentsRect().size()));
    main.area()->centre(window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

// The About box: frameless, on top, centred; any click closes it.
QMdiSubWindow* aboutWindow(MainWindow& main)
{
    auto* view = new AboutView;
    QMdiSubWindow* window = main.mdiArea()->addSubWindow(
        view, Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    main.setAboutView(window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window->setFixedSize(view->size());
    main.area()->centre(window);
    window->show();
    return window;
}

}  // namespace

namespace WindowKinds {

bool restoredController(const QList<QVariant>& restorationData, int& controller)
{
    bool valid = restorationData.size() >= 2;
    controller = valid ? restorationData.first().toInt(&valid) : -1;
    return valid && controller >= 0 && controller < MidiControlChangeView::ControlChangeMax;
}

int monitorId(int mode)
{
    switch (mode) {
    case MidiEditView::MidiInMonitor:
        return Id::MidiInMonitorId;
    case MidiEditView::MidiOutMonitor:
        return Id::MidiOutMonitorId;
    default:
        return 0;
    }
}

QMdiSubWindow* makeEditor(MainWindow& main, int mode, const QSize& size, const QString& text)
{
    const auto openMode = static_cast<MidiEditView::OpenMode>(mode);
    const char* title = openMode == MidiEditView::MidiInMonitor    ? "MIDI &In Monitor"
                        : openMode == MidiEditView::MidiOutMonitor ? "MIDI O&ut Monitor"
                                                                   : "&System Exclusive";
    auto* view = new MidiEditView(nullptr, main.model(), &main, openMode, text);
    QMdiSubWindow* window = main.area()->add(view, MainWindow::tr(title), "MidiEditViewSubWindow", true);
    if (size.width() > 0 && size.height() > 0) {
        window->resize(size + (window->size() - window->contentsRect().size()));
    } else {
        window->resize(WindowKinds::MidiEditViewDefaultSize);
    }
    main.area()->show(window);
    return window;
}

// A monitor is an editor too: while the editors are at their limit, none
// opens (the warning names the monitor).
QMdiSubWindow* monitorWindow(MainWindow& main, int mode)
{
    WindowRegistry& kinds = main.windows();
    if (kinds.openCount(Id::SystemExclusiveId) >= kinds.limit(Id::SystemExclusiveId)) {
        main.showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(kinds.title(monitorId(mode))));
        return nullptr;
    }
    return makeEditor(main, mode, QSize(), QString());
}

void registerAll(MainWindow& main)
{
    WindowRegistry& kinds = main.windows();
    OstrelModel* model = main.model();
    MidiSender* sender = main.sender();
    MainWindow* m = &main;
    const auto tr = [](const char* text) { return MainWindow::tr(text); };
    kinds.add(Id::MidiInMonitorId, tr("MIDI &In Monitor"), 1,
              [m](const Data&) { return monitorWindow(*m, MidiEditView::MidiInMonitor); });
    kinds.add(Id::MidiOutMonitorId, tr("MIDI O&ut Monitor"), 1,
              [m](const Data&) { return monitorWindow(*m, MidiEditView::MidiOutMonitor); });
    kinds.add(Id::SystemExclusiveId, tr("&System Exclusive"), WindowKinds::SystemExclusiveViewCountLimit,
              [m](const Data&) { return makeEditor(*m, MidiEditView::SystemExclusive, QSize(), QString()); });
    kinds.add(Id::KeyboardId, tr("&Keyboard"), WindowKinds::SubWindowCountLimit,
              [m, tr](const Data&) { return keyboardWindow(*m, tr("&Keyboard")); });
    // The controller comes first in the restoration data; a window stored
    // without it is skipped.
    kinds.add(Id::ControlChangeId, tr("&Control Change"), WindowKinds::ControlChangeViewCountLimit,
              [m, model, sender, tr](const Data& data) -> QMdiSubWindow* {
                  int controller = 0;
                  if (!restoredController(data, controller)) {
                      return nullptr;
                  }
                  return sizedWindow(*m,
                                     new MidiControlChangeView(nullptr, static_cast<unsigned char>(controller),
                                                               model, sender),
                                     tr("&Control Change"), "ControlChangeViewSubWindow",
                                     ControlChangeViewDefaultSize);
              });
    kinds.add(Id::ProgramChangeId, tr("&Program Change"), WindowKinds::SubWindowCountLimit,
              [m, model, sender, tr](const Data&) {
                  return fixedWindow(*m, new MidiProgramChangeView(nullptr, model, sender), tr("&Program Change"));
              });
    kinds.add(Id::PitchbendId, tr("Pitch &Bend"), WindowKinds::SubWindowCountLimit,
              [m, model, sender, tr](const Data&) {
                  return sizedWindow(*m, new MidiPitchbendView(nullptr, model, sender), tr("Pitch &Bend"),
                                     "PitchbendViewSubWindow", PitchbendViewDefaultSize);
              });
    kinds.add(Id::TimingClockId, tr("&Timing Clock"), 1, [m, model, sender, tr](const Data&) {
        auto* view = new MidiTimingClockGeneratorView(nullptr, model, sender);
        QObject::connect(m->feed(), &MonitorFeed::receivedTempoMeasured, view,
                         &MidiTimingClockGeneratorView::setReceivedTimingClock);
        return sizedWindow(*m, view, tr("&Timing Clock"), "TimingClockViewSubWindow", TimingClockViewDefaultSize);
    });
    kinds.add(Id::TransportPanelId, tr("Sta&rt/Stop"), 1,
              [m, tr](const Data&) { return transportWindow(*m, tr("Sta&rt/Stop")); });
    kinds.add(Id::ActivesensingId, tr("&Active Sensing"), 1, [m, model, sender, tr](const Data&) {
        return sizedWindow(*m, new MidiActivesensingView(nullptr, model, sender), tr("&Active Sensing"),
                           "ActivesenseViewSubWindow", ActivesensingViewDefaultSize);
    });
    kinds.add(Id::CustomMidiMessageId, tr("Cust&om MIDI Message"), WindowKinds::CustomMIDIMessageViewCountLimit,
              [m, model, sender, tr](const Data&) {
                  return sizedWindow(*m, new MidiCustomMidiMessageView(nullptr, model, sender),
                                     tr("Cust&om MIDI Message"), "CustomMIDIMessageViewSubWindow",
                                     CustomMIDIMessageViewDefaultSize);
              });
    kinds.add(Id::PCKeyboardId, tr("PC Keyboar&d"), 1, [m, model, tr](const Data&) {
        return fixedWindow(*m, new MidiPCKeyboardView(nullptr, model), tr("PC Keyboar&d"));
    });
    kinds.add(Id::FilterId, tr("&Filter"), 1,
              [m, model, tr](const Data&) { return fixedWindow(*m, new MidiFilterView(model), tr("&Filter")); });
    kinds.add(Id::MidiSettingsId, tr("&MIDI Settings"), 1,
              [m, tr](const Data&) { return settingsWindow(*m, tr("&MIDI Settings")); });
    kinds.add(PreferencesId, tr("&Preferences..."), 1, [m, model, tr](const Data&) {
        return fixedWindow(*m, new PreferencesView(nullptr, model), tr("&Preferences..."));
    });
    kinds.add(OpenSourceLicenseId, tr("&Open Source License"), 1,
              [m, tr](const Data&) { return textWindow(*m, new LicenseInfoView, tr("&Open Source License")); });
    kinds.add(EULAId, tr("&Software User License Agreement"), 1, [m, tr](const Data&) {
        return textWindow(*m, new EULAView, tr("&Software User License Agreement"));
    });
    kinds.add(AboutId, QString(), 1, [m](const Data&) { return aboutWindow(*m); });
}

}  // namespace WindowKinds
