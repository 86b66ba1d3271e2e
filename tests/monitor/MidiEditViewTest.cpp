// The monitor and system exclusive editor windows inside the running main
// window, with the loopback from output 1 back to input 1: the default
// layout, monitors fed by the timer, receiving editors, transmission with
// its pages, repeat, dump files, drops and the project file.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <memory>

#include "BoxAnswer.h"
#include "CheckBox.h"
#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "MonitorFeed.h"
#include "MonitorCommands.h"
#include "MidiAnalyzer.h"
#include "WindowKinds.h"
#include "ProjectController.h"
#include "PortSet.h"
#include "MidiEditGeneralView.h"
#include "MidiEditProgressView.h"
#include "MidiEditRepeatMessageView.h"
#include "MidiEditRepeatTransmittionThread.h"
#include "MidiEditTextView.h"
#include "MidiEditView.h"
#include "MidiInputPort.h"
#include "OstrelModel.h"
#include "LoopbackWindowFixture.h"
#include "PacketCollector.h"
#include "ReferenceWidget.h"
#include "RepeatSettingsView.h"
#include "SpinBox.h"
#include "Utility.h"

namespace {

MidiEditView* editView(QMdiSubWindow* window)
{
    return window ? qobject_cast<MidiEditView*>(window->widget()) : nullptr;
}

QString textOf(MidiEditView* view)
{
    return view->generalView()->textView()->toPlainText();
}

// A drag or drop of the given files onto a widget; true when accepted.
bool dragEnter(QWidget* target, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    return event.isAccepted() && event.dropAction() != Qt::IgnoreAction;
}

// As a real drag does: enter, then drop on the same widget.
void drop(QWidget* target, const QList<QUrl>& urls)
{
    dragEnter(target, urls);
    QMimeData mime;
    mime.setUrls(urls);
    QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

class MidiEditViewTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:

    QList<MidiEditView*> editors() const
    {
        QList<MidiEditView*> list;
        for (MidiEditView* view : m_window->feed()->inputViews()) {
            if (!view->isMonitor()) {
                list.append(view);
            }
        }
        return list;
    }

    // The main window's action of that text; null if none.
    QAction* action(const QString& text) const
    {
        for (QAction* candidate : m_window->findChildren<QAction*>()) {
            if (candidate->text() == text) {
                return candidate;
            }
        }
        return nullptr;
    }

    // The context menu's entry of that text: -1 none, else whether it is checked.
    static int menuEntry(MidiEditView* view, const QString& text)
    {
        std::unique_ptr<QMenu> menu = view->generalView()->textView()->createContextMenu();
        for (QAction* entry : menu->actions()) {
            if (entry->text() == text) {
                return entry->isChecked() ? 1 : 0;
            }
        }
        return -1;
    }
    static bool menuHas(MidiEditView* view, const QString& text) { return menuEntry(view, text) >= 0; }
    static bool menuCheck(MidiEditView* view, const QString& text) { return menuEntry(view, text) == 1; }

    MidiEditView* newEditor(const QString& text = QString(), int mode = MidiEditView::SystemExclusive)
    {
        return editView(m_window->createEditor(mode, QSize(), text));
    }

    MidiEditView* inMonitor() const { return editView(m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId)); }
    MidiEditView* outMonitor() const { return editView(m_window->openedWindow(WindowRestorationInfo::MidiOutMonitorId)); }

    // Sends text as the editor's Transmit does and waits until it ended.
    void transmitAndWait(MidiEditView* view, const QString& text)
    {
        view->transmitMessage(text);
        QTRY_COMPARE_WITH_TIMEOUT(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 0, 10000);
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        startWindow(DefaultLayout);
        QVERIFY(m_window->ports()->inputPortMenuSelected(InputPortGroup_First, 0));    // and back in
        m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
    }

    void cleanup() { stopWindow(); }

