// MainWindow: the menu bar and what each menu does. The port menus list
// the endpoints of input and output 1 each time they open.
#include <QActionGroup>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "MainWindow.h"
#include "MonitorFeed.h"
#include "SubWindowArea.h"
#include "TrafficStatus.h"
#include "MidiNameTables.h"
#include "OstrelModel.h"
#include "PortSet.h"
#include "ProjectController.h"
#include "WindowKinds.h"
#include "WindowRestorationInfo.h"

namespace {

enum FileMenuIndex {
    NewFileMenuIndex = 0,
    OpenFileMenuIndex = 1,
    SaveFileMenuIndex = 2,
    SaveAsFileMenuIndex = 3,
    PreferencesFileMenuIndex = 4,
    QuitFileMenuIndex = 5,
};

// The desktop's own keys for the file commands; where a platform names none,
// the keys in the table below stand.
const QKeySequence::StandardKey FileMenuStandardKeys[] = {QKeySequence::New, QKeySequence::Open, QKeySequence::Save,
                                                          QKeySequence::SaveAs, QKeySequence::UnknownKey,
                                                          QKeySequence::Quit};

struct MenuItem {
    const char* text;  // null: a separator
    const char* shortcut;
    unsigned int index;
};

const MenuItem FileMenu[] = {{"&New", "Ctrl+N", 0},  {"&Open...", "Ctrl+O", 1},          {"&Save", "Ctrl+S", 2},
                             {"Save &As...", "Shift+Ctrl+S", 3}, {nullptr, nullptr, 0},
                             {"&Preferences...", "Ctrl+,", 4},   {nullptr, nullptr, 0}, {"&Quit", "Ctrl+Q", 5}};
const char* const RecentMenuText = "Open &Recent";

const MenuItem ViewsMenu[] = {
    {"MIDI &In Monitor", "Ctrl+I", 0}, {"MIDI O&ut Monitor", "Ctrl+U", 1},
    {"&Keyboard", "Ctrl+K", 2},        {"&Control Change", nullptr, 3},
    {"&Program Change", "Ctrl+P", 4},  {"Pitch &Bend", "Ctrl+B", 5},
    {"&System Exclusive", "Ctrl+E", 6}, {"&Timing Clock", "Ctrl+T", 7},
    {"Sta&rt/Stop", "Ctrl+1", 8},      {"&Active Sensing", "Ctrl+J", 9},
    {"Cust&om MIDI Message", "Ctrl+2", 10}, {nullptr, nullptr, 0},
    {"&Filter", "Ctrl+L", 11},         {"&MIDI Settings", "Ctrl+M", 12},
    {"PC Keyboar&d", "Ctrl+D", 13}};

const MenuItem CommandsMenu[] = {{"&Clear All MIDI Monitors", "Ctrl+Shift+D", 0}};
const MenuItem WindowMenu[] = {{"Close &All", nullptr, 0}, {"&Cascade", nullptr, 1},
                               {"&Tile", nullptr, 2}};
const MenuItem HelpMenu[] = {{"&About", nullptr, 0},
                             {"&Open Source License", nullptr, 1},
                             {"&Software User License Agreement", nullptr, 2}};

enum WindowMenuIndex { CloseAllIndex = 0, CascadeIndex = 1, TileIndex = 2 };
// The window each Views menu entry opens, by the entry's index (3, the
// control change sub-menu, has its own handler).
const int ViewsMenuWindowIds[] = {
    WindowRestorationInfo::MidiInMonitorId,  WindowRestorationInfo::MidiOutMonitorId,
    WindowRestorationInfo::KeyboardId,       0,
    WindowRestorationInfo::ProgramChangeId,  WindowRestorationInfo::PitchbendId,
    WindowRestorationInfo::SystemExclusiveId, WindowRestorationInfo::TimingClockId,
    WindowRestorationInfo::TransportPanelId, WindowRestorationInfo::ActivesensingId,
    WindowRestorationInfo::CustomMidiMessageId, WindowRestorationInfo::FilterId,
    WindowRestorationInfo::MidiSettingsId,   WindowRestorationInfo::PCKeyboardId,
};

QAction* addMenuItem(QMenu* menu, const char* text, const char* shortcut, unsigned int index)
{
    QAction* action = menu->addAction(QCoreApplication::translate("MainWindow", text));
    if (shortcut) {
        action->setShortcut(QKeySequence(QCoreApplication::translate("MainWindow", shortcut), QKeySequence::NativeText));
    }
    action->setData(index);
    return action;
}

// A port menu: "No Assign" and every endpoint, the current one checked.
void fillPortMenu(QMenu* menu, const QStringList& names, const QString& current)
{
    menu->clear();
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    QAction* none = menu->addAction(QString::fromLatin1(NoAssign));
    none->setData(InvalidPortIndex);
    none->setCheckable(true);
    group->addAction(none);
    bool found = false;
    for (int i = 0; i < names.size(); i++) {
        QAction* action = menu->addAction(names.at(i));
        action->setData(i);
        action->setCheckable(true);
        group->addAction(action);
        if (!found && names.at(i) == current) {
            action->setChecked(true);
            found = true;
        }
    }
    if (!found) {
        none->setChecked(true);
    }
}

void refreshPortMenu(MainWindow& main, QMenu* menu, bool input)
{
    QString current;
    const QStringList names =
        input ? main.ports()->refreshInputNames(current) : main.ports()->refreshOutputNames(current);
    fillPortMenu(menu, names, current);
}

void portChosen(MainWindow& main, QAction* action, bool input)
{
    const int index = action->data().toInt();
    const auto port = static_cast<unsigned int>(index);
    if (input) {
        main.ports()->inputPortMenuSelected(InputPortGroup_First, port);
    } else {
        main.ports()->outputPortMenuSelected(OutputPortGroup_First, port);
    }
    main.model()->setModelIntValue(input ? ParamInputPortIndex : ParamOutputPortIndex,
                                   index == InvalidPortIndex ? 0 : index + 1);
}

void fillRecentMenu(MainWindow& main, QMenu* menu)
{
    menu->clear();
    const QStringList paths = main.project()->recentProjects();
    for (int i = 0; i < paths.size(); i++) {
        // "&1 name", the whole path in the tip; ampersands in names shown as such.
        const QString name = QFileInfo(paths.at(i)).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        action->setData(paths.at(i));
        action->setToolTip(paths.at(i));
    }
    if (paths.isEmpty()) {
        menu->addAction(QCoreApplication::translate("MainWindow", "(none)"))->setEnabled(false);
    }
}

void fileCommand(MainWindow& main, unsigned int index)
{
    ProjectController* project = main.project();
    switch (index) {
    case NewFileMenuIndex:
        project->newFile();
        break;
    case OpenFileMenuIndex:
        project->openFile(QString());
        break;
    case SaveFileMenuIndex:
        project->saveFile();
        break;
    case SaveAsFileMenuIndex:
        project->saveAsFile();
        break;
    case PreferencesFileMenuIndex:
        main.openWindow(WindowKinds::PreferencesId);
        break;
    case QuitFileMenuIndex:
        main.close();  // asks about unsaved changes, as the close button does
        break;
    default:
        break;
    }
}

void helpCommand(MainWindow& main, unsigned int index)
{
    if (index == 0) {
        main.windows().make(WindowKinds::AboutId, {});  // a new box each time
    } else if (index <= 2) {
        main.openWindow(index == 1 ? WindowKinds::OpenSourceLicenseId : WindowKinds::EULAId);
    }
}

void windowCommand(MainWindow& main, unsigned int index)
{
    if (index == CloseAllIndex) {
        main.project()->closeAll();
        return;
    }
    main.setUpdatesEnabled(false);
    if (index == CascadeIndex) {
        main.area()->mdiArea()->cascadeSubWindows();
    } else if (index == TileIndex) {
        main.area()->mdiArea()->tileSubWindows();
    }
    main.setUpdatesEnabled(true);
}

}  // namespace

