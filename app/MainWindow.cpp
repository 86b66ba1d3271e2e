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
#include <QStandardPaths>

#include "MidiAnalyzer.h"
#include "MidiBulkIntervalManager.h"
#include "MidiClient.h"
#include "KeyboardNoteEventManager.h"
#include "MidiEditGeneralView.h"
#include "MidiEditView.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiSendPath.h"
#include "MidiTime.h"
#include "OstrelModel.h"
#include "PortSet.h"
#include "ProjectController.h"
#include "SettingsStore.h"
#include "SubWindowArea.h"
#include "WindowKinds.h"

namespace {

const char* const WindowTitle = "Ostrel";
constexpr int OstrelFontSize = 12;

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
    QApplication::setWindowIcon(CApplication::icon());

    QFont applicationFont = font();
    applicationFont.setPixelSize(OstrelFontSize);
    QApplication::setFont(applicationFont);

    QDir().mkpath(QFileInfo(SettingsStore::iniFilePath()).absolutePath());

    m_area = new SubWindowArea(this);
    m_mdiArea = m_area->mdiArea();
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
    WindowKinds::registerAll(*this);
    SettingsStore::read(m_model, m_ports.get());

    if (isMaximized() || isMinimized() || isFullScreen()) {
        showNormal();
    }
    resize(defaultSize());
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

void MainWindow::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timerId) {
        return;
    }
    deliverMonitoredTraffic();
    m_analyzer->updateTempo(ReceivedMidiDataTimer * 1000);
    Q_EMIT receivedTempoMeasured(m_analyzer->getReceivedTimingClock());
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
    for (QMdiSubWindow* window : {openedWindow(WindowRestorationInfo::MidiInMonitorId),
                                  openedWindow(WindowRestorationInfo::MidiOutMonitorId)}) {
        if (auto* view = window ? qobject_cast<MidiEditView*>(window->widget()) : nullptr) {
            view->clearText();
        }
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

bool MainWindow::isOpeningProject() const
{
    return m_project->isOpeningProject();
}

QSize MainWindow::defaultSize() const
{
    return MainWindowDefaultSize + QSize(0, menuBar()->sizeHint().height());
}