    void defaultLayoutAndTheViewsMenu()
    {
        const QList<QMdiSubWindow*> windows = m_window->mdiArea()->subWindowList();
        QCOMPARE(windows.size(), 3);
        QCOMPARE(m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId)->windowTitle(), QString("MIDI In Monitor"));
        QCOMPARE(m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId)->geometry(), QRect(QPoint(0, 0), QPoint(338, 274)));
        QCOMPARE(m_window->openedWindow(WindowRestorationInfo::MidiOutMonitorId)->windowTitle(), QString("MIDI Out Monitor"));
        QCOMPARE(m_window->openedWindow(WindowRestorationInfo::MidiOutMonitorId)->geometry(), QRect(QPoint(338, 0), QPoint(675, 274)));
        QCOMPARE(editors().size(), 1);
        QMdiSubWindow* editorWindow = qobject_cast<QMdiSubWindow*>(editors().first()->parentWidget());
        QCOMPARE(editorWindow->windowTitle(), QString("System Exclusive"));
        QCOMPARE(editorWindow->geometry(), QRect(QPoint(0, 274), QPoint(338, 547)));
        QVERIFY(m_window->feed()->outputViews() == QList<MidiEditView*>{outMonitor()});

        // The Views menu: a monitor that exists is brought forward, editors add up.
        QAction* inAction = action("MIDI &In Monitor");
        inAction->trigger();
        QCOMPARE(m_window->mdiArea()->subWindowList().size(), 3);
        QCOMPARE(m_window->mdiArea()->activeSubWindow(), m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId));
        action("&System Exclusive")->trigger();
        QCOMPARE(editors().size(), 2);
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);  // a new editor
        QCOMPARE(m_window->mdiArea()->subWindowList().last()->size(), WindowKinds::MidiEditViewDefaultSize);

        // 32 editors at most; while they are open not even a monitor opens.
        while (editors().size() < WindowKinds::SystemExclusiveViewCountLimit) {
            QVERIFY(newEditor());
        }
        {
            BoxAnswer answer(QMessageBox::Ok);
            QVERIFY(!newEditor());
            QTRY_COMPARE(answer.texts.size(), 1);
            QVERIFY(answer.texts.first().contains("Unable to open a new System Exclusive View."));
        }
        m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId)->close();
        QTRY_VERIFY(!m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId));
        {
            BoxAnswer answer(QMessageBox::Ok);
            inAction->trigger();
            QVERIFY(!m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId));
        }
        m_window->closeAllSubWindows();
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
        QTRY_VERIFY(m_window->feed()->inputViews().isEmpty() && m_window->feed()->outputViews().isEmpty());
    }

    void monitorsShowTrafficAndClear()
    {
        MidiEditView* editor = editors().first();
        transmitAndWait(editor, "90 3C 40\nF0 7E 7F 06 01 F7");
        QTRY_VERIFY(textOf(inMonitor()).contains("F0 7E 7F 06 01 F7"));
        QTRY_VERIFY(textOf(outMonitor()).contains("F0 7E 7F 06 01 F7"));
        QVERIFY(textOf(inMonitor()).startsWith("90 3C 40"));
        // Received system exclusive goes to listening editors only.
        QVERIFY(textOf(editor).isEmpty());
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);

        // Shift+D clears a monitor; Commands > Clear All clears both, editors keep theirs.
        editor->generalView()->setText("F0 01 F7");
        QTest::keyClick(inMonitor()->generalView()->textView(), Qt::Key_D, Qt::ShiftModifier);
        QVERIFY(textOf(inMonitor()).isEmpty() && !textOf(outMonitor()).isEmpty());
        action("&Clear All MIDI Monitors")->trigger();
        QVERIFY(textOf(outMonitor()).isEmpty());
        QCOMPARE(textOf(editor), QString("F0 01 F7"));
        // A font size change reaches the monitors.
        m_model->setModelIntValue(ParamMessageFontSize, 1);
        QCOMPARE(inMonitor()->generalView()->textView()->font().pixelSize(), 18);
    }

    // Pause, Find, Save Text As and Log to File in a monitor's menu; a burst
    // of 50,000 messages: the view keeps 1024 lines, the log every one.
    void monitorPauseFindSaveAndLog()
    {
        MidiEditView* monitor = inMonitor();
        MidiEditGeneralView* page = monitor->generalView();
        QTest::keyClick(page->textView(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(page->findBar()->isVisible());
        // The first line keeps the blanks a right-aligned delta time starts with.
        monitor->receivedMessage("\n       0.000 F8\n       1.500 F8", 2);
        QCOMPARE(textOf(monitor), QString("       0.000 F8\n       1.500 F8"));
        m_window->feed()->clearMonitors();

        const QString logPath = m_dir.filePath("in.log");
        QVERIFY(page->monitorCommands()->startLog(logPath));
        QMdiSubWindow* window = m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId);
        QTest::keyClick(page->textView(), Qt::Key_Pause);
        QVERIFY(page->monitorCommands()->isPaused());
        QCOMPARE(window->windowTitle(), QString("MIDI In Monitor (paused)"));
        MidiAnalyzer* analyzer = m_window->feed()->analyzer();
        QByteArray expected;
        for (int i = 0; i < 50000; i++) {
            const unsigned char message[] = {0xB0, static_cast<unsigned char>(i >> 7 & 0x7F),
                                             static_cast<unsigned char>(i & 0x7F)};
            analyzer->receivedMidi(message, 3, 0, 0, 0);
            expected += QString::asprintf("B0 %02X %02X\n", message[1], message[2]).toLatin1();
            if (i % 10000 == 9999) {
                m_window->feed()->deliver();
            }
        }
        QVERIFY(textOf(monitor).isEmpty());  // paused: the view stays as it was
        // Saved while paused: what arrived goes to the file, the view stays frozen.
        QVERIFY(page->monitorCommands()->saveText(m_dir.filePath("paused.txt")));
        QVERIFY(textOf(monitor).isEmpty());
        QString whilePaused;
        QVERIFY(Utility::loadAtTextFileName(m_dir.filePath("paused.txt"), whilePaused));
        QVERIFY(whilePaused.startsWith("B0 ") && whilePaused.endsWith("\nB0 06 4F\n"));
        QTest::keyClick(page->textView(), Qt::Key_Pause);
        QCOMPARE(window->windowTitle(), QString("MIDI In Monitor"));
        QTextDocument* document = page->textView()->document();
        QCOMPARE(document->blockCount(), 1024);  // the latest lines at once
        QCOMPARE(document->lastBlock().text(), QString("B0 06 4F"));  // message 49999
        page->monitorCommands()->stopLog();
        MonitorLog::waitForClosedLogs();
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll() == expected);
        // Save Text As: what the view shows, line for line.
        QVERIFY(page->monitorCommands()->saveText(m_dir.filePath("shown.txt")));
        QString saved;
        QVERIFY(Utility::loadAtTextFileName(m_dir.filePath("shown.txt"), saved));
        QCOMPARE(saved, textOf(monitor) + "\n");
        QVERIFY(saved.startsWith("B0 7E 50\n"));  // message 48976
    }

    // Record in the MIDI In monitor (only there): what it shows goes to a
    // MIDI file.
    void inMonitorRecordsToAMidiFile()
    {
        QVERIFY(menuHas(inMonitor(), "&Record..."));
        QVERIFY(!menuHas(outMonitor(), "&Record..."));
        MonitorCommands* commands = inMonitor()->generalView()->monitorCommands();
        const QString path = m_dir.filePath("take.mid");
        QVERIFY(commands->startRecording(path));
        m_model->setModelIntValue(ParamControlChangeFilterFirst + 7, 1);  // volume filtered out
        transmitAndWait(editors().first(), "90 3C 40\nB0 07 64\nF0 7E 7F 06 01 F7\nC0 05");
        QTRY_VERIFY(textOf(inMonitor()).contains("C0 05"));
        QVERIFY(commands->stopRecording());
        // What the monitor shows, in order; the filtered volume is not there.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray midi = file.readAll();
        QVERIFY(midi.startsWith("MThd"));
        const int note = midi.indexOf(QByteArray::fromHex("903c40"));
        const int dump = midi.indexOf(QByteArray::fromHex("f0057e7f0601f7"));  // F0, length, the rest
        QVERIFY(note > 0 && dump > note && midi.indexOf(QByteArray::fromHex("c005")) > dump);
        QVERIFY(!midi.contains(QByteArray::fromHex("b00764")));
        QVERIFY(!commands->isRecording());
    }

    // Stopping takes what arrived but was not yet handed to the monitor.
    void stoppingARecordingKeepsWhatArrivedBeforeIt()
    {
        MonitorCommands* commands = inMonitor()->generalView()->monitorCommands();
        const QString path = m_dir.filePath("stopped.mid");
        QVERIFY(commands->startRecording(path));
        const unsigned char note[] = {0x90, 0x3D, 0x41};
        m_window->feed()->analyzer()->receivedMidi(note, 3, 0, 0, 0);  // no tick in between
        QVERIFY(commands->stopRecording());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(QByteArray::fromHex("903d41")));
    }

    // A full disk (here the file size limit) stops the log and the
    // recording, each with one box, and unchecks both.
    void writeFailuresStopTheLogAndTheRecording()
    {
        MonitorCommands* commands = inMonitor()->generalView()->monitorCommands();
        const QString logPath = m_dir.filePath("full.log");
        const QString midiPath = m_dir.filePath("full.mid");
        QVERIFY(commands->startLog(logPath));
        QVERIFY(commands->startRecording(midiPath));
        signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit small = previous;
        small.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        BoxAnswer answer(QMessageBox::Ok);
        QString text;
        for (int i = 0; i < 400; i++) {
            text += QString("90 %1 40\n").arg(i & 0x7F, 2, 16, QChar('0')).toUpper();
        }
        transmitAndWait(editors().first(), text);
        QTRY_COMPARE(answer.texts.size(), 2);
        setrlimit(RLIMIT_FSIZE, &previous);
        answer.texts.sort();
        QCOMPARE(answer.texts.at(0), QString("Logging to %1 stopped: File too large.").arg(logPath));
        QCOMPARE(answer.texts.at(1), QString("Recording to %1 stopped: File too large.").arg(midiPath));
        QVERIFY(!commands->isLogging() && !commands->isRecording());
        QVERIFY(!menuCheck(inMonitor(), "&Log to File...") && !menuCheck(inMonitor(), "&Record..."));
        transmitAndWait(editors().first(), "C0 05");  // nothing more is said
        QTest::qWait(300);
        QCOMPARE(answer.texts.size(), 2);
    }

    // 3000 messages inside one timer tick: the monitors end with the last
    // 1024 of them, in order, and the editor that listens gets every dump.
    void aBurstLeavesTheLastLinesInTheMonitors()
    {
        MidiEditView* listener = newEditor(QString(), MidiEditView::SystemExclusiveReceiving);
        QString text;
        QString dumps;
        for (int i = 0; i < 3000; i++) {
            const QString data = QString("%1 %2").arg(i >> 7, 2, 16, QChar('0')).arg(i & 0x7F, 2, 16, QChar('0')).toUpper();
            text += (i % 100 == 0 ? "F0 " + data + " F7\n" : "B0 " + data + "\n");
            if (i % 100 == 0) {
                dumps += (dumps.isEmpty() ? "" : "\n") + QString("F0 ") + data + " F7";
            }
        }
        editors().first()->transmitMessage(text);
        QTRY_COMPARE_WITH_TIMEOUT(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 0, 10000);
        for (MidiEditView* monitor : {inMonitor(), outMonitor()}) {
            QTextDocument* document = monitor->generalView()->textView()->document();
            QTRY_COMPARE(document->lastBlock().text(), QString("B0 17 37"));  // message 2999
            QCOMPARE(document->blockCount(), 1024);
            QCOMPARE(document->firstBlock().text(), QString("B0 0F 38"));  // message 1976
        }
        QTRY_COMPARE(textOf(listener), dumps);
        QCOMPARE(listener->progressView()->totalCommunicationSize(), 30u * 4u);  // 30 dumps of 4 bytes
    }

    void editorsReceiveOnlyWhileListening()
    {
        MidiEditView* editor = editors().first();
        QVERIFY(!editor->isReceiveEnabled());
        QCOMPARE(editor->currentView(), MidiEditView::GeneralPage);
        // Receive in an empty editor: it listens itself.
        editor->generalView()->receiveMenuSelected();
        QVERIFY(editor->isReceiveEnabled());
        QCOMPARE(editor->currentView(), MidiEditView::ProgressPage);
        m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
        MidiEditView* sender = newEditor("F0 01 02 03 F7 90 3C 40");
        m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
        transmitAndWait(sender, textOf(sender));
        QTRY_COMPARE(textOf(editor), QString("F0 01 02 03 F7"));
        QCOMPARE(editor->progressView()->message(), QString("5Bytes"));
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);  // received text
        // OK ends listening; the text it collected now marks the project.
        editor->progressView()->releasedButton();
        QVERIFY(!editor->isReceiveEnabled());
        QCOMPARE(editor->currentView(), MidiEditView::GeneralPage);
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);

        // Receive in an editor holding text opens a listening editor.
        const int before = editors().size();
        editor->generalView()->receiveMenuSelected();
        QCOMPARE(editors().size(), before + 1);
        MidiEditView* listener = editors().last();
        QCOMPARE(listener->openMode(), MidiEditView::SystemExclusiveReceiving);
        QVERIFY(listener->isReceiveEnabled());
        QCOMPARE(listener->currentView(), MidiEditView::ProgressPage);

        // Transmit and Receive opens one more even from an empty editor and
        // collects the reply there.
        MidiEditView* empty = newEditor();
        empty->generalView()->transmitAndReceiveMenuSelected();
        QCOMPARE(editors().size(), before + 3);  // nothing to send: only the new window
        sender->generalView()->transmitAndReceiveMenuSelected();
        QCOMPARE(editors().size(), before + 4);
        MidiEditView* replies = editors().last();
        QTRY_COMPARE(textOf(replies), QString("F0 01 02 03 F7"));
        QTRY_COMPARE(textOf(listener), QString("F0 01 02 03 F7"));

        // While a repeat runs, no editor takes received text.
        m_model->setModelIntValue(ParamSysExRepeat, 1);
        listener->receivedMessage("F0 09 F7", 3);
        QCOMPARE(textOf(listener), QString("F0 01 02 03 F7"));
        QCOMPARE(listener->progressView()->message(),
                 QString("Unable to receive messages when repeating\nmessage transmission is in-process."));
        m_model->setModelIntValue(ParamSysExRepeat, 0);
    }

    // Transmit and Receive stops listening a timeout after the request went
    // out and after each reply; with no reply at all it says so.
    void transmitAndReceiveGivesUpAfterTheTimeout()
    {
        QCOMPARE(m_model->getModelIntValue(ParamReplyTimeout, nullptr), 5);
        m_model->setModelIntValue(ParamReplyTimeout, 1);
        MidiEditView* sender = newEditor("F0 7D 05 F7");
        sender->generalView()->transmitAndReceiveMenuSelected();  // the loopback replies
        MidiEditView* replies = editors().last();
        QVERIFY(replies->isWaitingForReply());
        QTRY_COMPARE_WITH_TIMEOUT(replies->currentView(), MidiEditView::GeneralPage, 10000);
        QVERIFY(!replies->isReceiveEnabled());
        QCOMPARE(textOf(replies), QString("F0 7D 05 F7"));

        QVERIFY(m_window->ports()->inputPortMenuSelected(InputPortGroup_First, InvalidPortIndex));  // silence
        sender->generalView()->transmitAndReceiveMenuSelected();
        MidiEditView* silent = editors().last();
        QTRY_COMPARE_WITH_TIMEOUT(silent->progressView()->message(), QString("No reply received."), 10000);
        QVERIFY(!silent->isReceiveEnabled());
        QCOMPARE(silent->currentView(), MidiEditView::ProgressPage);
        silent->receivedMessage("F0 01 F7", 3);  // too late: not taken
        QVERIFY(textOf(silent).isEmpty());
        silent->progressView()->releasedButton();
        QCOMPARE(silent->currentView(), MidiEditView::GeneralPage);

        m_model->setModelIntValue(ParamReplyTimeout, 0);  // wait until stopped
        sender->generalView()->transmitAndReceiveMenuSelected();
        QVERIFY(!editors().last()->isWaitingForReply());
        QVERIFY(editors().last()->isReceiveEnabled());
        // Receive alone (F6) never times out.
        m_model->setModelIntValue(ParamReplyTimeout, 1);
        sender->generalView()->receiveMenuSelected();
        QVERIFY(!editors().last()->isWaitingForReply());
    }

    void shortAndLongTransmissionsWithTheirPages()
    {
        MidiEditView* editor = editors().first();
        MidiEditView* other = newEditor();
        // 200 bytes: the general page stays.
        QString shortText;
        for (int i = 0; i < 200; i++) {
            shortText += "F8 ";
        }
        QSignalSpy starts(editor->transmissionThread(), &MidiEditTransmittionThread::startTransmittion);
        editor->transmitMessage(shortText);
        QCOMPARE(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 1);
        QVERIFY(!other->generalView()->toolbar()->isEnabled());  // every editor waits
        QTRY_COMPARE(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 0);
        QCOMPARE(starts.size(), 1);
        QCOMPARE(editor->currentView(), MidiEditView::GeneralPage);
        QVERIFY(other->generalView()->toolbar()->isEnabled());
        QVERIFY(m_collector->waitForBytes(200));

        // Three dumps of 100 bytes with a 100 ms bulk interval: the progress
        // page with a bar of 300, then back to the general page.
        m_model->setModelIntValue(ParamBulkInterval, 100);
        const QString dump = "F0 " + QString("11 ").repeated(98) + "F7\n";
        editor->transmitMessage(dump.repeated(3));
        QTRY_COMPARE(editor->currentView(), MidiEditView::ProgressPage);
        QTRY_VERIFY(editor->progressView()->progressBar());
        QCOMPARE(editor->progressView()->progressBar()->maximum(), 300);
        QCOMPARE(editor->progressView()->buttonText(), QString("Cancel"));
        QTRY_COMPARE_WITH_TIMEOUT(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 0, 5000);
        QTRY_COMPARE(editor->currentView(), MidiEditView::GeneralPage);
        QVERIFY(!editor->progressView()->progressBar());

        // Cancel during a long one stops after the message in progress.
        m_collector->clear();
        editor->transmitMessage(dump.repeated(20));
        QTRY_COMPARE(editor->currentView(), MidiEditView::ProgressPage);
        QTRY_VERIFY(editor->progressView()->progressValue() >= 100);
        editor->progressView()->releasedButton();
        QTRY_COMPARE_WITH_TIMEOUT(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 0, 2000);
        QCOMPARE(editor->currentView(), MidiEditView::GeneralPage);
        QVERIFY(m_collector->bytes().size() < 2000);
        QCOMPARE(m_collector->bytes().size() % 100, size_t(0));  // whole dumps only
        m_model->setModelIntValue(ParamBulkInterval, 0);

        // An invalid pair fails whatever the length; OK returns to the text.
        editor->transmitMessage("F0 01 ZZ F7");
        QTRY_COMPARE(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 0);
        QTRY_COMPARE(editor->currentView(), MidiEditView::ProgressPage);
        QCOMPARE(editor->progressView()->message(), QString("Failed to transmit message."));
        QCOMPARE(editor->progressView()->progressMode(), MidiEditProgressView::Error);
        QTest::keyClick(editor->progressView(), Qt::Key_Return);
        QCOMPARE(editor->currentView(), MidiEditView::GeneralPage);
    }

    void toolbarTooltipsCountTheBytes()
    {
        MidiEditView* editor = newEditor("F0 7E 7F // identity\n06 01 F7");
        MidiEditGeneralView* page = editor->generalView();
        QCOMPARE(page->createTooltipTransmissionByteString("Transmit and Receive"),
                 QString("Transmit (6 Bytes) and Receive"));
        QTextCursor cursor = page->textView()->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(2, QTextCursor::KeepAnchor);
        page->textView()->setTextCursor(cursor);
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), QPoint(2, 2));
        QApplication::sendEvent(page->transmitButton(), &tip);
        QCOMPARE(page->transmitButton()->toolTip(), QString("Transmit (1 Byte)"));
        // Transmit sends the selection only.
        m_collector->clear();
        page->transmitMenuSelected();
        QTRY_COMPARE(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 0);
        QTRY_COMPARE(m_collector->bytes().size(), size_t(0));  // F0 alone is no message
        page->textView()->selectAll();
        page->transmitMenuSelected();
        QVERIFY(m_collector->waitForBytes(6));
        QCOMPARE(m_collector->bytes(), (std::vector<unsigned char>{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}));
        // The repeat bar opens from its key.
        QTest::keyClick(page->textView(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(page->repeatSettings()->isVisible());
    }

    void checksumCommandsInTheContextMenu()
    {
        MidiEditView* editor = newEditor("F0 41 10 42 12 40 00 7F 00 00 F7");
        MidiEditTextView* text = editor->generalView()->textView();
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(27);
        cursor.setPosition(29, QTextCursor::KeepAnchor);  // the 00 before F7
        text->setTextCursor(cursor);
        std::unique_ptr<QMenu> menu = text->createContextMenu();
        QMenu* insert = nullptr;
        QMenu* verify = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == "Insert Chec&ksum") {
                insert = action->menu();
            } else if (action->text() == "&Verify Checksum") {
                verify = action->menu();
            }
        }
        QVERIFY(insert && verify);
        insert->actions().at(0)->trigger();
        QCOMPARE(textOf(editor), QString("F0 41 10 42 12 40 00 7F 00 41 F7"));
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);
        text->undo();
        {
            BoxAnswer answer(QMessageBox::Ok);
            verify->actions().at(0)->trigger();
            QCOMPARE(answer.texts, QStringList{"Sum checksums from byte 5:\n\n"
                                               "Message 1 (line 1): checksum 00 is wrong, 41 expected."});
        }
        m_model->setModelIntValue(ParamChecksumStart, 1);
        menu = text->createContextMenu();
        QVERIFY(menu->actions().last()->text() == "Checksum Start (Byte 1)...");
    }

    void repeatUntilCancelAndUntilTheWindowCloses()
    {
        MidiEditView* editor = newEditor("F0 7D 01 F7");
        MidiEditGeneralView* page = editor->generalView();
        RepeatSettingsView* settings = page->repeatSettings();
        QCOMPARE(settings->getInterval(), 1000);
        QVERIFY(!settings->isRepeat());
        settings->repeatBox()->setChecked(true);
        settings->intervalBox()->setValue(500);
        m_collector->clear();
        page->transmitMenuSelected();
        QCOMPARE(page->repeatInterval(), 500);
        QCOMPARE(m_model->getModelIntValue(ParamSysExRepeat, nullptr), 1);
        QCOMPARE(editor->currentView(), MidiEditView::RepeatMessagePage);
        QVERIFY(editor->repeatThread());
        QVERIFY(m_collector->waitForBytes(12));  // three sendings
        for (const auto& packet : m_collector->packets()) {  // each sending whole, on its own
            QCOMPARE(packet.bytes, (std::vector<unsigned char>{0xF0, 0x7D, 0x01, 0xF7}));
        }
        editor->repeatMessageView()->releasedButton();
        QTRY_VERIFY(!editor->repeatThread());
        QCOMPARE(editor->currentView(), MidiEditView::GeneralPage);
        QCOMPARE(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 0);
        QCOMPARE(m_model->getModelIntValue(ParamSysExRepeat, nullptr), 0);
        const size_t sent = m_collector->bytes().size();

        // Closing the window during a repeat ends it and frees the state.
        page->transmitMenuSelected();
        QTRY_VERIFY(m_collector->bytes().size() > sent);
        QPointer<MidiEditView> guard(editor);
        qobject_cast<QMdiSubWindow*>(editor->parentWidget())->close();
        QTRY_VERIFY(!guard);
        QCOMPARE(m_model->getModelIntValue(ParamSysExTransmitState, nullptr), 0);
        QCOMPARE(m_model->getModelIntValue(ParamSysExRepeat, nullptr), 0);
    }

    void dumpFilesOpenSaveAndDrop()
    {
        const QString path = m_dir.filePath("dump.txt");
        QVERIFY(Utility::saveAtTextFileName(path, "F0 43 10 F7 // voice"));
        MidiEditView* editor = editors().first();
        MidiEditGeneralView* page = editor->generalView();
        // Into an empty editor: its text; into one with text: a new editor of its size.
        QVERIFY(page->openDumpFile(path, page->size()));
        QCOMPARE(textOf(editor), QString("F0 43 10 F7 // voice"));
        QCOMPARE(m_model->getModelStringValue(ParamDumpFileWorkingDirectory, nullptr), m_dir.path());
        const int before = editors().size();
        QVERIFY(page->openDumpFile(path, QSize(300, 200)));
        QCOMPARE(editors().size(), before + 1);
        QCOMPARE(editors().last()->generalView()->size(), QSize(300, 200));
        QCOMPARE(textOf(editors().last()), QString("F0 43 10 F7 // voice"));
        // An unwritable place is said so.
        {
            BoxAnswer answer(QMessageBox::Ok);
            QVERIFY(!page->saveDumpFile(m_dir.filePath("no/such/folder/saved.txt")));
            QCOMPARE(answer.texts, QStringList{"File save failed."});
        }

        // Drops on an editor: "txt" and "syx", exactly.
        QWidget* viewport = page->textView()->viewport();
        QVERIFY(dragEnter(viewport, {QUrl::fromLocalFile(m_dir.filePath("a.syx"))}));
        QVERIFY(!dragEnter(viewport, {QUrl::fromLocalFile(m_dir.filePath("DUMP.TXT"))}));
        MidiEditView* empty = newEditor();
        drop(empty->generalView()->textView()->viewport(), {QUrl::fromLocalFile(path)});
        QCOMPARE(textOf(empty), QString("F0 43 10 F7 // voice"));
        const int beforeDrop = editors().size();
        drop(empty->generalView()->textView()->viewport(), {QUrl::fromLocalFile(path)});
        QCOMPARE(editors().size(), beforeDrop + 1);
        QCOMPARE(editors().last()->parentWidget()->size(), WindowKinds::MidiEditViewDefaultSize);

        // Drops on the main window: the first "txt", "syx" or "ostrel" entry opens.
        QWidget* area = m_window->mdiArea()->viewport();
        QVERIFY(dragEnter(area, {QUrl::fromLocalFile(path), QUrl::fromLocalFile(m_dir.filePath("x.mid"))}));
        QVERIFY(!dragEnter(area, {QUrl::fromLocalFile(m_dir.filePath("DUMP.TXT"))}));
        drop(area, {QUrl::fromLocalFile(m_dir.filePath("x.mid")), QUrl::fromLocalFile(path)});
        QCOMPARE(editors().size(), beforeDrop + 2);
        QCOMPARE(textOf(editors().last()), QString("F0 43 10 F7 // voice"));
        const QString syx = m_dir.filePath("voice.syx");
        QVERIFY(Utility::saveBytes(syx, QByteArray::fromHex("f04310f7f07e7f0601f7")));
        drop(area, {QUrl::fromLocalFile(syx)});
        QCOMPARE(editors().size(), beforeDrop + 3);
        QCOMPARE(textOf(editors().last()), QString("F0 43 10 F7\nF0 7E 7F 06 01 F7"));
        {
            BoxAnswer answer(QMessageBox::Ok);
            drop(area, {QUrl::fromLocalFile(m_dir.filePath("missing.txt"))});
            QCOMPARE(answer.texts, QStringList{"File open failed."});
        }
        QCOMPARE(editors().size(), beforeDrop + 3);
    }

    // The dump dialogs start on the last filter used; a bare name saved
    // under the .syx filter becomes a .syx file of raw bytes.
    void dumpDialogsRememberTheirFilter()
    {
        const QString syxFilter("System exclusive files (*.syx)");
        m_model->setModelStringValue(ParamDumpFileWorkingDirectory, m_dir.path());
        m_model->setModelStringValue(ParamDumpFileFilter, syxFilter);
        MidiEditView* editor = newEditor("F0 7D 01 F7");
        FileDialogAnswer answer("bare");
        editor->generalView()->saveMenuSelected();
        QCOMPARE(answer.shownFilter, syxFilter);
        QByteArray raw;
        QVERIFY(Utility::loadBytes(m_dir.filePath("bare.syx"), raw));
        QCOMPARE(raw, QByteArray::fromHex("f07d01f7"));
        QVERIFY(Utility::saveAtTextFileName(m_dir.filePath("plain.txt"), "90 3C 40"));
        answer.name = "plain.txt";
        answer.filter = "Text Files (*.txt)";
        const int before = editors().size();
        editor->generalView()->openMenuSelected();
        QCOMPARE(editors().size(), before + 1);
        QCOMPARE(textOf(editors().last()), QString("90 3C 40"));
        QCOMPARE(m_model->getModelStringValue(ParamDumpFileFilter, nullptr), QString("Text Files (*.txt)"));
    }

    void projectKeepsEditorTextButNotWhatIsBeingReceived()
    {
        MidiEditView* editor = editors().first();
        editor->generalView()->setText("F0 01 F7 // kept");
        MidiEditView* listening = newEditor(QString(), MidiEditView::SystemExclusiveReceiving);
        listening->receivedMessage("F0 02 F7", 3);
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);
        inMonitor()->receivedMessage("90 3C 40", 3);
        const QString path = m_dir.filePath("bench.ostrel");
        QVERIFY(m_window->project()->saveProjectFile(path));
        QVERIFY(m_window->project()->openProjectFile(path));
        QCOMPARE(m_window->mdiArea()->subWindowList().size(), 4);
        QTRY_COMPARE(editors().size(), 2);  // the closed ones are gone
        QStringList texts;
        for (MidiEditView* view : editors()) {
            QCOMPARE(view->openMode(), MidiEditView::SystemExclusive);
            texts.append(textOf(view));
        }
        texts.sort();
        QCOMPARE(texts, QStringList({"", "F0 01 F7 // kept"}));
        QVERIFY(textOf(inMonitor()).isEmpty());
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);
        // Typing marks the project; closing an editor does too.
        QTest::keyClicks(editors().first()->generalView()->textView(), "F8");
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);
    }
};

QTEST_MAIN(MidiEditViewTest)
#include "MidiEditViewTest.moc"
