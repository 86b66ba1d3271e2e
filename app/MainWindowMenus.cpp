// MainWindow: the menu bar and what each menu does. The port menus list
// the endpoints of input and output 1 each time they open.
#include <QActionGroup>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "MainWindow.h"
#include "MidiNameTables.h"
#include "OstrelModel.h"
#include "PortSet.h"
#include "ProjectController.h"
#include "WindowKinds.h"

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

}  // namespace

QMenu* MainWindow::addMenu(const char* title)
{
    return menuBar()->addMenu(tr(title));
}

QAction* MainWindow::addAction(QMenu* menu, const char* text, const char* shortcut,
                               unsigned int index)
{
    QAction* action = menu->addAction(tr(text));
    if (shortcut) {
        action->setShortcut(QKeySequence(tr(shortcut), QKeySequence::NativeText));
    }
    action->setData(index);
    return action;
}

void MainWindow::createMenus()
{
    QMenu* file = addMenu("&File");
    for (const MenuItem& item : FileMenu) {
        if (!item.text) {
            file->addSeparator();
            continue;
        }
        QAction* action = addAction(file, item.text, item.shortcut, item.index);
        // The platform's own keys where it names some (not every one does).
        const QList<QKeySequence> keys = QKeySequence::keyBindings(FileMenuStandardKeys[item.index]);
        if (!keys.isEmpty()) {
            action->setShortcuts(keys);
        }
        if (item.index == OpenFileMenuIndex) {
            m_recentMenu = file->addMenu(tr(RecentMenuText));
            connect(m_recentMenu, &QMenu::aboutToShow, this, &MainWindow::updateRecentMenu);
            connect(m_recentMenu, &QMenu::triggered, this,
                    [this](QAction* chosen) { m_project->openRecent(chosen->data().toString()); });
        }
    }
    connect(file, &QMenu::triggered, this, &MainWindow::fileMenuSelected);

    m_inputPortMenu = addMenu("&InputPort");
    connect(m_inputPortMenu, &QMenu::triggered, this,
            &MainWindow::inputPortChosen);
    connect(m_inputPortMenu, &QMenu::aboutToShow, this, &MainWindow::updateInputPortList);
    m_outputPortMenu = addMenu("&OutputPort");
    connect(m_outputPortMenu, &QMenu::triggered, this,
            &MainWindow::outputPortChosen);
    connect(m_outputPortMenu, &QMenu::aboutToShow, this, &MainWindow::updateOutputPortList);
    updateInputPortList();
    updateOutputPortList();

    QMenu* views = addMenu("&Views");
    for (const MenuItem& item : ViewsMenu) {
        if (!item.text) {
            views->addSeparator();
            continue;
        }
        if (item.index == 3) {
            QMenu* controllers = views->addMenu(tr(item.text));
            for (unsigned int controller = 0; controller < ControlChangeNameCount; controller++) {
                addAction(controllers, ControlChangeNameList[controller], nullptr, controller);
            }
            connect(controllers, &QMenu::triggered, this, &MainWindow::controlChangeMenuSelected);
            continue;
        }
        m_viewsActions.append(addAction(views, item.text, item.shortcut, item.index));
    }

    connect(views, &QMenu::triggered, this, &MainWindow::viewsMenuSelected);

    QMenu* commands = addMenu("&Commands");
    for (const MenuItem& item : CommandsMenu) {
        addAction(commands, item.text, item.shortcut, item.index);
    }
    connect(commands, &QMenu::triggered, this, &MainWindow::commandsMenuSelected);

    QMenu* window = addMenu("&Window");
    for (const MenuItem& item : WindowMenu) {
        addAction(window, item.text, item.shortcut, item.index)->setCheckable(false);
    }
    connect(window, &QMenu::triggered, this, &MainWindow::windowMenuSelected);

    QMenu* help = addMenu("&Help");
    for (const MenuItem& item : HelpMenu) {
        addAction(help, item.text, item.shortcut, item.index)->setCheckable(false);
    }
    connect(help, &QMenu::triggered, this, &MainWindow::helpMenuSelected);
}

void MainWindow::createPortMenu(QMenu* menu, const QStringList& names, const QString& current)
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

