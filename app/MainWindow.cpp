#include "MainWindow.h"

#include "CApplication.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QStandardPaths>

#include "MidiAnalyzer.h"
#include "MidiBulkIntervalManager.h"
#include "MidiClient.h"
#include "KeyboardNoteEventManager.h"
#include "LayoutStore.h"
#include "MonitorFeed.h"
#include "Utility.h"
#include "MidiEditView.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiSendPath.h"
#include "OstrelModel.h"
#include "PortSet.h"
#include "ThruRouter.h"
#include "ProjectController.h"
#include "SettingsStore.h"
#include "SubWindowArea.h"
#include "TrafficStatus.h"
#include "WindowKinds.h"

namespace {

constexpr int OstrelFontSize = 12;

}  // namespace

MainWindow::MainWindow(QWidget* parent, OstrelModel* model, MidiApi api)
    : QMainWindow(parent), m_model(model)
{
    m_model->lockParameterEditFlag();
    setWindowTitle(ProjectController::programName());
    QApplication::setWindowIcon(CApplication::icon());

    QFont applicationFont = font();
    applicationFont.setPixelSize(OstrelFontSize);
    QApplication::setFont(applicationFont);

    QDir().mkpath(QFileInfo(SettingsStore::iniFilePath()).absolutePath());

    m_area = new SubWindowArea(this);
    m_feed = new MonitorFeed(this, m_model);
    MidiAnalyzer* analyzer = m_feed->analyzer();
    m_ports = std::make_unique<PortSet>(api, [this](const QString& text) { showCriticalMessage(text); });
    // Everything a sender or a received message can reach exists before the
    // first port opens.
    m_bulkIntervalManager = std::make_unique<MidiBulkIntervalManager>(m_model);
    m_sendPath = std::make_unique<MidiSendPath>(m_ports->output(OutputPortGroup_First),
                                                m_ports->output(OutputPortGroup_Second),
                                                analyzer, m_bulkIntervalManager.get());
    m_noteEventManager = std::make_unique<KeyboardNoteEventManager>(m_model, m_sendPath.get());
    m_project = new ProjectController(this, m_model, m_sendPath.get());
    m_layout = std::make_unique<LayoutStore>(*this);
    analyzer->setThruSender(m_sendPath.get());
    MidiInputPort* const inputs[2] = {m_ports->input(InputPortGroup_First), m_ports->input(InputPortGroup_Second)};
    MidiOutputPort* const outputs[2] = {m_ports->output(OutputPortGroup_First), m_ports->output(OutputPortGroup_Second)};
    m_thruRouter = std::make_unique<ThruRouter>(*m_ports->client(), inputs, outputs, *analyzer);
    analyzer->setThruSettingsListener([this] { m_thruRouter->update(); });
    connect(m_ports.get(), &PortSet::portsChanged, this, [this] { m_thruRouter->update(); });
    // An input loses what its ring or the service dropped, and messages too long to keep.
    const auto lostOn = [this, analyzer](InputPortGroup group) {
        return m_ports->input(group)->droppedPackets() + analyzer->lostMessages(group);
    };
    m_feed->setLossCounters([lostOn] { return lostOn(InputPortGroup_First); },
                            [lostOn] { return lostOn(InputPortGroup_Second); },
                            [this](TrafficCounts& counts) {
                                const MidiClient* client = m_ports->client();
                                counts.lostOnArrival = client->droppedOnArrival();
                                counts.overruns = client->inputOverruns();
                                counts.skippedCycles = client->skippedCycles();
                                counts.xruns = client->xruns();
                            });
    m_trafficStatus = new TrafficStatus(this);
    statusBar()->addWidget(m_trafficStatus, 1);
    connect(m_feed, &MonitorFeed::trafficCounted, m_trafficStatus, &TrafficStatus::show);
    for (InputPortGroup group : {InputPortGroup_First, InputPortGroup_Second}) {
        m_ports->input(group)->setReceivedMidiCallbackFunc(&MidiAnalyzer::callbackReceivedMidi, analyzer);
    }
    createMenus();
    WindowKinds::registerAll(*this);
    // What the service reports wakes the monitors when they sleep. (The
    // first call that reaches the services: it waits for the system's to
    // open, which went on while the window was built.)
    m_ports->client()->setLossListener([feed = m_feed] { feed->wakeUp(); });
    SettingsStore::read(m_model, m_ports.get());

    if (isMaximized() || isMinimized() || isFullScreen()) {
        showNormal();
    }
    resize(defaultSize());
    m_model->unlockParameterEditFlag();
}

