// The one top-level window. It owns, and creates in this order, the
// analyzer, the port set, the bulk interval manager, the sending path every
// window and thread is handed (MidiSender), the project controller, the
// sub-window area and the registry of window kinds; then it opens the stored
// ports and builds the menus. It moves monitored traffic out of the
// analyzer every 100 ms, hosts the monitors and editors, and keeps the
// layout in the INI file.
//
// Threads: everything here runs on the user-interface thread; the sending
// path it owns is called from MIDI thru and the sending threads too (see
// MidiSendPath).
#pragma once

#include <QList>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>

#include <memory>

#include "MidiCommon.h"
#include "MidiEditViewHost.h"
#include "ModelAssistant.h"
#include "NativeEventFilter.h"
#include "WindowRegistry.h"
#include "WindowRestorationInfo.h"

class MidiAnalyzer;
class MidiClient;
class KeyboardNoteEventManager;
class MidiEditView;
class MidiBulkIntervalManager;
class MidiInputPort;
class MidiOutputPort;
class MidiSendPath;
class MidiSender;
class OstrelModel;
class PortSet;
class SubWindowArea;
class ProjectController;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSettings;
enum class MidiApi;

class MainWindow : public QMainWindow,
                   public ModelAssistant,
                   public KeyEventTarget,
                   public MidiEditViewHost {
    Q_OBJECT

public:
    static constexpr QSize MainWindowDefaultSize{679, 548};
    static constexpr int ReceivedMidiDataTimer = 100;  // ms
    static constexpr QSize MidiEditViewDefaultSize{338, 274};
    static constexpr QSize MIDISettingsDefaultSize{500, 230};
    static constexpr int SubWindowCountLimit = 16;
    static constexpr int SystemExclusiveViewCountLimit = 32;
    static constexpr int ControlChangeViewCountLimit = 32;
    static constexpr int CustomMIDIMessageViewCountLimit = 32;

    MainWindow(QWidget* parent, OstrelModel* model, MidiApi api);
    // MainWindowDefaultSize for the window's area below the menu bar, which
    // on Linux is inside the window: the default layout fits without
    // scroll bars.
    QSize defaultSize() const;
    ~MainWindow() override;

    // The ports, and the shortcuts to them every window test uses.
    PortSet* ports() const { return m_ports.get(); }
    MidiInputPort* inputPort(InputPortGroup group) const;
    MidiOutputPort* outputPort(OutputPortGroup group) const;
    MidiClient* midiClient() const;
    MidiAnalyzer* analyzer() const { return m_analyzer.get(); }
    MidiBulkIntervalManager* bulkIntervalManager() const { return m_bulkIntervalManager.get(); }
    MidiSender* sender() override;

    bool transmitNoteOnByKeyDown(unsigned int key) override;
    bool transmitNoteOffByKeyUp(unsigned int key) override;
    void clearKeyboardAllNoteEvent();
    bool closeAboutDialog() override;

    // The MDI area and the mechanics every sub-window shares.
    SubWindowArea* area() const { return m_area; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    QMenu* inputPortMenu() const { return m_inputPortMenu; }
    QMenu* outputPortMenu() const { return m_outputPortMenu; }
    QMenu* recentMenu() const { return m_recentMenu; }

    // The window layout in the INI file: restored, and written back.
    void restoreWindowRegistory();
    void storeWindowPosition();
    void writeMainWindowInfoToRegistry(QSettings& settings);
    void writeSubWindowInfoToRegistry(QSettings& settings);

    // Sub-windows. Every kind is registered by window id (WindowKinds).
    WindowRegistry& windows() { return m_windows; }
    // Opens a window of kind id, made from restoration data (empty from the
    // menus): a one-of-a-kind window already open is brought forward; over
    // the kind's limit, the count-limit warning and null.
    QMdiSubWindow* openWindow(int id, const QList<QVariant>& restorationData = {});
    // The first open window of a kind, or null.
    QMdiSubWindow* openedWindow(int id) { return m_windows.firstOpen(id); }
    // A monitor or system exclusive editor (mode: MidiEditView::OpenMode)
    // with its text; editors count against their kind's limit.
    QMdiSubWindow* createEditor(int mode, const QSize& size, const QString& text);
    // Restores a window as a layout or project stored it; null for an id
    // that is no restorable kind, data the kind refuses, or a full kind.
    QMdiSubWindow* createSubWindowByWindowId(WindowRestorationInfo::WindowId id, bool stayOnTop,
                                             const QRect& rect, Qt::WindowStates state,
                                             const QList<QVariant>& restorationData);
    void setAboutView(QWidget* view) { m_aboutView = view; }
    void closeAllSubWindows();
    void initializeSubWindows();
    // The count-limit warning; while a layout is being restored it is shown
    // once, for the first kind over its limit, when restoring ends.
    void showLimitViewDisplayMessageBox(const QString& name);
    // The editor host: a new editor, and the monitors and editors
    // registering themselves (the Out monitor in the output list,
    // everything else in the input list).
    void openEditView(int mode, const QSize& size, const QString& text) override;
    void addEditView(MidiEditView* view, bool output) override;
    void removeEditView(MidiEditView* view) override;
    void releaseHeldNotes() override { clearKeyboardAllNoteEvent(); }
    const QList<MidiEditView*>& inputViewList() const { return m_inputViews; }
    const QList<MidiEditView*>& outputViewList() const { return m_outputViews; }
    // Clears the MIDI In and Out monitors (editors keep their text).
    void clearAllMidiMonitors();
    // Moves the analyzer's text into the monitors and receiving editors.
    void deliverMonitoredTraffic();
    // A critical box titled "Ostrel".
    void showCriticalMessage(const QString& text) override;
    KeyboardNoteEventManager* noteEventManager() const { return m_noteEventManager.get(); }
    OstrelModel* model() const { return m_model; }

    // Places the main window as a layout or project stored it.
    void restoreMainWindowPlacement(const QRect& rect, Qt::WindowStates state, bool stayOnTop);

    // The project commands, the title and the recovery file.
    ProjectController* project() const { return m_project; }
    bool isOpeningProject() const;
    static QString windowTitleText();

    void updateParameter(unsigned int id) override;

Q_SIGNALS:
    // Every tick: the tempo measured from received timing clocks (tenths of BPM, 0: none).
    void receivedTempoMeasured(unsigned long tempo);

public Q_SLOTS:
    void updateInputPortList();
    void updateOutputPortList();
    void updateRecentMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private Q_SLOTS:
    void fileMenuSelected(QAction* action);
    void viewsMenuSelected(QAction* action);
    void controlChangeMenuSelected(QAction* action);
    void helpMenuSelected(QAction* action);
    void inputPortChosen(QAction* action);
    void outputPortChosen(QAction* action);
    void commandsMenuSelected(QAction* action);
    void windowMenuSelected(QAction* action);

private:
    void createMenus();
    QMenu* addMenu(const char* title);
    QAction* addAction(QMenu* menu, const char* text, const char* shortcut, unsigned int index);
    void createPortMenu(QMenu* menu, const QStringList& names, const QString& current);

    OstrelModel* m_model;
    SubWindowArea* m_area = nullptr;  // a child object
    QMdiArea* m_mdiArea = nullptr;    // the area's, for short
    int m_timerId = 0;
    std::unique_ptr<PortSet> m_ports;
    ProjectController* m_project = nullptr;  // a child object
    QList<QAction*> m_viewsActions;
    std::unique_ptr<MidiAnalyzer> m_analyzer;
    std::unique_ptr<MidiBulkIntervalManager> m_bulkIntervalManager;
    std::unique_ptr<MidiSendPath> m_sendPath;
    std::unique_ptr<KeyboardNoteEventManager> m_noteEventManager;
    bool m_windowsRestored = false;
    bool m_closingDone = false;
    bool m_limitMessageOpen = false;
    bool m_restoringLayout = false;
    QString m_limitReachedDuringRestore;  // the first kind over its limit
    QPointer<QMenu> m_inputPortMenu;
    QPointer<QMenu> m_outputPortMenu;
    QPointer<QMenu> m_recentMenu;
    QPointer<QWidget> m_aboutView;
    WindowRegistry m_windows;
    QList<MidiEditView*> m_inputViews;
    QList<MidiEditView*> m_outputViews;
};
