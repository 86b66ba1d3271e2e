// The one top-level window: the menus and the sub-window area. It owns, and
// creates before the first port opens, the monitor feed (with the analyzer),
// the port set, the bulk interval manager, the sending path every window and
// thread is handed, the project controller, the layout store and the
// registry of window kinds (WindowKinds registers them).
//
// Threads: user-interface thread; the sending path it owns is called from
// MIDI thru and the sending threads too (see MidiSendPath).
#pragma once

#include <QMainWindow>
#include <QMenu>
#include <QPointer>

#include <functional>
#include <memory>

#include "MidiEditViewHost.h"
#include "NativeEventFilter.h"
#include "WindowRegistry.h"

class KeyboardNoteEventManager;
class LayoutStore;
class QMdiArea;
class MidiBulkIntervalManager;
class MidiSendPath;
class ThruRouter;
class MonitorFeed;
class OstrelModel;
class PortSet;
class ProjectController;
class SubWindowArea;
class TrafficStatus;
enum class MidiApi;

class MainWindow : public QMainWindow, public KeyEventTarget, public MidiEditViewHost {
    Q_OBJECT

public:
    MainWindow(QWidget* parent, OstrelModel* model, MidiApi api);
    ~MainWindow() override;
    // 679 x 548 between the menu bar (on Linux inside the window) and the status bar.
    QSize defaultSize() const;

    OstrelModel* model() const { return m_model; }
    PortSet* ports() const { return m_ports.get(); }
    ThruRouter* thruRouter() const { return m_thruRouter.get(); }
    MonitorFeed* feed() const { return m_feed; }
    ProjectController* project() const { return m_project; }
    LayoutStore* layout() const { return m_layout.get(); }
    SubWindowArea* area() const { return m_area; }
    QMdiArea* mdiArea() const;
    WindowRegistry& windows() { return m_windows; }
    MidiBulkIntervalManager* bulkIntervalManager() const { return m_bulkIntervalManager.get(); }
    KeyboardNoteEventManager* noteEventManager() const { return m_noteEventManager.get(); }
    TrafficStatus* trafficStatus() const { return m_trafficStatus; }
    QMenu* inputPortMenu() const { return m_inputPortMenu; }
    QMenu* outputPortMenu() const { return m_outputPortMenu; }
    QMenu* recentMenu() const { return m_recentMenu; }

    // A window of kind id from restoration data (none from the menus): an
    // open one-of-a-kind window is brought forward; over the kind's limit,
    // the count-limit warning and null.
    QMdiSubWindow* openWindow(int id, const QList<QVariant>& restorationData = {});
    QMdiSubWindow* openedWindow(int id) { return m_windows.firstOpen(id); }
    // A monitor or editor (mode: MidiEditView::OpenMode) with its text.
    QMdiSubWindow* createEditor(int mode, const QSize& size, const QString& text);
    void closeAllSubWindows();
    // Said once per layout restore, after it ends; titled "Ostrel".
    void showLimitViewDisplayMessageBox(const QString& name);
    void setAboutView(QWidget* view) { m_aboutView = view; }

    // KeyEventTarget and MidiEditViewHost.
    bool transmitNoteOnByKeyDown(unsigned int key) override;
    bool transmitNoteOffByKeyUp(unsigned int key) override;
    bool closeAboutDialog() override;
    MidiSender* sender() override;
    MidiEditView* openEditView(int mode, const QSize& size, const QString& text) override;
    void addEditView(MidiEditView* view, bool output) override;
    void removeEditView(MidiEditView* view) override;
    void releaseHeldNotes() override;
    void showCriticalMessage(const QString& text) override;
    void showInformationMessage(const QString& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createMenus();
    QMenu* addMenu(const char* title, const std::function<void(unsigned int)>& chosen);

    OstrelModel* m_model;
    SubWindowArea* m_area = nullptr;         // child objects
    MonitorFeed* m_feed = nullptr;
    TrafficStatus* m_trafficStatus = nullptr;
    ProjectController* m_project = nullptr;
    std::unique_ptr<PortSet> m_ports;
    std::unique_ptr<MidiBulkIntervalManager> m_bulkIntervalManager;
    std::unique_ptr<MidiSendPath> m_sendPath;
    std::unique_ptr<ThruRouter> m_thruRouter;
    std::unique_ptr<KeyboardNoteEventManager> m_noteEventManager;
    std::unique_ptr<LayoutStore> m_layout;
    WindowRegistry m_windows;
    bool m_windowsRestored = false;
    bool m_closingDone = false;
    bool m_limitMessageOpen = false;
    QPointer<QMenu> m_inputPortMenu;
    QPointer<QMenu> m_outputPortMenu;
    QPointer<QMenu> m_recentMenu;
    QPointer<QWidget> m_aboutView;
};