MainWindow::~MainWindow()
{
    SettingsStore::write(m_model);
    // Sub-windows go first, every one of them, shown or not: their sending
    // threads use the sending path and the editors unregister from here.
    QList<QPointer<QMdiSubWindow>> subWindows;
    for (QMdiSubWindow* window : m_area->mdiArea()->findChildren<QMdiSubWindow*>()) {
        subWindows.append(window);
    }
    for (const QPointer<QMdiSubWindow>& window : subWindows) {
        delete window.data();
    }
    m_noteEventManager.reset();  // its held notes are released while the ports exist
    // The input workers end (joined) while the sending path they may be
    // using for MIDI thru still exists.
    m_feed->analyzer()->setThruSender(nullptr);
    m_feed->analyzer()->setThruSettingsListener(nullptr);
    disconnect(m_ports.get(), &PortSet::portsChanged, this, nullptr);
    m_thruRouter.reset();
    m_ports->closeInputs();
    m_sendPath.reset();
    m_ports->client()->setLossListener(nullptr);
    m_ports.reset();
    delete m_feed;  // the analyzer with it, once no port can call it
    m_feed = nullptr;
    m_bulkIntervalManager.reset();
}

QMdiArea* MainWindow::mdiArea() const
{
    return m_area->mdiArea();
}

MidiSender* MainWindow::sender()
{
    return m_sendPath.get();
}

void MainWindow::showCriticalMessage(const QString& text)
{
    closeAboutDialog();
    QMessageBox::critical(this, ProjectController::programName(), text);
}

void MainWindow::showInformationMessage(const QString& text)
{
    closeAboutDialog();
    QMessageBox::information(this, ProjectController::programName(), text);
}

bool MainWindow::transmitNoteOnByKeyDown(unsigned int key)
{
    return m_noteEventManager && m_noteEventManager->trunsmitNoteOnByKeyDown(key);
}

bool MainWindow::transmitNoteOffByKeyUp(unsigned int key)
{
    return m_noteEventManager && m_noteEventManager->trunsmitNoteOffByKeyUp(key);
}

void MainWindow::releaseHeldNotes()
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

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_project->isQuitting() && !m_project->confirmDiscard()) {
        event->ignore();
        return;
    }
    m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
    if (!m_closingDone) {
        m_layout->store();
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
        m_layout->restore();
        m_area->mdiArea()->installEventFilter(this);
        m_area->mdiArea()->viewport()->installEventFilter(this);
    }
}

QSize MainWindow::defaultSize() const
{
    return QSize(679, 548) + QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

QMdiSubWindow* MainWindow::openWindow(int id, const QList<QVariant>& restorationData)
{
    if (!m_windows.has(id)) {
        return nullptr;
    }
    const int limit = m_windows.limit(id);
    if (limit == 1 && m_area->activate(m_windows.firstOpen(id))) {
        return m_windows.firstOpen(id);
    }
    if (m_windows.openCount(id) >= limit) {
        showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(m_windows.title(id)));
        return nullptr;
    }
    return m_windows.make(id, restorationData);
}

QMdiSubWindow* MainWindow::createEditor(int mode, const QSize& size, const QString& text)
{
    if (const int monitor = WindowKinds::monitorId(mode)) {
        return openWindow(monitor);  // one of each, without text
    }
    const int id = WindowRestorationInfo::SystemExclusiveId;
    if (m_windows.openCount(id) >= m_windows.limit(id)) {
        showLimitViewDisplayMessageBox(Utility::removeMenuOfModifierCharacter(m_windows.title(id)));
        return nullptr;
    }
    QMdiSubWindow* window = WindowKinds::makeEditor(*this, mode, size, text);
    m_windows.opened(id, window);
    return window;
}

MidiEditView* MainWindow::openEditView(int mode, const QSize& size, const QString& text)
{
    QMdiSubWindow* window = createEditor(mode, size, text);
    return window ? qobject_cast<MidiEditView*>(window->widget()) : nullptr;
}

void MainWindow::addEditView(MidiEditView* view, bool output)
{
    m_feed->add(view, output);
}

void MainWindow::removeEditView(MidiEditView* view)
{
    if (m_feed) {
        m_feed->remove(view);
    }
}

void MainWindow::closeAllSubWindows()
{
    m_bulkIntervalManager->setEnabledBulkInterval(false);
    m_model->lockParameterEditFlag();
    m_area->mdiArea()->closeAllSubWindows();
    // Closed windows are deleted later: forget them now, so that windows
    // created next are new ones.
    m_windows.forgetAll();
    m_model->unlockParameterEditFlag();
    m_feed->analyzer()->clearTransmittedDataBuffer();
    m_bulkIntervalManager->setEnabledBulkInterval(true);
}

void MainWindow::showLimitViewDisplayMessageBox(const QString& name)
{
    if (m_layout->deferLimitWarning(name) || m_limitMessageOpen) {
        return;
    }
    m_limitMessageOpen = true;
    closeAboutDialog();
    QMessageBox::warning(this, ProjectController::programName(),
                         tr("Unable to open a new %1 View.\nPlease close any opened %1 View "
                            "before trying again.")
                             .arg(name));
    m_limitMessageOpen = false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_area->mdiArea() || watched == m_area->mdiArea()->viewport()) && m_project->handleDrop(event)) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

