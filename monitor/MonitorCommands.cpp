#include "MonitorCommands.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include <functional>

#include "MidiEditGeneralView.h"
#include "MidiEditTextView.h"
#include "MidiEditViewHost.h"
#include "OstrelModel.h"
#include "ReferenceWidget.h"
#include "MidiTime.h"
#include "Utility.h"

namespace {

const char* const FileFilter = "Text Files (*.txt);;All files (*)";
const char* const MidiFileFilter = "Standard MIDI Files (*.mid);;All files (*)";

// A check item that calls on or off when it changes.
void addCheckItem(QMenu* menu, const QString& text, bool checked, QObject* context, const std::function<void()>& on,
                  const std::function<void()>& off)
{
    QAction* action = menu->addAction(text, context, [on, off](bool checkedNow) { checkedNow ? on() : off(); });
    action->setCheckable(true);
    action->setChecked(checked);
}

}  // namespace

MonitorCommands::MonitorCommands(MidiEditGeneralView* page, OstrelModel* model, MidiEditViewHost* host,
                                 bool recordable)
    : QObject(page), m_page(page), m_model(model), m_host(host), m_recordable(recordable)
{
}

MonitorCommands::~MonitorCommands()
{
    // The window is going: the file is ended without a box, whatever happens.
    if (m_recorder.isOpen()) {
        Q_EMIT recordingChanged(false);
        m_recorder.close();
    }
}

void MonitorCommands::addTo(QMenu* menu)
{
    menu->addSeparator();
    addCheckItem(
        menu, tr("&Pause"), m_paused, this, [this] { setPaused(true); }, [this] { setPaused(false); });
    menu->actions().last()->setShortcut(QKeySequence(Qt::Key_Pause));
    menu->addAction(tr("&Find..."), m_page, &MidiEditGeneralView::searchMenuSelected)
        ->setShortcut(QKeySequence(tr("Ctrl+F")));
    menu->addSeparator();
    menu->addAction(tr("Save Text &As..."), this, &MonitorCommands::saveTextAs);
    addCheckItem(
        menu, tr("&Log to File..."), isLogging(), this, [this] { chooseLogFile(); }, [this] { stopLog(); });
    if (m_recordable) {
        addCheckItem(
            menu, tr("&Record..."), isRecording(), this, [this] { chooseRecordFile(); },
            [this] { stopRecording(); });
    }
}

QWidget* MonitorCommands::frame() const
{
    // The page sits in the monitor view, the view in its sub-window.
    QWidget* view = m_page->parentWidget();
    return view ? view->parentWidget() : nullptr;
}

void MonitorCommands::setPaused(bool paused)
{
    if (paused == m_paused) {
        return;
    }
    m_paused = paused;
    m_page->setInsertionHeld(paused);
    if (QWidget* window = frame()) {
        if (paused) {
            m_title = window->windowTitle();
            window->setWindowTitle(m_title + tr(" (paused)"));
        } else {
            window->setWindowTitle(m_title);
        }
    }
}

QString MonitorCommands::askForFile(const QString& caption, const char* filter)
{
    m_host->releaseHeldNotes();
    return Utility::showFileSaveDialog(
        m_page, caption, m_model->getModelStringValue(ParamDumpFileWorkingDirectory, nullptr) + QLatin1Char('/'),
        tr(filter), m_model->getModelDefaultStringValue(ParamDumpFileWorkingDirectory, nullptr));
}

void MonitorCommands::saveTextAs()
{
    const QString path = askForFile(tr("Save Text As"), FileFilter);
    if (!path.isEmpty()) {
        saveText(path);
    }
}

bool MonitorCommands::saveText(const QString& path)
{
    QString text = m_page->textWithPending();
    if (!text.isEmpty()) {
        text += QLatin1Char('\n');
    }
    if (!Utility::saveAtTextFileName(path, text)) {
        m_host->showCriticalMessage(tr("File save failed."));
        return false;
    }
    return true;
}

void MonitorCommands::chooseLogFile()
{
    const QString path = askForFile(tr("Log to File"), FileFilter);
    if (!path.isEmpty()) {
        startLog(path);
    }
}

void MonitorCommands::sayLater(const QString& text)
{
    // A box runs its own event loop: inside the feed's delivery it would let
    // the next delivery begin before this one ended.
    QMetaObject::invokeMethod(this, [this, text] { m_host->showCriticalMessage(text); }, Qt::QueuedConnection);
}

void MonitorCommands::checkFiles()
{
    if (m_log.isOpen() && m_log.failed()) {
        const QString error = m_log.error();
        m_log.close();
        sayLater(tr("Logging to %1 stopped: %2.").arg(QDir::toNativeSeparators(m_log.path()), error));
    }
}

bool MonitorCommands::startLog(const QString& path)
{
    if (!m_log.open(path)) {
        m_host->showCriticalMessage(tr("File save failed."));
        return false;
    }
    return true;
}

void MonitorCommands::stopLog()
{
    m_log.close();
}

void MonitorCommands::chooseRecordFile()
{
    const QString path = askForFile(tr("Record"), MidiFileFilter);
    if (!path.isEmpty()) {
        startRecording(path);
    }
}

bool MonitorCommands::startRecording(const QString& path)
{
    stopRecording();
    if (!m_recorder.open(path, getHostTimeInNanoseconds())) {
        m_recorder.close();
        m_host->showCriticalMessage(tr("File save failed."));
        return false;
    }
    m_recordPath = path;
    Q_EMIT recordingChanged(true);
    return true;
}

bool MonitorCommands::stopRecording()
{
    if (!m_recorder.isOpen()) {
        return true;
    }
    Q_EMIT recordingChanged(false);
    if (!m_recorder.isOpen()) {
        return false;  // the last batch failed to write: said already
    }
    if (!m_recorder.close()) {
        m_host->showCriticalMessage(tr("File save failed."));
        return false;
    }
    return true;
}

void MonitorCommands::record(const MidiAnalyzer::Recording& recording)
{
    if (!m_recorder.isOpen()) {
        return;
    }
    for (const MidiAnalyzer::RecordedMessage& message : recording.messages) {
        m_recorder.add(message.hostTime, recording.bytes.data() + message.offset, message.length, message.parsed);
    }
    if (!m_recorder.sync()) {
        recordingFailed();
    }
}

void MonitorCommands::recordingFailed()
{
    const QString error = m_recorder.error();
    m_recorder.close();
    Q_EMIT recordingChanged(false);
    sayLater(tr("Recording to %1 stopped: %2.").arg(QDir::toNativeSeparators(m_recordPath), error));
}
