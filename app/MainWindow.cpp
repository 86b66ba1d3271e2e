#include "MainWindow.h"

#include <algorithm>

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>

#include "MidiAnalyzer.h"
#include "MidiBulkIntervalManager.h"
#include "MidiClient.h"
#include "MidiEditGeneralView.h"
#include "KeyboardNoteEventManager.h"
#include "MidiEditView.h"
#include "MidiTimingClockGeneratorView.h"
#include "MidiInputPort.h"
#include "MidiNameTables.h"
#include "MidiOutputPort.h"
#include "MidiSendPath.h"
#include "MidiTime.h"
#include "OstrelModel.h"
#include "PortSet.h"
#include "ProjectController.h"
#include "SettingsStore.h"
#include "Utility.h"

namespace {

const char* const WindowTitle = "Ostrel";
constexpr int OstrelFontSize = 12;

struct MenuItem {
    const char* text;  // null: a separator
    const char* shortcut;
    unsigned int index;
};

const MenuItem FileMenu[] = {{"&New", "Ctrl+N", 0},         {"&Open...", "Ctrl+O", 1},
                             {"&Save", "Ctrl+S", 2},        {"Save &As...", "Shift+Ctrl+S", 3},
                             {nullptr, nullptr, 0},         {"&Preferences...", "Ctrl+,", 4}};

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
enum ViewsMenuIndex {
    MidiInMonitorViewsMenuIndex = 0,
    MidiOutMonitorViewsMenuIndex = 1,
    KeyboardViewsMenuIndex = 2,
    ProgramChangeViewsMenuIndex = 4,
    PitchbendViewsMenuIndex = 5,
    SystemExclusiveViewsMenuIndex = 6,
    TimingClockViewsMenuIndex = 7,
    TransportViewsMenuIndex = 8,
    ActivesensingViewsMenuIndex = 9,
    CustomMessageViewsMenuIndex = 10,
    FilterViewsMenuIndex = 11,
    MidiSettingsViewsMenuIndex = 12,
    PCKeyboardViewsMenuIndex = 13,
};

// An analyzer text as Latin-1, up to its first NUL; with a line limit only
// its last lines (each begins with a line break), which is all a monitor
// keeps: a burst of megabytes costs the user interface no more than that.
QString latin1Text(const QByteArray& bytes, int lineLimit = 0)
{
    const int length = static_cast<int>(qstrnlen(bytes.constData(), bytes.size()));
    int start = 0;
    if (lineLimit > 0) {
        int position = length;
        for (int lines = 0; lines <= lineLimit && position > 0; lines++) {  // one spare
            position = bytes.lastIndexOf('\n', position - 1);
        }
        start = std::max(position, 0);
    }
    return QString::fromLatin1(bytes.constData() + start, length - start);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent, OstrelModel* model, MidiApi api)
    : QMainWindow(parent), m_model(model)
{
    m_model->lockParameterEditFlag();
    setWindowTitle(QString::fromLatin1(WindowTitle));

    QFont applicationFont = font();
    applicationFont.setPixelSize(OstrelFontSize);
    QApplication::setFont(applicationFont);

    QDir().mkpath(QFileInfo(SettingsStore::iniFilePath()).absolutePath());

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setAcceptDrops(true);
    m_mdiArea->viewport()->setAcceptDrops(true);
    setCentralWidget(m_mdiArea);
    m_analyzer = std::make_unique<MidiAnalyzer>(m_model);
    m_ports = std::make_unique<PortSet>(api, [this](const QString& text) { showCriticalMessage(text); });
    // Everything a sender or a received message can reach exists before the
    // first port opens.
    m_bulkIntervalManager = std::make_unique<MidiBulkIntervalManager>(m_model);
    m_sendPath = std::make_unique<MidiSendPath>(m_ports->output(OutputPortGroup_First),
                                                m_ports->output(OutputPortGroup_Second),
                                                m_analyzer.get(), m_bulkIntervalManager.get());
    m_noteEventManager = std::make_unique<KeyboardNoteEventManager>(m_model, m_sendPath.get());
    m_project = new ProjectController(this, m_model, m_sendPath.get());
    m_analyzer->setThruSender(m_sendPath.get());
    for (InputPortGroup group : {InputPortGroup_First, InputPortGroup_Second}) {
        m_ports->input(group)->setReceivedMidiCallbackFunc(&MidiAnalyzer::callbackReceivedMidi, m_analyzer.get());
    }
    createMenus();
    registerSubWindowKinds();
    SettingsStore::read(m_model, m_ports.get());

    if (isMaximized() || isMinimized() || isFullScreen()) {
        showNormal();
    }
    resize(MainWindowDefaultSize);
    m_timerId = startTimer(ReceivedMidiDataTimer, Qt::CoarseTimer);
    m_model->registerModelAssistant(this);
    m_model->unlockParameterEditFlag();
}

MainWindow::~MainWindow()
{
    killTimer(m_timerId);
    m_model->unregisterModelAssistant(this);
    SettingsStore::write(m_model);
    // Sub-windows go first, every one of them, shown or not: their sending
    // threads use the sending path and the editors unregister from here.
    QList<QPointer<QMdiSubWindow>> subWindows;
    for (QMdiSubWindow* window : m_mdiArea->findChildren<QMdiSubWindow*>()) {
        subWindows.append(window);
    }
    for (const QPointer<QMdiSubWindow>& window : subWindows) {
        delete window.data();
    }
    m_noteEventManager.reset();  // its held notes are released while the ports exist
    // The input workers end (joined) while the sending path they may be
    // using for MIDI thru still exists.
    m_analyzer->setThruSender(nullptr);
    m_ports->closeInputs();
    m_sendPath.reset();
    m_ports.reset();
    m_analyzer.reset();
    m_bulkIntervalManager.reset();
}

MidiSender* MainWindow::sender()
{
    return m_sendPath.get();
}

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
        addAction(file, item.text, item.shortcut, item.index);
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

MidiInputPort* MainWindow::inputPort(InputPortGroup group) const
{
    return m_ports->input(group);
}

MidiOutputPort* MainWindow::outputPort(OutputPortGroup group) const
{
    return m_ports->output(group);
}

MidiClient* MainWindow::midiClient() const
{
    return m_ports->client();
}

void MainWindow::showCriticalMessage(const QString& text)
{
    closeAboutDialog();
    QMessageBox::critical(this, QString::fromLatin1(WindowTitle), text);
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

bool MainWindow::transmitMidi(const unsigned char* bytes, unsigned short length,
                              unsigned char eventType, OutputPortGroup group,
                              bool skipBulkInterval, bool, unsigned long long hostTime)
{
    return m_sendPath->send(bytes, length, eventType, group, skipBulkInterval, hostTime);
}

bool MainWindow::transmitNoteOnByKeyDown(unsigned int key)
{
    return m_noteEventManager && m_noteEventManager->trunsmitNoteOnByKeyDown(key);
}

bool MainWindow::transmitNoteOffByKeyUp(unsigned int key)
{
    return m_noteEventManager && m_noteEventManager->trunsmitNoteOffByKeyUp(key);
}

void MainWindow::clearKeyboardAllNoteEvent()
{
    if (m_noteEventManager) {
        m_noteEventManager->clearAllNoteEvent();
    }
}

bool MainWindow::closeAboutDialog()
{
    if (!m_aboutView) {
        return false;
    }
    delete m_aboutView;
    return true;
}

QList<QMdiSubWindow*> MainWindow::getSubWindowList() const
{
    return m_mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
}

void MainWindow::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timerId) {
        return;
    }
    deliverMonitoredTraffic();
    m_analyzer->updateTempo(ReceivedMidiDataTimer * 1000);
    if (m_timingClockWindow) {
        if (auto* view = qobject_cast<MidiTimingClockGeneratorView*>(m_timingClockWindow->widget())) {
            view->setReceivedTimingClock(m_analyzer->getReceivedTimingClock());
        }
    }
}

