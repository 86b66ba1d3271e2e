// Ostrel's ports against a real ALSA sequencer: a second sequencer client
// as the instrument, and ALSA's "Midi Through" port as a cable back.
#include <QtTest>

#include <memory>

#include "AlsaPeer.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiTime.h"
#include "PacketCollector.h"
#include "PeerChecks.h"

namespace {

using namespace port_traffic;

const QString PeerOut = QStringLiteral("ostrel-alsa-peer:out");
const QString PeerIn = QStringLiteral("ostrel-alsa-peer:in");
const QString Through = QStringLiteral("Midi Through:Midi Through Port-0");

}  // namespace

class AlsaPortsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_peer = std::make_unique<AlsaPeer>("ostrel-alsa-peer");
        QVERIFY2(m_peer->isOpen(), "no ALSA sequencer");
        m_client = std::make_unique<MidiClient>(MidiApi::Alsa);
        QCOMPARE(m_client->systemServiceName(), QString("ALSA"));
        const uint64_t startHost = getHostTimeInMilliseconds();
        const uint32_t startDay = getCurrentTimeInMilliseconds();
        m_input = std::make_unique<MidiInputPort>(m_client.get(), 16384, 1, startHost, startDay);
        m_output = std::make_unique<MidiOutputPort>(m_client.get(), MaximumMessageSize, 0, startHost, startDay);
        m_collector = std::make_unique<PacketCollector>();
        m_collector->attach(*m_input);
        m_input->getInputPortNameList(nullptr);
        m_output->getOutputPortNameList(nullptr);
    }

    void cleanup()
    {
        m_input.reset();
        m_output.reset();
        m_client.reset();
        m_peer.reset();
    }

    void listsHoldPeersButNeitherSystemNorOurselves()
    {
        const QStringList sources = m_input->getInputPortNameList(nullptr);
        const QStringList destinations = m_output->getOutputPortNameList(nullptr);
        QVERIFY2(sources.contains(PeerOut), qPrintable(sources.join(", ")));
        QVERIFY(sources.contains(Through));
        QVERIFY(destinations.contains(PeerIn));
        QVERIFY(destinations.contains(Through));
        QVERIFY(!sources.contains(PeerIn));
        for (const QString& name : sources + destinations) {
            QVERIFY2(!name.startsWith("System:") && !name.startsWith("Ostrel:"), qPrintable(name));
        }
        QCOMPARE(sources.mid(sources.size() - 2),
                 QStringList({"Ostrel Loopback 1", "Ostrel Loopback 2"}));
    }

    void peerTrafficArrivesIntactAndInOrder()
    {
        peerTrafficArrives(*m_peer, *m_input, *m_collector, PeerOut);
        for (const auto& packet : m_collector->packets()) {
            QVERIFY(packet.bytes.size() <= 256);  // sysex arrives in its events, for the parser
        }
    }

    void ostrelTrafficArrivesIntactAtThePeer() { ourTrafficArrives(*m_peer, *m_output, PeerIn); }

    void throughPortCarriesEverythingBack()
    {
        QCOMPARE(m_input->openInputPort(Through), MIDI_RESULT_SUCCESS);
        QCOMPARE(m_output->openOutputPort(Through), MIDI_RESULT_SUCCESS);
        const std::vector<Bytes> messages = traffic();
        QVERIFY(transmitAll(*m_output, messages));
        const Bytes expected = joined(messages);
        QVERIFY(m_collector->waitForBytes(expected.size()));
        QCOMPARE(m_collector->bytes(), expected);
        // And a dump longer than a packet: the sequencer's events carry it whole.
        m_collector->clear();
        const std::vector<Bytes> longer{systemExclusive(20000), {0xFA}};
        QVERIFY(transmitAll(*m_output, longer));
        QVERIFY(m_collector->waitForBytes(20001));
        QCOMPARE(m_collector->bytes(), joined(longer));
        QCOMPARE(m_input->closeInputPort(), MIDI_RESULT_SUCCESS);
    }

    void peerThatVanishesLeavesErrorsAndNotConnected()
    {
        vanishingPeerLeavesNotConnected(*m_peer, *m_input, *m_output, PeerOut, PeerIn);
    }

private:
    std::unique_ptr<AlsaPeer> m_peer;
    std::unique_ptr<MidiClient> m_client;
    std::unique_ptr<MidiInputPort> m_input;
    std::unique_ptr<MidiOutputPort> m_output;
    std::unique_ptr<PacketCollector> m_collector;
};

QTEST_GUILESS_MAIN(AlsaPortsTest)
#include "AlsaPortsTest.moc"