void MainWindow::updateInputPortList()
{
    QString current;
    const QStringList names = m_ports->refreshInputNames(current);
    createPortMenu(m_inputPortMenu, names, current);
}

void MainWindow::updateOutputPortList()
{
    QString current;
    const QStringList names = m_ports->refreshOutputNames(current);
    createPortMenu(m_outputPortMenu, names, current);
}

void MainWindow::inputPortChosen(QAction* action)
{
    const int index = action->data().toInt();
    m_ports->inputPortMenuSelected(InputPortGroup_First, static_cast<unsigned int>(index));
    m_model->setModelIntValue(ParamInputPortIndex, index == InvalidPortIndex ? 0 : index + 1);
}

void MainWindow::outputPortChosen(QAction* action)
{
    const int index = action->data().toInt();
    m_ports->outputPortMenuSelected(OutputPortGroup_First, static_cast<unsigned int>(index));
    m_model->setModelIntValue(ParamOutputPortIndex, index == InvalidPortIndex ? 0 : index + 1);
}

void MainWindow::viewsMenuSelected(QAction* action)
{
    // The controller sub-menu's actions reach this menu too: only its own count.
    if (!m_viewsActions.contains(action)) {
        return;
    }
    closeAboutDialog();
    const unsigned int index = action->data().toUInt();
    if (index < sizeof(ViewsMenuWindowIds) / sizeof(ViewsMenuWindowIds[0]) && ViewsMenuWindowIds[index] != 0) {
        openWindow(ViewsMenuWindowIds[index]);
    }
}

void MainWindow::controlChangeMenuSelected(QAction* action)
{
    closeAboutDialog();
    openWindow(WindowRestorationInfo::ControlChangeId, {action->data().toInt(), 0});
}

void MainWindow::helpMenuSelected(QAction* action)
{
    switch (action->data().toUInt()) {
    case 0:
        closeAboutDialog();
        m_windows.make(WindowKinds::AboutId, {});  // a new box each time
        break;
    case 1:
        closeAboutDialog();
        openWindow(WindowKinds::OpenSourceLicenseId);
        break;
    case 2:
        closeAboutDialog();
        openWindow(WindowKinds::EULAId);
        break;
    default:
        break;
    }
}

void MainWindow::commandsMenuSelected(QAction* action)
{
    closeAboutDialog();
    if (action->data().toUInt() == 0) {
        clearAllMidiMonitors();
    }
}

void MainWindow::windowMenuSelected(QAction* action)
{
    closeAboutDialog();
    switch (action->data().toUInt()) {
    case CloseAllIndex:
        m_project->closeAll();
        break;
    case CascadeIndex:
        setUpdatesEnabled(false);
        m_mdiArea->cascadeSubWindows();
        setUpdatesEnabled(true);
        break;
    case TileIndex:
        setUpdatesEnabled(false);
        m_mdiArea->tileSubWindows();
        setUpdatesEnabled(true);
        break;
    default:
        break;
    }
}

void MainWindow::updateRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = m_project->recentProjects();
    for (int i = 0; i < paths.size(); i++) {
        // "&1 name", the whole path in the tip; ampersands in names shown as such.
        const QString name = QFileInfo(paths.at(i)).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        action->setData(paths.at(i));
        action->setToolTip(paths.at(i));
    }
    if (paths.isEmpty()) {
        m_recentMenu->addAction(tr("(none)"))->setEnabled(false);
    }
}

void MainWindow::fileMenuSelected(QAction* action)
{
    if (action->parent() == m_recentMenu) {
        return;  // the recent projects' sub-menu has a handler of its own
    }
    closeAboutDialog();
    switch (action->data().toUInt()) {
    case NewFileMenuIndex:
        m_project->newFile();
        break;
    case OpenFileMenuIndex:
        m_project->openFile(QString());
        break;
    case SaveFileMenuIndex:
        m_project->saveFile();
        break;
    case SaveAsFileMenuIndex:
        m_project->saveAsFile();
        break;
    case PreferencesFileMenuIndex:
        openWindow(WindowKinds::PreferencesId);
        break;
    case QuitFileMenuIndex:
        close();  // asks about unsaved changes, as the close button does
        break;
    default:
        break;
    }
}
