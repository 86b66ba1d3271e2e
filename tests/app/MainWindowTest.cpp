// The main window: its menu bar, the port menus against the loopback,
// transmitMidi, messages, sub-window rules, and the key event source.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <memory>

#include "BoxAnswer.h"
#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "LayoutStore.h"
#include "MonitorFeed.h"
#include "MidiBulkIntervalManager.h"
#include "ProjectController.h"
#include "MidiSender.h"
#include "SubWindowArea.h"
#include "TrafficStatus.h"
#include "SettingsStore.h"
#include "PortSet.h"
#include "MidiAnalyzer.h"
#include "MidiClient.h"
#include "MidiInputPort.h"
#include "MidiEditView.h"
#include "MidiEditGeneralView.h"
#include "MidiEditTextView.h"
#include "NativeEventFilter.h"
#include "OstrelModel.h"

namespace {

struct KeyCalls : KeyEventTarget {
    QList<unsigned int> on, off;
    int aboutCloses = 0;
    bool closeAboutDialog() override { return ++aboutCloses > 0; }
    bool transmitNoteOnByKeyDown(unsigned int key) override { on.append(key); return true; }
    bool transmitNoteOffByKeyUp(unsigned int key) override { off.append(key); return true; }
};

QStringList texts(const QMenu* menu)
{
    QStringList result;
    for (const QAction* action : menu->actions()) {
        result.append(action->isSeparator() ? QString("-") : action->text());
    }
    return result;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<OstrelModel> m_model;
    std::unique_ptr<MainWindow> m_window;

    QString iniValue(const QString& key)
    {
        return QSettings(SettingsStore::iniFilePath(), QSettings::IniFormat).value(key).toString();
    }

    QMenu* menu(int position) { return m_window->menuBar()->actions().at(position)->menu(); }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        QFile::remove(SettingsStore::iniFilePath());
        m_model = std::make_unique<OstrelModel>();
        m_window = std::make_unique<MainWindow>(nullptr, m_model.get(), MidiApi::Automatic);
    }

    void cleanup()
    {
        m_window.reset();
        m_model.reset();
    }

