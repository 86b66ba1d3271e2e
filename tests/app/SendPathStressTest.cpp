// The send path under load: a JACK peer floods the first input with 20,000
// notes a second while MIDI thru sends them back, an editor repeats a dump,
// and every 50 ms the input port is closed or opened again, thru and the
// parser switched. Nothing may freeze or race (the ThreadSanitizer build
// runs this too), and everything that reaches the peer must be whole,
// undamaged messages. OSTREL_STRESS_SECONDS shortens the run while working.
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

#include "JackPeer.h"
#include "MainWindow.h"
#include "ThruRouter.h"
#include "PortSet.h"
#include "MidiEditView.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "OstrelModel.h"

namespace {

const std::vector<unsigned char> Dump{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};

// The number of whole notes and dumps in bytes; -1 at the first byte that
// belongs to neither (a damaged or interleaved message).
struct Tally {
    long notes = 0;
    long dumps = 0;
    long damagedAt = -1;
};

Tally tally(const std::vector<unsigned char>& bytes)
{
    Tally result;
    size_t at = 0;
    while (at < bytes.size()) {
        if (at + 3 <= bytes.size() && bytes[at] == 0x90 && bytes[at + 1] < 0x80 && bytes[at + 2] == 0x40) {
            result.notes++;
            at += 3;
        } else if (at + Dump.size() <= bytes.size() &&
                   std::equal(Dump.begin(), Dump.end(), bytes.begin() + static_cast<long>(at))) {
            result.dumps++;
            at += Dump.size();
        } else {
            result.damagedAt = static_cast<long>(at);
            return result;
        }
    }
    return result;
}

}  // namespace

class SendPathStressTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void switchingEverythingDuringAFloodNeitherFreezesNorDamages()
    {
        JackPeer peer("ostrel-stress-peer");
        QVERIFY2(peer.isOpen(), "no JACK server: the test command starts one");
        const QString source = peer.name() + ":out";
        OstrelModel model;
        MainWindow window(nullptr, &model, MidiApi::Jack);
        window.closeAllSubWindows();
        MidiInputPort* input = window.ports()->input(InputPortGroup_First);
        input->getInputPortNameList(nullptr);
        window.ports()->output(OutputPortGroup_First)->getOutputPortNameList(nullptr);
        QCOMPARE(input->openInputPort(source), MIDI_RESULT_SUCCESS);
        QCOMPARE(window.ports()->output(OutputPortGroup_First)->openOutputPort(peer.name() + ":in"),
                 MIDI_RESULT_SUCCESS);
        model.setModelIntValue(ParamMidiThru, 1);
        model.setModelIntValue(ParamBulkInterval, 0);

        auto* editor = qobject_cast<MidiEditView*>(
            window.createEditor(MidiEditView::SystemExclusive, QSize(), "F0 7E 7F 06 01 F7")
                ->widget());
        QVERIFY(editor);
        editor->startRepeatTransmittion("F0 7E 7F 06 01 F7");

        // 100 notes every 5 ms, from a thread of its own.
        std::atomic<bool> flooding{true};
        std::atomic<long> flooded{0};
        std::thread feeder([&] {
            auto next = std::chrono::steady_clock::now();
            while (flooding) {
                for (int i = 0; i < 100; i++) {
                    peer.send({0x90, static_cast<unsigned char>(flooded++ & 0x7F), 0x40});
                }
                next += std::chrono::milliseconds(5);
                std::this_thread::sleep_until(next);
            }
        });

        const int seconds = qEnvironmentVariableIsSet("OSTREL_STRESS_SECONDS")
                                ? qEnvironmentVariableIntValue("OSTREL_STRESS_SECONDS")
                                : 20;
        for (int step = 0; step < seconds * 20; step++) {
            QTest::qWait(50);  // the 100 ms timer hands the monitors their text meanwhile
            switch (step % 4) {
            case 0:
                input->closeInputPort();
                break;
            case 1:
                input->getInputPortNameList(nullptr);
                QCOMPARE(input->openInputPort(source), MIDI_RESULT_SUCCESS);
                break;
            case 2:
                model.setModelIntValue(ParamMidiThru, model.getModelIntValue(ParamMidiThru, nullptr) ? 0 : 1);
                break;
            default:
                model.setModelIntValue(ParamMessageParsed,
                                       model.getModelIntValue(ParamMessageParsed, nullptr) ? 0 : 1);
                break;
            }
        }
        flooding = false;
        feeder.join();
        editor->stopRepeatTransmittion();

        // Still alive: with everything switched back on, one more note comes back.
        model.setModelIntValue(ParamMessageParsed, 1);
        model.setModelIntValue(ParamMidiThru, 1);
        input->getInputPortNameList(nullptr);
        input->openInputPort(source);
        QVERIFY(peer.waitUntilSent());
        QTest::qWait(500);
        const size_t before = peer.received().size();
        peer.send({0x90, 0x3C, 0x40});
        QVERIFY(peer.waitForBytes(before + 3));

        // Every message the output port handed to the service, and each the
        // service passed thru itself, reached the peer; the service refused
        // none (it waits for ring space instead).
        MidiOutputPort* output = window.ports()->output(OutputPortGroup_First);
        const ThruRouter* router = window.thruRouter();
        const auto handedOver = [&] { return output->acceptedMessages() + router->passedMessages(); };
        QVERIFY(port_traffic::waitUntil([&] { return peer.receivedEvents() >= handedOver(); }));
        QCOMPARE(static_cast<uint64_t>(peer.receivedEvents()), handedOver());
        QCOMPARE(output->refusedMessages(), uint64_t{0});
        QCOMPARE(router->refusedMessages(), uint64_t{0});

        const Tally result = tally(peer.received());
        QVERIFY2(result.damagedAt < 0, qPrintable(QString("damaged at byte %1").arg(result.damagedAt)));
        QVERIFY(result.notes > 0);
        QVERIFY(result.dumps > 0);
        QVERIFY(result.notes <= flooded + 1);
        qInfo("%ld notes flooded, %ld came back through thru, %ld dumps repeated, %llu messages sent", flooded.load(),
              result.notes, result.dumps, static_cast<unsigned long long>(output->acceptedMessages()));
    }
};

QTEST_MAIN(SendPathStressTest)
#include "SendPathStressTest.moc"
