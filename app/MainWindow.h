// The one top-level window. Owns the port set (the MIDI client and the four
// ports), the analyzer, the bulk interval manager and the sending path every window and
// thread is handed (MidiSender); builds the menu bar; opens ports from the
// port menus; moves monitored traffic out of the analyzer every 100 ms;
// keeps the sub-windows (kinds, limits, normal rectangles). It is the host
// of the monitors and editors.
//
// Threads: everything here runs on the user-interface thread except
// transmitMidi and the sending path, which MIDI thru (input workers) and
// the sending threads call too; they take no lock of their own and hold
// none across a port's send.
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>

#include "MidiCommon.h"
#include "MidiEditViewHost.h"
#include "ModelAssistant.h"
#include "NativeEventFilter.h"
#include "WindowRestorationInfo.h"

class MidiAnalyzer;
class KeyboardNoteEventManager;
class MidiEditView;
class MidiBulkIntervalManager;
class MidiClient;
class MidiInputPort;
class MidiOutputPort;
class MidiSendPath;
class MidiSender;
class OstrelModel;
class PortSet;
class ProjectController;
class QAction;
class QActionGroup;
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
    // The title bar's maximize button of a sub-window.
    static constexpr QRect MaximizeButtonAreaOfSubWindow{QPoint(45, 0), QPoint(66, 19)};

    enum FileMenuIndex {
        NewFileMenuIndex = 0,
        OpenFileMenuIndex = 1,
        SaveFileMenuIndex = 2,
        SaveAsFileMenuIndex = 3,
        PreferencesFileMenuIndex = 4,
    };

    MainWindow(QWidget* parent, OstrelModel* model, MidiApi api);
    ~MainWindow() override;

    // Sends one message on one output group or both (OutputPortGroup_Both),
    // pausing for the bulk interval after system exclusive unless skipped,
    // and reports what was sent to the analyzer. True when a port sent it.
    // The same as sender()->send; hostTime 0 is now.
    bool transmitMidi(const unsigned char* bytes, unsigned short length, unsigned char eventType,
                      OutputPortGroup group, bool skipBulkInterval, bool reserved,
                      unsigned long long hostTime);

    // The ports, and the shortcuts to them every window test uses.
    PortSet* ports() const { return m_ports.get(); }
    MidiInputPort* inputPort(InputPortGroup group) const;
    MidiOutputPort* outputPort(OutputPortGroup group) const;
    MidiClient* midiClient() const;
    MidiAnalyzer* analyzer() const { return m_analyzer.get(); }
    MidiSender* sender() override;

    bool transmitNoteOnByKeyDown(unsigned int key) override;
    bool transmitNoteOffByKeyUp(unsigned int key) override;
    void clearKeyboardAllNoteEvent();
    bool closeAboutDialog() override;

    QList<QMdiSubWindow*> getSubWindowList() const;
    QMdiArea* mdiArea() const { return m_mdiArea; }
    QMenu* inputPortMenu() const { return m_inputPortMenu; }
    QMenu* outputPortMenu() const { return m_outputPortMenu; }

    // The window layout in the INI file: restored, and written back.
    void restoreWindowRegistory();
    void storeWindowPosition();
    void writeMainWindowInfoToRegistry(QSettings& settings);
    void writeSubWindowInfoToRegistry(QSettings& settings);

    // Sub-windows. Each kind that exists registers how it is created for
    // restoration; createSubWindowByWindowId gives null for any other id.
    using SubWindowFactory = std::function<QMdiSubWindow*(const QList<QVariant>& restorationData)>;
    void setSubWindowFactory(WindowRestorationInfo::WindowId id, SubWindowFactory factory);
    // The steps every create operation shares: the view goes into the MDI
    // area with its object name, title from the menu text, no stay-on-top
    // entry, no maximizing unless allowed, and this window as its event
    // filter. The caller applies the size rule, then showSubWindow.
    QMdiSubWindow* addSubWindow(QWidget* view, const QString& menuText, const char* objectName,
                                bool maximizable);
    // Remembers the normal rectangle and shows the window.
    void showSubWindow(QMdiSubWindow* window);
    QMdiSubWindow* createSubWindowByWindowId(WindowRestorationInfo::WindowId id, bool stayOnTop,
                                             const QRect& rect, Qt::WindowStates state,
                                             const QList<QVariant>& restorationData);
    void setWindowGeometry(QWidget* window, const QRect& rect);
    void closeAllSubWindows();
    void initializeSubWindows();
    static bool isFixedSizeObject(const QObject* object);
    bool isNormalWindowState(QWidget* window) const;
    QRect getNormalRect(QWidget* window) const;
    static QRect getMainWindowRestorationRect(const QRect& rect);
    // A stored rectangle made safe to use: no larger than the screens'
    // available area, and no further off it than that area's size.
    static QRect boundedToScreens(const QRect& rect);
    // How many windows of a kind may be open at once (one for the kinds that
    // open once and are then brought forward), and whether the kind exists.
    static int subWindowLimit(WindowRestorationInfo::WindowId id);
    bool hasSubWindowKind(int id) const { return m_subWindowFactories.contains(id); }
    // The controller a control change window's restoration data names.
    static bool restoredController(const QList<QVariant>& restorationData, int& controller);
    // The count-limit warning; while a layout is being restored it is shown
    // once, for the first kind over its limit, when restoring ends.
    void showLimitViewDisplayMessageBox(const QString& name);
    // The window kinds that exist; each opens once and is then brought forward.
    QMdiSubWindow* createMidiFilterView(const QString& menuText);
    // A monitor or system exclusive editor (mode: MidiEditView::OpenMode);
    // a size not positive in both dimensions gives the default size. Null
    // when 32 editors are open.
    QMdiSubWindow* createMidiEditView(const QString& menuText, int mode, const QSize& size,
                                      const QString& text);
    // A keyboard window; null when 16 are open.
    QMdiSubWindow* createMidiKeyboardView(const QString& menuText);
    // A control change window for controller; null when 32 are open.
    QMdiSubWindow* createMidiControlChangeView(const QString& menuText, unsigned char controller);
    // A program change or pitch bend window; null when 16 of the kind are open.
    QMdiSubWindow* createMidiProgramChangeView(const QString& menuText);
    QMdiSubWindow* createMidiPitchbendView(const QString& menuText);
    // The one timing clock window (a second call brings it forward).
    QMdiSubWindow* createMidiTimingClockGeneratorView(const QString& menuText);
    QMdiSubWindow* timingClockWindow() const { return m_timingClockWindow; }
    // The one start/stop and the one active sensing window.
    QMdiSubWindow* createMidiTransportPanelView(const QString& menuText);
    QMdiSubWindow* createMidiActivesensingView(const QString& menuText);
    QMdiSubWindow* transportWindow() const { return m_transportWindow; }
    QMdiSubWindow* activesensingWindow() const { return m_activesensingWindow; }
    // A custom message window; null when 32 are open.
    QMdiSubWindow* createMidiCustomMidiMessageView(const QString& menuText);
    // The editor host: a new editor, and the monitors and editors
    // registering themselves (the Out monitor in the output list,
    // everything else in the input list).
    void openEditView(int mode, const QSize& size, const QString& text) override;
    void addEditView(MidiEditView* view, bool output) override;
    void removeEditView(MidiEditView* view) override;
    void releaseHeldNotes() override { clearKeyboardAllNoteEvent(); }
    const QList<MidiEditView*>& inputViewList() const { return m_inputViews; }
    const QList<MidiEditView*>& outputViewList() const { return m_outputViews; }
    QMdiSubWindow* midiInMonitorWindow() const { return m_midiInMonitor; }
    QMdiSubWindow* midiOutMonitorWindow() const { return m_midiOutMonitor; }
    // Clears the MIDI In and Out monitors (editors keep their text).
    void clearAllMidiMonitors();
    // Moves the analyzer's text into the monitors and receiving editors.
    void deliverMonitoredTraffic();
    // A critical box titled "Ostrel".
    void showCriticalMessage(const QString& text) override;
    QMdiSubWindow* createMidiSettingsView(const QString& menuText);
    QMdiSubWindow* createPreferencesView(const QString& menuText);
    QMdiSubWindow* createPCKeyboardView(const QString& menuText);
    KeyboardNoteEventManager* noteEventManager() const { return m_noteEventManager.get(); }
    QMdiSubWindow* createAboutView();
    QMdiSubWindow* createOpenSourceLicenseView(const QString& menuText);
    QMdiSubWindow* createEULAView(const QString& menuText);

    // Places the main window as a layout or project stored it.
    void restoreMainWindowPlacement(const QRect& rect, Qt::WindowStates state, bool stayOnTop);

    // The project commands, the title and the recovery file.
    ProjectController* project() const { return m_project; }
    bool isOpeningProject() const;
    static QString windowTitleText();

    void updateParameter(unsigned int id) override;