void MainWindow::deliverMonitoredTraffic()
{
    QByteArray inText, sysExText, outText;
    unsigned int inCount = 0, sysExCount = 0, outCount = 0;
    // Taken out every tick, whether or not a window shows it, so that the
    // analyzer's buffers never grow without bound.
    if (!m_analyzer->getMidiData(inText, inCount, sysExText, sysExCount, outText, outCount)) {
        return;
    }
    // Each text is converted once, and only when a window takes it.
    const int limit = MidiEditGeneralView::MonitorViewLineLimit;
    QString in, sysEx, out;
    bool inReady = false, sysExReady = false;
    if (!m_outputViews.isEmpty()) {
        out = latin1Text(outText, limit);
    }
    // A view may close itself while it handles text: walk copies.
    for (MidiEditView* view : QList<MidiEditView*>(m_outputViews)) {
        view->insertText(out);
    }
    for (MidiEditView* view : QList<MidiEditView*>(m_inputViews)) {
        if (!view->isReceiveEnabled()) {
            continue;
        }
        if (view->isMonitor()) {
            if (!inReady) {
                in = latin1Text(inText, limit);
                inReady = true;
            }
            view->receivedMessage(in, inCount);
        } else {
            if (!sysExReady) {
                sysEx = latin1Text(sysExText);
                sysExReady = true;
            }
            view->receivedMessage(sysEx, sysExCount);
        }
    }
}

