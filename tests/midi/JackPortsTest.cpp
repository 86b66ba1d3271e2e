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