QMenu* MainWindow::addMenu(const char* title, const std::function<void(unsigned int)>& chosen)
{
    QMenu* menu = menuBar()->addMenu(tr(title));
    if (chosen) {
        connect(menu, &QMenu::triggered, this, [this, menu, chosen](QAction* action) {
            if (action->parent() != menu) {
                return;  // a sub-menu's action: the sub-menu has a handler of its own
            }
            closeAboutDialog();
            chosen(action->data().toUInt());
        });
    }
    return menu;
}

void MainWindow::createMenus()
{
    QMenu* file = addMenu("&File", [this](unsigned int index) { fileCommand(*this, index); });
    for (const MenuItem& item : FileMenu) {
        if (!item.text) {
            file->addSeparator();
            continue;
        }
        QAction* action = addMenuItem(file, item.text, item.shortcut, item.index);
        // The platform's own keys where it names some (not every one does).
        const QList<QKeySequence> keys = QKeySequence::keyBindings(FileMenuStandardKeys[item.index]);
        if (!keys.isEmpty()) {
            action->setShortcuts(keys);
        }
        if (item.index == OpenFileMenuIndex) {
            m_recentMenu = file->addMenu(tr(RecentMenuText));
            connect(m_recentMenu, &QMenu::aboutToShow, this, [this] { fillRecentMenu(*this, m_recentMenu); });
            connect(m_recentMenu, &QMenu::triggered, this,
                    [this](QAction* chosen) { m_project->openRecent(chosen->data().toString()); });
        }
    }
    for (const bool input : {true, false}) {
        QMenu* menu = addMenu(input ? "&InputPort" : "&OutputPort", nullptr);
        connect(menu, &QMenu::triggered, this, [this, input](QAction* action) { portChosen(*this, action, input); });
        // Filled as it opens: listing the ports waits for the service, which
        // is still opening while the window is built.
        connect(menu, &QMenu::aboutToShow, this, [this, menu, input] { refreshPortMenu(*this, menu, input); });
        (input ? m_inputPortMenu : m_outputPortMenu) = menu;
    }

    QMenu* views = addMenu("&Views", [this](unsigned int index) {
        if (index < sizeof(ViewsMenuWindowIds) / sizeof(ViewsMenuWindowIds[0]) && ViewsMenuWindowIds[index] != 0) {
            openWindow(ViewsMenuWindowIds[index]);
        }
    });
    for (const MenuItem& item : ViewsMenu) {
        if (!item.text) {
            views->addSeparator();
        } else if (item.index == 3) {
            QMenu* controllers = views->addMenu(tr(item.text));
            for (unsigned int controller = 0; controller < ControlChangeNameCount; controller++) {
                addMenuItem(controllers, ControlChangeNameList[controller], nullptr, controller);
            }
            connect(controllers, &QMenu::triggered, this, [this](QAction* action) {
                closeAboutDialog();
                openWindow(WindowRestorationInfo::ControlChangeId, {action->data().toInt(), 0});
            });
        } else {
            addMenuItem(views, item.text, item.shortcut, item.index);
        }
    }
    QMenu* commands = addMenu("&Commands", [this](unsigned int) {
        m_feed->clearMonitors();
        m_trafficStatus->resetLosses();
    });
    for (const MenuItem& item : CommandsMenu) {
        addMenuItem(commands, item.text, item.shortcut, item.index);
    }
    QMenu* window = addMenu("&Window", [this](unsigned int index) { windowCommand(*this, index); });
    for (const MenuItem& item : WindowMenu) {
        addMenuItem(window, item.text, item.shortcut, item.index);
    }
    QMenu* help = addMenu("&Help", [this](unsigned int index) { helpCommand(*this, index); });
    for (const MenuItem& item : HelpMenu) {
        addMenuItem(help, item.text, item.shortcut, item.index);
    }
}
