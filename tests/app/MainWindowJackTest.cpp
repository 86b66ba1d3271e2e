// The main window's port menus with a JACK peer that comes and goes.
#include <QMdiArea>
#include <QMenu>
#include <QStandardPaths>
#include <QTextDocument>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

#include "CiMessages.h"
#include "JackPeer.h"
#include "ComboBox.h"
#include "MainWindow.h"
#include "MidiEditProgressView.h"
#include "MidiSender.h"
#include "WindowRestorationInfo.h"
#include "MidiBulkIntervalManager.h"
#include "MidiSender.h"
#include "SettingsStore.h"
#include "PortSet.h"
#include "MidiSettingsView.h"
#include <QMdiSubWindow>
#include <QPushButton>
#include "MidiClient.h"
#include "MidiEditGeneralView.h"
#include "MidiEditTextView.h"
#include "MidiEditView.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "OstrelModel.h"
#include "MonitorFeed.h"
#include "TrafficStatus.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

QByteArray fromBytes(const std::vector<unsigned char>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

// Connects port group 0 of the window both ways to the peer.
bool connectToPeer(MainWindow& window, const QString& peerName)
{
    QStringList names;
    unsigned int current = 0;
    window.ports()->getInputPortList(InputPortGroup_First, names, current);
    const int source = names.indexOf(peerName + ":out");
    window.ports()->getOutputPortList(OutputPortGroup_First, names, current);
    const int destination = names.indexOf(peerName + ":in");
    // The lists start with "Not Connected"; endpoints count from the next entry.
    return source > 0 && destination > 0 &&
           window.ports()->inputPortMenuSelected(InputPortGroup_First, static_cast<unsigned int>(source - 1)) &&
           window.ports()->outputPortMenuSelected(OutputPortGroup_First, static_cast<unsigned int>(destination - 1));
}

// A JACK peer and a shown main window; connect() opens the window's first
// input and output on the peer.
struct PeerSession {
    explicit PeerSession(const char* name) : peer(name), window(nullptr, &model, MidiApi::Jack) { window.show(); }
    bool connect() { return peer.isOpen() && connectToPeer(window, peer.name()); }

    JackPeer peer;
    OstrelModel model;
    MainWindow window;
};

MidiEditView* editView(QMdiSubWindow* window)
{
    return window ? qobject_cast<MidiEditView*>(window->widget()) : nullptr;
}

QString textOf(MidiEditView* view)
{
    return view->generalView()->textView()->toPlainText();
}

}  // namespace

class MainWindowJackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void vanishedEndpointShowsNotConnectedAndClosesThePort()
    {
        auto peer = std::make_unique<JackPeer>("ostrel-menu-peer");
        QVERIFY2(peer->isOpen(), "no JACK server: the test command starts one");
        const QString peerName = peer->name();
        OstrelModel model;
        MainWindow window(nullptr, &model, MidiApi::Jack);
        QVERIFY(connectToPeer(window, peerName));
        QMenu* inputs = window.inputPortMenu();
        QMenu* outputs = window.outputPortMenu();
        peer.reset();
        // The menus, as each showing rebuilds them, come to "Not Connected".
        const auto notConnected = [&] {
            Q_EMIT inputs->aboutToShow();
            Q_EMIT outputs->aboutToShow();
            return inputs->actions().at(0)->isChecked() && outputs->actions().at(0)->isChecked();
        };
        QTRY_VERIFY(notConnected());
        QCOMPARE(inputs->actions().at(0)->text(), QString("Not Connected"));
        QCOMPARE(window.ports()->input(InputPortGroup_First)->portIndex(), InvalidPortIndex);
        const unsigned char note[] = {0x90, 0x3C, 0x40};
        QVERIFY(!window.sender()->send(note, 3, 1, OutputPortGroup_Both, false, 0));
    }

    void settingsWindowFollowsAPeerThatComesAndGoes()
    {
        OstrelModel model;
        MainWindow window(nullptr, &model, MidiApi::Jack);
        auto* settings = qobject_cast<MidiSettingsView*>(
            window.openWindow(WindowRestorationInfo::MidiSettingsId)->widget());
        ComboBox* input = settings->inputPortList(InputPortGroup_Second);
        auto peer = std::make_unique<JackPeer>("ostrel-settings-peer");
        QVERIFY(peer->isOpen());
        const QString source = peer->name() + ":out";
        QCOMPARE(input->findText(source), -1);
        QTest::mouseClick(settings->updateButton(), Qt::LeftButton);
        const int item = input->findText(source);
        QVERIFY(item > 0);
        input->setCurrentIndex(item);
        Q_EMIT input->activated(item);
        QVERIFY(window.ports()->input(InputPortGroup_Second)->portIndex() >= 0);

        peer.reset();
        const auto listed = [&] {
            QTest::mouseClick(settings->updateButton(), Qt::LeftButton);
            return input->findText(source) >= 0;
        };
        QTRY_VERIFY(!listed());
        QCOMPARE(input->currentText(), QString("Not Connected"));
        QCOMPARE(window.ports()->input(InputPortGroup_Second)->portIndex(), InvalidPortIndex);
    }

    // A flood into a stalled input fills the JACK service's ring: what it
    // drops is counted, said in the MIDI In monitor and the status bar, and
    // every message sent is either received or counted lost.
    void aFullServiceRingIsCountedAndSaid()
    {
        PeerSession session("ostrel-flood-peer");
        QVERIFY2(session.connect(), "no JACK server: the test command starts one");
        JackPeer& peer = session.peer;
        MainWindow& window = session.window;
        peer.setRecording(false);
        // A second input on the same service whose worker stalls: the
        // service's thread waits for it, and the JACK ring behind fills.
        std::atomic<bool> release{false};  // outlives the port whose worker reads it
        MidiInputPort stalled(window.ports()->client(), 64, 1, 0, 0);
        stalled.setReceivedMidiCallbackFunc(
            [](void* context, const unsigned char*, unsigned short, unsigned int, unsigned long long, unsigned int) {
                while (!static_cast<std::atomic<bool>*>(context)->load()) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            },
            &release);
        QCOMPARE(stalled.openInputPort(peer.name() + ":out"), MIDI_RESULT_SUCCESS);
        const int sent = 400000;
        for (int i = 0; i < sent; i++) {
            peer.send({0xB0, static_cast<unsigned char>(i >> 7 & 0x7F), static_cast<unsigned char>(i & 0x7F)});
        }
        // The service knows the source: the loss is the input's, not "on arrival".
        QTRY_VERIFY_WITH_TIMEOUT(window.feed()->counts().lost[0] > 0, 120000);
        MidiEditView* in = editView(window.openedWindow(WindowRestorationInfo::MidiInMonitorId));
        QTRY_VERIFY(textOf(in).contains(" messages lost --"));  // said at once, the input stalled or not
        QTRY_VERIFY_WITH_TIMEOUT(peer.waitUntilSent(), 60000);
        release = true;
        QTRY_COMPARE_WITH_TIMEOUT(window.feed()->counts().messages[0] + window.feed()->counts().lost[0],
                                  uint64_t(sent), 180000);
        QCOMPARE(window.feed()->counts().lostOnArrival, uint64_t(0));
        const uint64_t lost = window.feed()->counts().lost[0];
        QTRY_VERIFY(window.trafficStatus()->text().startsWith(QString("In 1: ")) &&
                    window.trafficStatus()->text().contains(QString(" msg/s, %1 lost").arg(lost)));
        for (QAction* action : window.findChildren<QAction*>()) {
            if (action->text() == "&Clear All MIDI Monitors") {
                action->trigger();
            }
        }
        QVERIFY(window.trafficStatus()->text().contains(QRegularExpression("^In 1: \\d+ msg/s, 0 lost")));
        stalled.closeInputPort();
    }

    // A client that keeps an asynchronous server waiting makes it skip
    // cycles and report xruns: both are said in the MIDI In monitor and
    // counted in the status bar.
    void lateCyclesAreSaid()
    {
        const QByteArray server = qgetenv("OSTREL_ASYNC_JACK_SERVER");
        QVERIFY2(!server.isEmpty(), "the test command starts an asynchronous JACK server too");
        const QByteArray previous = qgetenv("JACK_DEFAULT_SERVER");
        qputenv("JACK_DEFAULT_SERVER", server);
        const auto restore = qScopeGuard([&] { qputenv("JACK_DEFAULT_SERVER", previous); });
        PeerSession session("ostrel-late-peer");
        QVERIFY(session.connect());
        JackPeer& peer = session.peer;
        MainWindow& window = session.window;
        MidiEditView* in = editView(window.openedWindow(WindowRestorationInfo::MidiInMonitorId));
        // The monitors sleep while nothing happens: the service's report wakes them.
        QTRY_VERIFY_WITH_TIMEOUT(window.feed()->isAsleep(), 20000);
        const QRegularExpression skipped("-- JACK skipped (1 cycle|[2-9]\\d* cycles|1\\d+ cycles): input in them may be lost --");
        QTRY_VERIFY_WITH_TIMEOUT([&] {
            peer.stallOnce(std::chrono::milliseconds(30));
            QTest::qWait(100);
            return textOf(in).contains(skipped) && textOf(in).contains(QRegularExpression("-- (\\d+ )?JACK xruns?: input may be late or lost --"));
        }(), 20000);
        QTRY_VERIFY(window.trafficStatus()->text().contains(QRegularExpression("Skipped cycles: \\d+   Xruns: \\d+$")));
    }

    // Dumps longer than a packet through JACK both ways: 20000 bytes from the
    // peer reach a listening editor whole and the monitor as one line; from
    // an editor they reach the peer as one event; 100000 bytes, more than a
    // JACK port buffer takes, stop the transmission before anything of them
    // leaves, and the editor says why.
    void longDumpsThroughJack()
    {
        PeerSession session("ostrel-long-peer");
        QVERIFY(session.connect());
        JackPeer& peer = session.peer;
        MainWindow& window = session.window;
        OstrelModel& model = session.model;
        MidiEditView* monitor = editView(window.openedWindow(WindowRestorationInfo::MidiInMonitorId));
        MidiEditView* listener = editView(window.createEditor(MidiEditView::SystemExclusiveReceiving, QSize(), QString()));
        const auto hexOf = [](const std::vector<unsigned char>& bytes) {
            return QString::fromLatin1(
                QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())).toHex(' ').toUpper());
        };
        const std::vector<unsigned char> dump = port_traffic::systemExclusive(20000);
        peer.send(dump);
        QVERIFY(peer.waitUntilSent());
        QTRY_COMPARE_WITH_TIMEOUT(textOf(listener), hexOf(dump).left(16384 * 3 - 1) + "\n" + hexOf(dump).mid(16384 * 3),
                                  10000);  // a line per 16 KiB
        QTRY_VERIFY(textOf(monitor).contains(hexOf(dump).left(95) + " ... (20000 bytes)"));

        MidiEditView* sender = editView(window.createEditor(MidiEditView::SystemExclusive, QSize(), QString()));
        sender->transmitMessage("F0 7D 01 F7\n" + hexOf(dump) + "\n" + hexOf(port_traffic::systemExclusive(100000)));
        QTRY_COMPARE_WITH_TIMEOUT(model.getModelIntValue(ParamSysExTransmitState, nullptr), 0, 10000);
        QVERIFY(peer.waitForBytes(4 + 20000));
        QTest::qWait(100);  // anything more would have arrived by now
        const std::vector<JackPeer::Arrival> arrivals = peer.arrivals();
        QCOMPARE(arrivals.size(), size_t(2));
        QCOMPARE(arrivals[1].size, size_t(20000));
        const std::vector<unsigned char> received = peer.received();
        QVERIFY(std::vector<unsigned char>(received.begin() + 4, received.end()) == dump);
        QCOMPARE(sender->progressView()->message(),
                 QString("Line 3: a system exclusive message of 100000 bytes; the output port takes at most %1 bytes.")
                     .arg(window.sender()->largestMessage(OutputPortGroup_Both)));
        QVERIFY(window.sender()->largestMessage(OutputPortGroup_Both) < 100000);
    }

    // MIDI thru from one JACK client to another through the window passes in
    // the cycle and at the frame each message came in, filtered as the
    // monitors are; the Out monitor shows what it passed; off, nothing passes.
    void thruPassesInTheSameCycleThroughTheWindow()
    {
        PeerSession session("ostrel-thru-peer");
        JackPeer receiver("ostrel-thru-receiver");
        QVERIFY(session.peer.isOpen() && receiver.isOpen());
        MainWindow& window = session.window;
        QStringList names;
        unsigned int current = 0;
        window.ports()->getInputPortList(InputPortGroup_First, names, current);
        QVERIFY(window.ports()->inputPortMenuSelected(InputPortGroup_First,
                                                      unsigned(names.indexOf(session.peer.name() + ":out") - 1)));
        window.ports()->getOutputPortList(OutputPortGroup_First, names, current);
        QVERIFY(window.ports()->outputPortMenuSelected(OutputPortGroup_First,
                                                       unsigned(names.indexOf(receiver.name() + ":in") - 1)));
        MidiEditView* in = editView(window.openedWindow(WindowRestorationInfo::MidiInMonitorId));
        MidiEditView* out = editView(window.openedWindow(WindowRestorationInfo::MidiOutMonitorId));
        session.model.setModelIntValue(ParamMidiThru, 0);
        session.model.setModelIntValue(ParamChannelFilterFirst + 1, 1);  // channel 2 hidden

        // Off: the note reaches the In monitor and nothing else.
        session.peer.send({0x90, 0x30, 0x40});
        QTRY_VERIFY_WITH_TIMEOUT(textOf(in).contains("90 30 40"), 10000);
        session.model.setModelIntValue(ParamMidiThru, 1);
        const std::vector<std::vector<unsigned char>> sent = {
            {0x90, 0x3C, 0x40}, {0x91, 0x3D, 0x40}, {0x80, 0x3C, 0x00}, {0xF0, 0x7D, 0x01, 0x02, 0xF7}};
        jack_nframes_t offset = 10;
        for (const auto& message : sent) {
            session.peer.send(message, offset);
            offset += 50;
        }
        const int xrunsBefore = session.peer.xruns() + receiver.xruns();
        QVERIFY(receiver.waitForBytes(11));
        QVERIFY(session.peer.waitUntilSent());
        QTest::qWait(50);  // anything more would have arrived by now
        const std::vector<unsigned char> expected = {0x90, 0x3C, 0x40, 0x80, 0x3C, 0x00, 0xF0, 0x7D, 0x01, 0x02, 0xF7};
        QVERIFY(receiver.received() == expected);
        const auto arrivals = receiver.arrivals();
        const auto sentFrames = session.peer.sentFrames();
        QCOMPARE(arrivals.size(), size_t(3));
        if (session.peer.xruns() + receiver.xruns() == xrunsBefore) {
            QCOMPARE(arrivals[0].frame, sentFrames[1]);
            QCOMPARE(arrivals[1].frame, sentFrames[3]);
            QCOMPARE(arrivals[2].frame, sentFrames[4]);
        }
        QTRY_VERIFY_WITH_TIMEOUT(textOf(out).contains("F0 7D 01 02 F7"), 10000);
        const QString outText = textOf(out);
        QVERIFY2(outText.indexOf("90 3C 40") < outText.indexOf("80 3C 00"), qPrintable(outText));
        QVERIFY(!outText.contains("91 3D 40"));
        QVERIFY(!outText.contains("90 30 40"));
        session.model.setModelIntValue(ParamMidiThru, 0);  // the window keeps it for the next
    }

    // A peer sends a full-size dump and a burst of notes: the In monitor shows
    // every message and a listening editor gets the dump text exactly. Then an
    // editor sends several dumps back with the bulk interval after each.
    void dumpsAndNotesBothWaysThroughTheWindows()
    {
        QFile::remove(SettingsStore::iniFilePath());
        JackPeer peer("ostrel-dump-peer");
        QVERIFY(peer.isOpen());
        OstrelModel model;
        MainWindow window(nullptr, &model, MidiApi::Jack);
        window.show();  // the default layout: both monitors and an editor
        QVERIFY(connectToPeer(window, peer.name()));
        MidiEditView* monitor = editView(window.openedWindow(WindowRestorationInfo::MidiInMonitorId));
        MidiEditView* listener = editView(window.createEditor(MidiEditView::SystemExclusiveReceiving, QSize(), QString()));
        QVERIFY(monitor && listener);
        model.setParameterEditFlag(ParameterEditFlagUnchanged);  // received text must not set it

        const std::vector<unsigned char> dump = port_traffic::systemExclusive(16384);
        peer.send(dump);
        for (int i = 0; i < 200; i++) {
            peer.send({0x90, static_cast<unsigned char>(i & 0x7F), 0x40});
        }
        QVERIFY(peer.waitUntilSent());
        const QString dumpText =
            QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(dump.data()), int(dump.size()))
                                    .toHex(' ')
                                    .toUpper());
        QTRY_COMPARE_WITH_TIMEOUT(textOf(listener), dumpText, 10000);
        // A late cycle may add a line of its own ("-- JACK xrun ...").
        const auto messageLines = [&] {
            return textOf(monitor).split('\n').filter(QRegularExpression("^(?!-- JACK )"));
        };
        QTRY_COMPARE_WITH_TIMEOUT(messageLines().size(), 201, 10000);
        const QStringList lines = messageLines();
        QVERIFY(lines.first().startsWith("F0 05 0A 0F"));
        QVERIFY(lines.first().endsWith("F7"));
        for (int i = 0; i < 200; i++) {
            QVERIFY2(lines.at(i + 1).contains(QString("90 %1 40").arg(i & 0x7F, 2, 16, QChar('0')).toUpper()),
                     qPrintable(lines.at(i + 1)));
        }
        QCOMPARE(model.getParameterEditFlag(), ParameterEditFlagUnchanged);

        // Back to the peer: five dumps, the bulk interval after each.
        model.setModelIntValue(ParamBulkInterval, 100);
        const uint64_t pauses = window.bulkIntervalManager()->pausesHeld();
        QString text;
        std::vector<unsigned char> expected;
        for (int message = 0; message < 5; message++) {
            const std::vector<unsigned char> one{0xF0, 0x7D, static_cast<unsigned char>(message), 0x11, 0x22, 0xF7};
            expected.insert(expected.end(), one.begin(), one.end());
            text += QString("F0 7D %1 11 22 F7 // dump %2\n").arg(message, 2, 10, QChar('0')).arg(message);
        }
        listener->transmitMessage(text);
        QVERIFY(peer.waitForBytes(expected.size()));
        QTRY_COMPARE(model.getModelIntValue(ParamSysExTransmitState, nullptr), 0);
        QVERIFY(peer.received() == expected);
        QCOMPARE(peer.arrivals().size(), size_t(5));
        QCOMPARE(window.bulkIntervalManager()->pausesHeld() - pauses, uint64_t(5));
        // The Out monitor echoed them.
        QTRY_COMPARE(textOf(editView(window.openedWindow(WindowRestorationInfo::MidiOutMonitorId))).count("F0 7D"), 5);
    }
    // The editor's MIDI-CI inquiries to an instrument that answers: F7 sends
    // them, the listening editor gets both replies, and the In monitor names
    // them, the Property Exchange body joined from its two chunks.
    void midiCiInquiriesAndTheirRepliesThroughTheWindows()
    {
        QFile::remove(SettingsStore::iniFilePath());
        PeerSession session("ostrel-ci-peer");
        QVERIFY(session.connect());
        session.model.setModelIntValue(ParamMessageDetail, 1);
        MidiEditView* monitor = editView(session.window.openWindow(WindowRestorationInfo::MidiInMonitorId));
        const uint32_t muid = CiMessages::sessionMuid();
        const QByteArray discovery = CiMessages::discovery(muid);
        const QByteArray get = CiMessages::propertyGet(muid, 3, "DeviceInfo");
        MidiEditView* editor = editView(session.window.createEditor(
            MidiEditView::SystemExclusive, QSize(), CiMessages::text(discovery) + CiMessages::text(get)));
        QVERIFY(monitor && editor);
        editor->generalView()->transmitAndReceiveMenuSelected();
        QVERIFY(session.peer.waitForBytes(static_cast<size_t>(discovery.size() + get.size())));
        QCOMPARE(fromBytes(session.peer.received()), discovery + get);

        // The instrument (MUID 0000ABC) answers both.
        const auto sevenBit = [](uint32_t value, int count) {
            QByteArray bytes;
            for (int i = 0; i < count; i++) {
                bytes += static_cast<char>(value >> (7 * i) & 0x7F);
            }
            return bytes;
        };
        const QByteArray head = QByteArray::fromHex("F07E7F0D") + '\x71' + '\x02' + sevenBit(0xABC, 4) + sevenBit(muid, 4);
        const QByteArray reply = head + QByteArray::fromHex("7D0000") + sevenBit(5, 2) + sevenBit(6, 2) +
                                 QByteArray::fromHex("01020304") + '\x0C' + sevenBit(4096, 4) + '\x00' + '\x7F' + '\xF7';
        const auto chunk = [&](int number, const QByteArray& header, const QByteArray& body) {
            QByteArray message = QByteArray::fromHex("F07E7F0D") + '\x35' + '\x02' + sevenBit(0xABC, 4) +
                                 sevenBit(muid, 4) + '\x03';
            return message + sevenBit(header.size(), 2) + header + sevenBit(2, 2) + sevenBit(number, 2) +
                   sevenBit(body.size(), 2) + body + '\xF7';
        };
        const QByteArray first = chunk(1, "{\"status\":200}", "{\"manufacturerId\":[125,0,0],");
        const QByteArray second = chunk(2, QByteArray(), "\"version\":\"1.2\"}");
        for (const QByteArray& message : {reply, first, second}) {
            session.peer.send(std::vector<unsigned char>(message.begin(), message.end()));
        }
        MidiEditView* listener = nullptr;
        for (QMdiSubWindow* window : session.window.findChildren<QMdiSubWindow*>()) {
            MidiEditView* view = editView(window);
            if (view && view->openMode() == MidiEditView::SystemExclusiveReceiving) {
                listener = view;
            }
        }
        QVERIFY(listener);
        const auto text = [](const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex(' ').toUpper()); };
        QTRY_COMPARE_WITH_TIMEOUT(textOf(listener), text(reply) + '\n' + text(first) + '\n' + text(second), 10000);
        char to[8];
        std::snprintf(to, sizeof to, "%07X", muid);
        QTRY_VERIFY_WITH_TIMEOUT(textOf(monitor).contains("MIDI-CI PE Reply to Get"), 10000);
        const QString shown = textOf(monitor);
        QVERIFY2(shown.contains(QString("MIDI-CI Reply to Discovery, version 2, from 0000ABC to %1: maker 7D 00 00, "
                                        "family 5, model 6, software 01 02 03 04, categories 0C (profiles, properties), "
                                        "receivable 4096 bytes, output path 0, no function block")
                                    .arg(to)),
                 qPrintable(shown));
        QVERIFY(shown.contains(QString("MIDI-CI PE Reply to Get, version 2, from 0000ABC to %1: request 3, chunk 1 of 2, "
                                       "header {\"status\":200} (28 bytes)")
                                   .arg(to)));
        QVERIFY(shown.contains("request 3, chunk 2 of 2, body of 44 bytes in 2 chunks "
                               "{\"manufacturerId\":[125,0,0],\"version\":\"1.2\"}"));
    }
};

QTEST_MAIN(MainWindowJackTest)
#include "MainWindowJackTest.moc"
