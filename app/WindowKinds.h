// Every kind of sub-window the main window opens: the restorable ones by
// their window id (with title, limit and how each is made and sized), and
// the windows that are not part of a layout (preferences, the licence
// texts, the About box) under ids of their own below zero. The main window
// registers them all once and opens windows only through its registry.
// User-interface thread.
#pragma once

#include <QList>
#include <QSize>
#include <QVariant>
#include <QString>

class MainWindow;
class QMdiSubWindow;

namespace WindowKinds {

// Sizes and how many windows of a kind may be open.
constexpr QSize MidiEditViewDefaultSize{338, 274};
constexpr QSize MIDISettingsDefaultSize{500, 230};
constexpr int SubWindowCountLimit = 16;
constexpr int SystemExclusiveViewCountLimit = 32;
constexpr int ControlChangeViewCountLimit = 32;
constexpr int CustomMIDIMessageViewCountLimit = 32;

// Windows not kept in layouts or projects.
enum ExtraId { PreferencesId = -1, OpenSourceLicenseId = -2, EULAId = -3, AboutId = -4 };

// Registers every kind with the main window's registry.
void registerAll(MainWindow& main);
// A monitor or system exclusive editor (mode: MidiEditView::OpenMode) with
// the given text; a size not positive in both dimensions gives the default
// size. The caller checks the limit.
QMdiSubWindow* makeEditor(MainWindow& main, int mode, const QSize& size, const QString& text);
// The window id of the monitor an editor mode opens, 0 for an editor.
int monitorId(int mode);
// The restoration data of a control change window names its controller first.
bool restoredController(const QList<QVariant>& restorationData, int& controller);

}  // namespace WindowKinds