void MainWindow::clearAllMidiMonitors()
{
    for (QMdiSubWindow* window : {m_midiInMonitor.data(), m_midiOutMonitor.data()}) {
        if (auto* view = window ? qobject_cast<MidiEditView*>(window->widget()) : nullptr) {
            view->clearText();
        }
    }
}

void MainWindow::viewsMenuSelected(QAction* action)
{
    // The controller sub-menu's actions reach this menu too: only its own count.
    if (!m_viewsActions.contains(action)) {
        return;
    }
    closeAboutDialog();
    switch (action->data().toUInt()) {
    case MidiInMonitorViewsMenuIndex:
        if (!activateExisting(m_midiInMonitor)) {
            createMidiEditView(action->text(), MidiEditView::MidiInMonitor, QSize(), QString());
        }
        break;
    case MidiOutMonitorViewsMenuIndex:
        if (!activateExisting(m_midiOutMonitor)) {
            createMidiEditView(action->text(), MidiEditView::MidiOutMonitor, QSize(), QString());
        }
        break;
    case KeyboardViewsMenuIndex:
        createMidiKeyboardView(action->text());
        break;
    case ProgramChangeViewsMenuIndex:
        createMidiProgramChangeView(action->text());
        break;
    case PitchbendViewsMenuIndex:
        createMidiPitchbendView(action->text());
        break;
    case SystemExclusiveViewsMenuIndex:
        createMidiEditView(action->text(), MidiEditView::SystemExclusive, QSize(), QString());
        break;
    case TimingClockViewsMenuIndex:
        if (!activateExisting(m_timingClockWindow)) {
            createMidiTimingClockGeneratorView(action->text());
        }
        break;
    case TransportViewsMenuIndex:
        if (!activateExisting(m_transportWindow)) {
            createMidiTransportPanelView(action->text());
        }
        break;
    case ActivesensingViewsMenuIndex:
        if (!activateExisting(m_activesensingWindow)) {
            createMidiActivesensingView(action->text());
        }
        break;
    case CustomMessageViewsMenuIndex:
        createMidiCustomMidiMessageView(action->text());
        break;
    case FilterViewsMenuIndex:
        createMidiFilterView(action->text());
        break;
    case MidiSettingsViewsMenuIndex:
        createMidiSettingsView(action->text());
        break;
    case PCKeyboardViewsMenuIndex:
        createPCKeyboardView(action->text());
        break;
    default:
        break;
    }
}

void MainWindow::controlChangeMenuSelected(QAction* action)
{
    closeAboutDialog();
    createMidiControlChangeView(tr("&Control Change"), static_cast<unsigned char>(action->data().toUInt()));
}

void MainWindow::helpMenuSelected(QAction* action)
{
    switch (action->data().toUInt()) {
    case 0:
        createAboutView();
        break;
    case 1:
        closeAboutDialog();
        createOpenSourceLicenseView(action->text());
        break;
    case 2:
        closeAboutDialog();
        createEULAView(action->text());
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

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_project->isQuitting() && !m_project->confirmDiscard()) {
        event->ignore();
        return;
    }
    m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
    if (!m_closingDone) {
        storeWindowPosition();
        closeAllSubWindows();
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) {
        m_closingDone = true;
    }
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_windowsRestored) {
        m_windowsRestored = true;
        restoreWindowRegistory();
        m_mdiArea->installEventFilter(this);
        m_mdiArea->viewport()->installEventFilter(this);
    }
}

QString MainWindow::windowTitleText()
{
    return QStringLiteral("Ostrel");
}

void MainWindow::updateParameter(unsigned int id)
{
    if (id == ParamEditFlag) {
        m_project->updateTitle();
    }
}

void MainWindow::fileMenuSelected(QAction* action)
{
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
        createPreferencesView(action->text());
        break;
    default:
        break;
    }
}

bool MainWindow::isOpeningProject() const
{
    return m_project->isOpeningProject();
}