public Q_SLOTS:
    void updateInputPortList();
    void updateOutputPortList();

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
    bool activateExisting(QMdiSubWindow* window);
    void centreOnMainWindow(QWidget* window);
    QMdiSubWindow* createTextView(QWidget* view, const QString& menuText);
    void registerSubWindowKinds();
    bool eventFilterForSubWindows(QObject* watched, QEvent* event);
    // Forgets the closed windows of a kind; the number still open.
    static int openWindowCount(QList<QPointer<QMdiSubWindow>>& windows);

    OstrelModel* m_model;
    QMdiArea* m_mdiArea = nullptr;
    int m_timerId = 0;
    std::unique_ptr<PortSet> m_ports;
    ProjectController* m_project = nullptr;  // a child object
    QList<QAction*> m_viewsActions;
    std::unique_ptr<MidiAnalyzer> m_analyzer;
    std::unique_ptr<MidiBulkIntervalManager> m_bulkIntervalManager;
    std::unique_ptr<MidiSendPath> m_sendPath;
    std::unique_ptr<KeyboardNoteEventManager> m_noteEventManager;
    bool m_windowsRestored = false;
    QHash<QWidget*, QRect> m_normalRects;
    QHash<int, SubWindowFactory> m_subWindowFactories;
    bool m_closingDone = false;
    bool m_limitMessageOpen = false;
    bool m_restoringLayout = false;
    QString m_limitReachedDuringRestore;  // the first kind over its limit
    QPointer<QMenu> m_inputPortMenu;
    QPointer<QMenu> m_outputPortMenu;
    QPointer<QWidget> m_aboutView;
    QPointer<QMdiSubWindow> m_filterWindow;
    QPointer<QMdiSubWindow> m_settingsWindow;
    QPointer<QMdiSubWindow> m_preferencesWindow;
    QPointer<QMdiSubWindow> m_pcKeyboardWindow;
    QPointer<QMdiSubWindow> m_licenseWindow;
    QPointer<QMdiSubWindow> m_eulaWindow;
    QPointer<QMdiSubWindow> m_midiInMonitor;
    QPointer<QMdiSubWindow> m_timingClockWindow;
    QPointer<QMdiSubWindow> m_transportWindow;
    QPointer<QMdiSubWindow> m_activesensingWindow;
    QPointer<QMdiSubWindow> m_midiOutMonitor;
    QList<QPointer<QMdiSubWindow>> m_systemExclusiveWindows;
    QList<QPointer<QMdiSubWindow>> m_keyboardWindows;
    QList<QPointer<QMdiSubWindow>> m_customMessageWindows;
    QList<QPointer<QMdiSubWindow>> m_controlChangeWindows;
    QList<QPointer<QMdiSubWindow>> m_programChangeWindows;
    QList<QPointer<QMdiSubWindow>> m_pitchbendWindows;
    QList<MidiEditView*> m_inputViews;
    QList<MidiEditView*> m_outputViews;
};
