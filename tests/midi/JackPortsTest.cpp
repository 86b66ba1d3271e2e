// Ostrel's ports against a real JACK server and a second JACK client that
// plays an instrument: lists, traffic both ways (bursts and the largest
// system exclusive included), and a peer that goes away.
#include <QtTest>

#include <cmath>
#include <memory>

#include "JackMidiService.h"
#include "JackPeer.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiTime.h"
#include "PacketCollector.h"
#include "PeerChecks.h"

namespace {

using namespace port_traffic;

}  // namespace

class JackPortsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_peer = std::make_unique<JackPeer>("ostrel-test-peer");
        QVERIFY2(m_peer->isOpen(), "no JACK server: the test command starts one");
        m_client = std::make_unique<MidiClient>(MidiApi::Jack);
        QCOMPARE(m_client->systemServiceName(), QString("JACK"));
        const uint64_t startHost = getHostTimeInMilliseconds();
        const uint32_t startDay = getCurrentTimeInMilliseconds();
        m_input = std::make_unique<MidiInputPort>(m_client.get(), 16384, 0, startHost, startDay);
        m_output = std::make_unique<MidiOutputPort>(m_client.get(), 16384, 1, startHost, startDay);
        m_collector = std::make_unique<PacketCollector>();
        m_collector->attach(*m_input);
        m_peerName = m_peer->name();
    }

    void cleanup()
    {
        m_input.reset();
        m_output.reset();
        m_client.reset();
        m_peer.reset();
    }

    void peerIsListedAndOurOwnPortsAreNot()
    {
        const QStringList sources = m_input->getInputPortNameList(nullptr);
        const QStringList destinations = m_output->getOutputPortNameList(nullptr);
        QVERIFY2(sources.contains(m_peerName + ":out"), qPrintable(sources.join(", ")));
        QVERIFY(destinations.contains(m_peerName + ":in"));
        QVERIFY(!sources.contains(m_peerName + ":in"));
        // The loopback follows the system's endpoints.
        QCOMPARE(sources.mid(sources.size() - 2),
                 QStringList({"Ostrel Loopback 1", "Ostrel Loopback 2"}));
        QCOMPARE(m_input->openInputPort(m_peerName + ":out"), MIDI_RESULT_SUCCESS);
        QCOMPARE(m_output->openOutputPort(m_peerName + ":in"), MIDI_RESULT_SUCCESS);
        // Our ports, now registered, stay out of the lists.
        for (const QString& name : m_input->getInputPortNameList(nullptr) +
                                       m_output->getOutputPortNameList(nullptr)) {
            QVERIFY2(!name.startsWith("Ostrel:"), qPrintable(name));
        }
    }

    void peerTrafficArrivesIntactAndInOrder()
    {
        peerTrafficArrives(*m_peer, *m_input, *m_collector, m_peerName + ":out");
        QCOMPARE(m_collector->packets().size(), traffic().size());  // one event, one packet
    }

    void ostrelTrafficArrivesIntactAtThePeer()
    {
        ourTrafficArrives(*m_peer, *m_output, m_peerName + ":in");
        QCOMPARE(m_peer->receivedEvents(), traffic().size());
    }

    void peerThatVanishesLeavesErrorsAndNotConnected()
    {
        vanishingPeerLeavesNotConnected(*m_peer, *m_input, *m_output, m_peerName + ":out", m_peerName + ":in");
    }

    void sentEventsLandAtTheFramesOfTheirTimesAndInOrder()
    {
        QCOMPARE(m_output->openOutputPort(m_peerName + ":in"), MIDI_RESULT_SUCCESS);
        // Twelve clocks 1.7 ms apart (not a whole number of frames nor of
        // periods), handed over well ahead of their times, then a note due
        // now, which must not overtake them.
        const unsigned long long spacing = 1700000;
        const unsigned long long first = getHostTimeInNanoseconds() + 40000000;
        const unsigned char clock = 0xF8;
        unsigned int stamp = 0;
        for (unsigned long long k = 0; k < 12; k++) {
            QCOMPARE(m_output->transmitMidi(&clock, 1, stamp, first + k * spacing), MIDI_RESULT_SUCCESS);
        }
        const Bytes note{0x90, 0x3C, 0x40};
        QCOMPARE(m_output->transmitMidi(note.data(), 3, stamp, 0), MIDI_RESULT_SUCCESS);
        QVERIFY(m_peer->waitForBytes(15));
        const auto arrivals = m_peer->arrivals();
        QCOMPARE(arrivals.size(), size_t(13));
        // On JACK's own timeline (frames to time as the server measures it),
        // the spacing is the spacing of the send times within two frames.
        const double frame = 1e6 / m_peer->sampleRate();
        for (size_t k = 0; k < 12; k++) {
            QCOMPARE(arrivals[k].size, size_t(1));
            const double expected = k * spacing / 1000.0;
            const double placed = double(arrivals[k].time - arrivals[0].time);
            QVERIFY2(std::abs(placed - expected) <= 2 * frame,
                     qPrintable(QString("clock %1 at +%2 us, expected +%3").arg(k).arg(placed).arg(expected)));
            QVERIFY(k == 0 || arrivals[k].frame > arrivals[k - 1].frame);
        }
        QCOMPARE(arrivals[12].size, size_t(3));
        QVERIFY(arrivals[12].frame >= arrivals[11].frame);
        // The first clock left one period after its time, as every event does.
        // JACK's clock need not be the host clock: convert through the present.
        const long long jackMinusHost =
            static_cast<long long>(jack_get_time()) - static_cast<long long>(getHostTimeInNanoseconds() / 1000);
        const auto due = static_cast<jack_time_t>(static_cast<long long>(first / 1000) + jackMinusHost);
        const jack_time_t period = 1000000ull * m_peer->bufferSize() / m_peer->sampleRate();
        const auto late = static_cast<long long>(arrivals[0].time) - static_cast<long long>(due);
        QVERIFY2(late > static_cast<long long>(period) / 2 && late < 2 * static_cast<long long>(period),
                 qPrintable(QString("first clock %1 us after its time").arg(late)));
    }

    void messageThatCanNeverFitIsRefused()
    {
        auto service = JackMidiService::create();
        QVERIFY(service);
        const QList<MidiEndpoint> destinations = service->destinations(nullptr);
        int32_t peerIn = InvalidPortId;
        for (const MidiEndpoint& endpoint : destinations) {
            if (endpoint.name == m_peerName + ":in") {
                peerIn = endpoint.uniqueId;
            }
        }
        QCOMPARE(service->connectDestination(peerIn), MIDI_RESULT_SUCCESS);
        const Bytes huge = systemExclusive(60000);
        QCOMPARE(service->send(peerIn, huge.data(), static_cast<unsigned short>(huge.size())),
                 MIDI_RESULT_ERROR);
        const Bytes largest = systemExclusive(16384);
        QCOMPARE(service->send(peerIn, largest.data(), 16384), MIDI_RESULT_SUCCESS);
        QVERIFY(m_peer->waitForBytes(16384));
        QCOMPARE(m_peer->received(), largest);
        service->disconnectDestination(peerIn);
        QCOMPARE(service->send(peerIn, largest.data(), 16384), MIDI_RESULT_ERROR);
        // Without a port the client rests: the server no longer calls it.
        QVERIFY(!service->isActive());
        QCOMPARE(service->connectDestination(peerIn), MIDI_RESULT_SUCCESS);
        QVERIFY(service->isActive());
        QCOMPARE(service->send(peerIn, largest.data(), 16384), MIDI_RESULT_SUCCESS);
        QVERIFY(m_peer->waitForBytes(2 * 16384));
        QCOMPARE(service->skippedCycles(), uint64_t(0));  // the frame time moved on while it rested
        service->disconnectDestination(peerIn);
    }

    // Same-cycle thru: what the peer sends reaches a second client in the
    // cycle it was sent in, at its own frame, filtered, with running status
    // written out and long system exclusive joined; what cannot pass is
    // reported; events the port sends meanwhile keep their order.
    void thruPassesInTheCycleAndAtTheFrameItCameIn()
    {
        JackPeer receiver("ostrel-test-receiver");
        QVERIFY(receiver.isOpen());
        m_input->getInputPortNameList(nullptr);
        m_output->getOutputPortNameList(nullptr);
        QCOMPARE(m_input->openInputPort(m_peerName + ":out"), MIDI_RESULT_SUCCESS);
        QCOMPARE(m_output->openOutputPort(receiver.name() + ":in"), MIDI_RESULT_SUCCESS);
        MidiService* service = m_input->connectedService();
        std::mutex mutex;
        std::vector<ThruReport> reports;
        std::vector<Bytes> reported;
        service->setThruListener([&](const ThruReport& report) {
            std::lock_guard<std::mutex> lock(mutex);
            reports.push_back(report);
            reported.emplace_back(report.data, report.data + (report.refused ? 0 : report.length));
        });
        ThruRoute route;
        route.source = m_input->portUniqueId();
        route.destination = m_output->destination().id;
        route.tag = 1;
        route.on = true;
        midilib_filter_init(&route.filter);
        midilib_filter_setChannelSwitch(&route.filter, 1, 1);  // channel 2 hidden
        QVERIFY(service->setThruRoutes({route}));
        const int xrunsBefore = m_peer->xruns() + receiver.xruns();

        // One cycle: notes at rising offsets, running status across events,
        // a hidden note, active sensing (never passes) and a clock.
        const std::vector<std::pair<Bytes, jack_nframes_t>> sent = {
            {{0x90, 0x3C, 0x40}, 3}, {{0x3E, 0x41}, 17}, {{0x91, 0x40, 0x40}, 40}, {{0xFE}, 41},
            {{0xF8}, 100}, {{0x80, 0x3C, 0x00}, 255}};
        for (const auto& [bytes, offset] : sent) {
            m_peer->send(bytes, offset);
        }
        // A dump of 20000 bytes (pieces joined), one of 40000 (more than an
        // event takes: refused) sent as two events, then a note.
        const Bytes dump = systemExclusive(20000);
        const Bytes tooLong = systemExclusive(40000);
        m_peer->send(dump, 0);
        m_peer->send(Bytes(tooLong.begin(), tooLong.begin() + 20000), 0);
        m_peer->send(Bytes(tooLong.begin() + 20000, tooLong.end()), 0);
        m_peer->send({0x90, 0x43, 0x40}, 7);
        // Meanwhile the port sends messages of its own, due over a few cycles.
        const unsigned long long start = getHostTimeInNanoseconds();
        const unsigned char ownByte = 0xF6;
        unsigned int stamp = 0;
        for (unsigned long long k = 0; k < 8; k++) {
            QCOMPARE(m_output->transmitMidi(&ownByte, 1, stamp, start + k * 1000000), MIDI_RESULT_SUCCESS);
        }

        const std::vector<Bytes> passed = {{0x90, 0x3C, 0x40}, {0x90, 0x3E, 0x41}, {0xF8}, {0x80, 0x3C, 0x00},
                                           dump, {0x90, 0x43, 0x40}};
        const size_t total = joined(passed).size() + 8;
        QVERIFY(receiver.waitForBytes(total));
        QVERIFY(m_peer->waitUntilSent());
        const auto arrivals = receiver.arrivals();
        const Bytes received = receiver.received();
        QCOMPARE(received.size(), total);
        std::vector<Bytes> thru;
        std::vector<jack_nframes_t> thruFrames;
        size_t own = 0;
        size_t at = 0;
        for (size_t i = 0; i < arrivals.size(); i++) {
            QVERIFY(i == 0 || arrivals[i].frame >= arrivals[i - 1].frame);  // one port's stream, in order
            const Bytes event(received.begin() + at, received.begin() + at + arrivals[i].size);
            at += arrivals[i].size;
            if (event == Bytes{0xF6}) {
                own++;
            } else {
                thru.push_back(event);
                thruFrames.push_back(arrivals[i].frame);
            }
        }
        QCOMPARE(own, size_t(8));
        QCOMPARE(thru, passed);
        // Each passed message left at the frame its source event came at,
        // in that cycle (the server ran every cycle meanwhile: no xrun).
        const auto peerFrames = m_peer->sentFrames();
        const std::vector<jack_nframes_t> sourceFrames = {peerFrames[0], peerFrames[1], peerFrames[4],
                                                          peerFrames[5], peerFrames[6], peerFrames[9]};
        if (m_peer->xruns() + receiver.xruns() == xrunsBefore) {
            QCOMPARE(thruFrames, sourceFrames);
        } else {
            qInfo("the server reported an xrun: frames not compared");
        }
        // Reported in order: each passed message, and the 40000 bytes refused.
        const auto reportCount = [&] {
            std::lock_guard<std::mutex> lock(mutex);
            return reports.size();
        };
        QTRY_COMPARE_WITH_TIMEOUT(reportCount(), passed.size() + 1, 10000);
        service->setThruListener(nullptr);
        std::vector<Bytes> sentByThru;
        for (size_t i = 0; i < reports.size(); i++) {
            QCOMPARE(reports[i].tag, 1);
            if (reports[i].refused) {
                QCOMPARE(reports[i].length, uint32_t(40000));
                QCOMPARE(reports[i].largest, service->largestMessage(route.destination));
            } else {
                sentByThru.push_back(reported[i]);
            }
        }
        QCOMPARE(sentByThru, passed);
        service->setThruRoutes({});
    }

private:
    std::unique_ptr<JackPeer> m_peer;
    QString m_peerName;
    std::unique_ptr<MidiClient> m_client;
    std::unique_ptr<MidiInputPort> m_input;
    std::unique_ptr<MidiOutputPort> m_output;
    std::unique_ptr<PacketCollector> m_collector;
};

QTEST_GUILESS_MAIN(JackPortsTest)
#include "JackPortsTest.moc"