    void menuBarTextsAndShortcuts()
    {
        QStringList titles;
        for (const QAction* action : m_window->menuBar()->actions()) {
            titles.append(action->text());
        }
        QCOMPARE(titles, QStringList({"&File", "&InputPort", "&OutputPort", "&Views", "&Commands",
                                      "&Window", "&Help"}));
        QCOMPARE(texts(menu(3)),
                 QStringList({"MIDI &In Monitor", "MIDI O&ut Monitor", "&Keyboard", "&Control Change",
                              "&Program Change", "Pitch &Bend", "&System Exclusive", "&Timing Clock",
                              "Sta&rt/Stop", "&Active Sensing", "Cust&om MIDI Message", "-", "&Filter",
                              "&MIDI Settings", "PC Keyboar&d"}));
        // Shortcuts land on the entries they name.
        QCOMPARE(menu(0)->actions().at(4)->shortcut(), QKeySequence("Shift+Ctrl+S"));
        QCOMPARE(menu(3)->actions().at(14)->shortcut(), QKeySequence("Ctrl+D"));
        QCOMPARE(menu(3)->actions().at(3)->menu()->actions().at(7)->text(), QString("007 Volume"));
        QCOMPARE(m_window->windowTitle(), QString("Ostrel"));
        // 679 x 548 between the menu bar and the status bar: the default layout shows without scroll bars.
        QCOMPARE(m_window->size(), QSize(679, 548) + QSize(0, m_window->menuBar()->sizeHint().height() +
                                                               m_window->statusBar()->sizeHint().height()));
        QCOMPARE(m_window->trafficStatus()->text(), QString("In 1: 0 msg/s, 0 lost   In 2: 0 msg/s, 0 lost"));
        m_window->show();
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 3);
        QCoreApplication::processEvents();
        QVERIFY(!m_window->mdiArea()->horizontalScrollBar()->isVisible());
        QVERIFY(!m_window->mdiArea()->verticalScrollBar()->isVisible());
    }

    // Open Recent: the projects last opened or saved, newest first, kept
    // across starts; one that is gone is said so and leaves the list.
    void recentProjects()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath("first.ostrel");
        const QString second = dir.filePath("second.ostrel");
        QVERIFY(m_window->project()->saveProjectFile(first));
        QVERIFY(m_window->project()->saveProjectFile(second));
        QVERIFY(m_window->project()->openProjectFile(first));
        QCOMPARE(m_window->project()->recentProjects(), QStringList({first, second}));
        Q_EMIT m_window->recentMenu()->aboutToShow();
        QCOMPARE(texts(m_window->recentMenu()), QStringList({"&1 first.ostrel", "&2 second.ostrel"}));

        m_window.reset();  // a new start keeps the list
        m_model = std::make_unique<OstrelModel>();
        m_window = std::make_unique<MainWindow>(nullptr, m_model.get(), MidiApi::Automatic);
        QCOMPARE(m_window->project()->recentProjects(), QStringList({first, second}));
        Q_EMIT m_window->recentMenu()->aboutToShow();
        m_window->recentMenu()->actions().at(1)->trigger();
        QTRY_COMPARE(m_window->windowTitle(), QString("second.ostrel - Ostrel"));
        QCOMPARE(m_window->project()->recentProjects(), QStringList({second, first}));
        QFile::remove(first);
        {
            BoxAnswer answer(QMessageBox::Ok);
            QVERIFY(!m_window->project()->openRecent(first));
            QCOMPARE(answer.texts.size(), 1);
            QVERIFY(answer.texts.first().contains("first.ostrel"));
        }
        QCOMPARE(m_window->project()->recentProjects(), QStringList({second}));
    }

    void portMenusChooseAndStore()
    {
        QMenu* inputs = m_window->inputPortMenu();
        Q_EMIT inputs->aboutToShow();
        QCOMPARE(texts(inputs), QStringList({"Not Connected", "Ostrel Loopback 1", "Ostrel Loopback 2"}));
        QVERIFY(inputs->actions().at(0)->isChecked());
        inputs->actions().at(2)->trigger();
        QString name;
        m_window->ports()->input(InputPortGroup_First)->getCurrentPortName(name);
        QCOMPARE(name, QString("Ostrel Loopback 2"));
        QCOMPARE(iniValue("PortName/InputPortName"), QString("Ostrel Loopback 2"));
        QCOMPARE(m_model->getModelIntValue(ParamInputPortIndex, nullptr), 2);
        Q_EMIT inputs->aboutToShow();
        QVERIFY(inputs->actions().at(2)->isChecked());
        inputs->actions().at(0)->trigger();
        QCOMPARE(iniValue("PortName/InputPortName"), QString("Not Connected"));
        QCOMPARE(m_model->getModelIntValue(ParamInputPortIndex, nullptr), 0);

        QMenu* outputs = m_window->outputPortMenu();
        Q_EMIT outputs->aboutToShow();
        outputs->actions().at(1)->trigger();
        QCOMPARE(iniValue("PortName/OutputPortName"), QString("Ostrel Loopback 1"));
        QCOMPARE(m_model->getModelIntValue(ParamOutputPortIndex, nullptr), 1);

        QStringList names;
        unsigned int current = 9;
        m_window->ports()->getOutputPortList(OutputPortGroup_Second, names, current);  // as the settings window does
        QVERIFY(m_window->ports()->outputPortMenuSelected(OutputPortGroup_Second, 1));
        QCOMPARE(m_window->ports()->currentOutputIndex(OutputPortGroup_Second), 2u);
        QCOMPARE(iniValue("PortName/OutputPortNameSecond"), QString("Ostrel Loopback 2"));
        QVERIFY(m_window->ports()->closeOutputPort(OutputPortGroup_Second));
        QCOMPARE(m_window->ports()->currentInputIndex(InputPortGroup_Second), 0u);
    }

    void portThatFailsToOpenSaysSo()
    {
        BoxAnswer answer(QMessageBox::Ok);
        QVERIFY(!m_window->ports()->inputPortMenuSelected(InputPortGroup_Second, 7));
        QCOMPARE(answer.texts, QStringList{"Port open failed."});
        QCOMPARE(iniValue("PortName/InputPortNameSecond"), QString("Not Connected"));
    }

    void transmitToBothOneOrNoOutputs()
    {
        const unsigned char note[] = {0x90, 0x3C, 0x40};
        MidiAnalyzer* analyzer = m_window->feed()->analyzer();
        QByteArray in, sysEx, out;
        unsigned int inCount = 0, sysExCount = 0, outCount = 0;
        QVERIFY(!m_window->sender()->send(note, 3, 1, OutputPortGroup_Both, false, 0));
        QStringList names;
        unsigned int current = 0;
        m_window->ports()->getOutputPortList(OutputPortGroup_First, names, current);
        m_window->ports()->getOutputPortList(OutputPortGroup_Second, names, current);
        QVERIFY(m_window->ports()->outputPortMenuSelected(OutputPortGroup_Second, 0));
        QVERIFY(m_window->sender()->send(note, 3, 1, OutputPortGroup_Both, false, 0));
        analyzer->getMidiData(in, inCount, sysEx, sysExCount, out, outCount);
        QCOMPARE(outCount, 3u);  // recorded once, for the second output
        m_window->ports()->outputPortMenuSelected(OutputPortGroup_First, 1);
        QVERIFY(m_window->sender()->send(note, 3, 1, OutputPortGroup_Both, false, 0));
        analyzer->getMidiData(in, inCount, sysEx, sysExCount, out, outCount);
        QCOMPARE(outCount, 6u);
        QVERIFY(m_window->sender()->send(note, 3, 1, OutputPortGroup_First, false, 0));
        analyzer->getMidiData(in, inCount, sysEx, sysExCount, out, outCount);
        QCOMPARE(outCount, 3u);
        m_window->ports()->closeOutputPort(OutputPortGroup_First);
        QVERIFY(!m_window->sender()->send(note, 3, 1, OutputPortGroup_First, false, 0));

        // The bulk interval follows a system exclusive unless skipped.
        m_model->setModelIntValue(ParamBulkInterval, 20);
        const unsigned char dump[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
        const uint64_t pauses = m_window->bulkIntervalManager()->pausesHeld();
        QVERIFY(m_window->sender()->send(dump, 6, 7, OutputPortGroup_Both, false, 0));
        QCOMPARE(m_window->bulkIntervalManager()->pausesHeld(), pauses + 1);
        QVERIFY(m_window->sender()->send(dump, 6, 7, OutputPortGroup_Both, true, 0));
        QCOMPARE(m_window->bulkIntervalManager()->pausesHeld(), pauses + 1);
    }

    void monitoredTrafficIsTakenOutEveryTick()
    {
        QStringList names;
        unsigned int current = 0;
        m_window->ports()->getInputPortList(InputPortGroup_First, names, current);
        m_window->ports()->getOutputPortList(OutputPortGroup_First, names, current);
        m_window->ports()->inputPortMenuSelected(InputPortGroup_First, 0);
        m_window->ports()->outputPortMenuSelected(OutputPortGroup_First, 0);
        QSignalSpy ticks(m_window->feed(), &MonitorFeed::receivedTempoMeasured);
        const unsigned char note[] = {0x90, 0x3C, 0x40};
        QVERIFY(m_window->sender()->send(note, 3, 1, OutputPortGroup_First, false, 0));
        // A few ticks later nothing is left in the analyzer, though no window shows it.
        QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 3, 10000);
        QByteArray in, sysEx, out;
        unsigned int inCount = 0, sysExCount = 0, outCount = 0;
        QVERIFY(!m_window->feed()->analyzer()->getMidiData(in, inCount, sysEx, sysExCount, out, outCount));
    }

    // What the service reports in its own terms reaches the MIDI In
    // monitor as words, once each, and the status bar as counts.
    void serviceReportsAreSaidInWords()
    {
        m_window->show();
        TrafficCounts reported;
        m_window->feed()->setLossCounters(nullptr, nullptr, [&](TrafficCounts& counts) {
            counts.overruns = reported.overruns;
            counts.skippedCycles = reported.skippedCycles;
        });
        auto* in = qobject_cast<MidiEditView*>(m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId)->widget());
        const auto text = [in] { return in->generalView()->textView()->toPlainText(); };
        reported.overruns = 1;
        QTRY_COMPARE(text(), QString("-- ALSA sequencer input overrun: messages were lost --"));
        reported.overruns = 3;
        reported.skippedCycles = 1;
        QTRY_COMPARE(text(), QString("-- ALSA sequencer input overrun: messages were lost --\n"
                                     "-- 2 ALSA sequencer input overruns: messages were lost --\n"
                                     "-- JACK skipped 1 cycle: input in them may be lost --"));
        QCOMPARE(m_window->trafficStatus()->text(),
                 QString("In 1: 0 msg/s, 0 lost   In 2: 0 msg/s, 0 lost   Input overruns: 3   Skipped cycles: 1"));
    }

    // Nothing happening, the feed's timer sleeps (no wake-ups when idle);
    // the first message wakes it and shows at once.
    void theFeedSleepsWhileNothingHappensAndWakesForTraffic()
    {
        m_window->show();
        m_window->ports()->inputPortMenuSelected(InputPortGroup_First, 0);
        m_window->ports()->outputPortMenuSelected(OutputPortGroup_First, 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_window->feed()->isAsleep(), 10000);
        const unsigned char note[] = {0x90, 0x3D, 0x40};
        QVERIFY(m_window->sender()->send(note, 3, 1, OutputPortGroup_First, false, 0));
        auto* in = qobject_cast<MidiEditView*>(m_window->openedWindow(WindowRestorationInfo::MidiInMonitorId)->widget());
        QTRY_VERIFY(in->generalView()->textView()->toPlainText().endsWith("90 3D 40"));
        QVERIFY(!m_window->feed()->isAsleep());
    }

    void restorationByIdAndFixedSizeWindows()
    {
        const QRect rect(10, 20, 300, 200);
        QVERIFY(!m_window->layout()->restoreSubWindow(WindowRestorationInfo::MainWindowId, false, rect, {}, {}));
        QVERIFY(!m_window->layout()->restoreSubWindow(static_cast<WindowRestorationInfo::WindowId>(15), false, rect, {}, {}));

        // The filter window is fixed-size: a stored rectangle only places it,
        // and it never maximizes.
        m_window->show();
        m_window->closeAllSubWindows();  // the default layout
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
        QMdiSubWindow* fixed = m_window->layout()->restoreSubWindow(
            WindowRestorationInfo::FilterId, true, rect, Qt::WindowNoState, {});
        QVERIFY(fixed);
        QCOMPARE(fixed->windowTitle(), QString("Filter"));
        QCOMPARE(fixed->pos(), rect.topLeft());
        QVERIFY(fixed->size() != rect.size());
        QVERIFY(fixed->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(SubWindowArea::isFixedSize(fixed));
        fixed->showMaximized();
        QVERIFY(!fixed->isMaximized());
        QCOMPARE(m_window->area()->normalRect(fixed).topLeft(), rect.topLeft());
        // Unique: asking again brings the same window forward.
        QCOMPARE(m_window->openWindow(WindowRestorationInfo::FilterId), fixed);

        // MIDI Settings: a stored size smaller than its content (below its
        // minimum, or the documented size an older layout kept) is grown to
        // what the content needs: no scroll bar hides a setting.
        const QSize natural = m_window->openWindow(WindowRestorationInfo::MidiSettingsId)->size();
        for (const QSize stored : {QSize(100, 100), QSize(500, 230)}) {
            m_window->closeAllSubWindows();
            QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
            QMdiSubWindow* settings = m_window->layout()->restoreSubWindow(
                WindowRestorationInfo::MidiSettingsId, false, QRect(QPoint(0, 0), stored), Qt::WindowNoState, {});
            QCOMPARE(settings->size(), natural);
            auto* scroll = settings->widget()->findChild<QScrollArea*>();
            QVERIFY(scroll);
            QTRY_VERIFY(!scroll->verticalScrollBar()->isVisible() && !scroll->horizontalScrollBar()->isVisible());
        }
        m_window->closeAllSubWindows();
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
    }

    // Every direct Views entry opens a window titled after it; every kind
    // comes back by its id.
    void everyViewsEntryOpensItsWindow()
    {
        m_window->show();
        m_window->closeAllSubWindows();
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
        QMenu* views = menu(3);
        int opened = 0;
        for (QAction* action : views->actions()) {
            if (action->isSeparator() || action->menu()) {
                continue;
            }
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
            action->trigger();
            opened++;
            QCOMPARE(m_window->mdiArea()->subWindowList().size(), opened);
            QCOMPARE(m_window->mdiArea()->activeSubWindow()->windowTitle(),
                     QString(action->text()).remove('&').remove("..."));
        }
        QCOMPARE(opened, 13);
        m_window->closeAllSubWindows();
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);

        for (int id = WindowRestorationInfo::FirstSubWindowId; id <= WindowRestorationInfo::LastSubWindowId; id++) {
            QMdiSubWindow* window = m_window->layout()->restoreSubWindow(
                static_cast<WindowRestorationInfo::WindowId>(id), false, QRect(10, 10, 300, 250), Qt::WindowNoState,
                {QVariant(7), QVariant(0)});
            QVERIFY2(window, qPrintable(QString::number(id)));
            auto* info = dynamic_cast<WindowRestorationInfo*>(window->widget());
            QVERIFY(info);
            QCOMPARE(int(info->windowId()), id);
        }
    }

    void offScreenMainWindowComesBack()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect inside(screen.topLeft() + QPoint(10, 10), QSize(300, 200));
        QCOMPARE(SubWindowArea::mainWindowRestorationRect(inside), inside);
        const QRect far(screen.right() + 500, screen.bottom() + 500, 300, 200);
        QCOMPARE(SubWindowArea::mainWindowRestorationRect(far),
                 QRect(screen.topLeft() + QPoint(50, 50), QSize(300, 200)));
        const QRect sliver(screen.right() - 98, screen.top(), 300, 200);  // 99 pixels on screen
        QCOMPARE(SubWindowArea::mainWindowRestorationRect(sliver).topLeft(),
                 screen.topLeft() + QPoint(50, 50));
        const QRect enough(screen.right() - 99, screen.top(), 300, 200);  // 100 pixels
        QCOMPARE(SubWindowArea::mainWindowRestorationRect(enough), enough);
    }

    void keyEventSource()
    {
        NativeEventFilter filter;
        KeyCalls calls;
        QWidget widget;
        widget.show();
        QWindow* window = widget.windowHandle();
        QKeyEvent down(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
        QVERIFY(!filter.eventFilter(window, &down));  // no target yet
        filter.setTarget(&calls);
        QVERIFY(filter.eventFilter(window, &down));
        QVERIFY(!filter.eventFilter(&widget, &down));  // seen once, at its window
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", true);
        QVERIFY(!filter.eventFilter(window, &repeat));
        QVERIFY(filter.eventFilter(window, &up));
        QKeyEvent control(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, "a");
        QVERIFY(!filter.eventFilter(window, &control));
        QCOMPARE(calls.on, QList<unsigned int>({'a'}));
        QCOMPARE(calls.off, QList<unsigned int>({'a'}));

        // A modal dialog holds back key down, not key up.
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        QTRY_VERIFY(QApplication::activeModalWidget());
        QVERIFY(!filter.eventFilter(window, &down));
        QVERIFY(filter.eventFilter(window, &up));
        QCOMPARE(calls.on.size(), 1);
        QCOMPARE(calls.off.size(), 2);
        dialog.close();

        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QVERIFY(filter.eventFilter(window, &press));
        QCOMPARE(calls.aboutCloses, 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
