// Input and output ports over the built-in loopback: lists, opening by
// index and by name, closing, transmitting and receiving with time stamps,
// long system exclusive in packets, the failures a user can meet, and
// letting a destination go while a send to it is in progress.
#include <QtTest>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "LoopbackMidiService.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiTime.h"
#include "PacketCollector.h"
#include "PortTraffic.h"

namespace {

std::unique_ptr<MidiClient> loopbackClient(const QStringList& names,
                                           LoopbackMidiService** loopback = nullptr)
{
    std::vector<std::unique_ptr<MidiService>> services;
    auto service = std::make_unique<LoopbackMidiService>(names);
    if (loopback) {
        *loopback = service.get();
    }
    services.push_back(std::move(service));
    return std::make_unique<MidiClient>(std::move(services));
}

// A destination whose sends wait until the test lets them go (or five
// seconds pass): a slow device, as the port sees it.
class SlowService : public MidiService {
public:
    QString serviceName() const override { return QStringLiteral("Slow"); }
    QList<MidiEndpoint> sources(MIDI_RESULT* result) override
    {
        setMidiResult(result, MIDI_RESULT_SUCCESS);
        return {};
    }
    QList<MidiEndpoint> destinations(MIDI_RESULT* result) override
    {
        setMidiResult(result, MIDI_RESULT_SUCCESS);
        MidiEndpoint slow;
        slow.name = slow.portName = QStringLiteral("Slow");
        slow.uniqueId = 7;
        return {slow};
    }
    MIDI_RESULT connectSource(int32_t, MidiServiceReceiver*) override { return MIDI_RESULT_ERROR; }
    MIDI_RESULT disconnectSource(int32_t, MidiServiceReceiver*) override { return MIDI_RESULT_ERROR; }
    MIDI_RESULT connectDestination(int32_t) override { return MIDI_RESULT_SUCCESS; }
    void disconnectDestination(int32_t) override { disconnects++; }
    MIDI_RESULT send(int32_t, const unsigned char*, uint32_t, unsigned long long) override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        sending = true;
        timedOut = !m_released.wait_for(lock, std::chrono::seconds(5), [this] { return released; });
        return MIDI_RESULT_SUCCESS;
    }
    void release()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        released = true;
        m_released.notify_all();
    }

    std::atomic<bool> sending{false};
    std::atomic<bool> timedOut{false};
    std::atomic<int> disconnects{0};

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool released = false;  // m_mutex
};

}  // namespace

class LoopbackPortsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_client = loopbackClient(LoopbackMidiService::defaultNames(), &m_loopback);
        m_startHost = getHostTimeInMilliseconds();
        m_startDay = getCurrentTimeInMilliseconds();
        m_input = std::make_unique<MidiInputPort>(m_client.get(), 16384, 1, m_startHost, m_startDay);
        m_output = std::make_unique<MidiOutputPort>(m_client.get(), 16384, 0, m_startHost, m_startDay);
        m_collector = std::make_unique<PacketCollector>();
        m_collector->attach(*m_input);
    }

    void cleanup()
    {
        m_input.reset();
        m_output.reset();
        m_client.reset();
    }

    void listsHoldBothLoopbackEndpoints()
    {
        const QStringList names{"Ostrel Loopback 1", "Ostrel Loopback 2"};
        QCOMPARE(m_input->getInputPortNameList(nullptr), names);
        QCOMPARE(m_output->getOutputPortNameList(nullptr), names);
        // Ids are stable from run to run, and never the invalid id.
        const int32_t id = MidiService::makeUniqueId("Loopback", "Ostrel Loopback 1", 0);
        QCOMPARE(id, MidiService::makeUniqueId("Loopback", "Ostrel Loopback 1", 0));
        QVERIFY(id != MidiService::makeUniqueId("Loopback", "Ostrel Loopback 1", 1));
        QVERIFY(id != InvalidPortId);
    }

    void messagesComeBackInOrderWithTimeStamps()
    {
        m_input->getInputPortNameList(nullptr);
        m_output->getOutputPortNameList(nullptr);
        QCOMPARE(m_input->openInputPort(QString("Ostrel Loopback 2")), MIDI_RESULT_SUCCESS);
        QCOMPARE(m_output->openOutputPort(1u), MIDI_RESULT_SUCCESS);
        QString name;
        m_output->getCurrentPortName(name);
        QCOMPARE(name, QString("Ostrel Loopback 2"));
        QCOMPARE(m_input->portIndex(), 1);

        const unsigned char messages[][3] = {{0x90, 0x3C, 0x40}, {0xB0, 0x07, 0x64},
                                             {0x80, 0x3C, 0x00}};
        unsigned int sentStamp = 0;
        const uint64_t before = getHostTimeInNanoseconds();
        for (const auto& message : messages) {
            QCOMPARE(m_output->transmitMidi(message, 3, sentStamp, 0), MIDI_RESULT_SUCCESS);
        }
        QVERIFY(m_collector->waitForBytes(9));
        const auto packets = m_collector->packets();
        QCOMPARE(packets.size(), size_t(3));
        for (size_t i = 0; i < 3; i++) {
            QCOMPARE(packets[i].bytes, std::vector<unsigned char>(messages[i], messages[i] + 3));
            QCOMPARE(packets[i].portGroup, 1u);
            // Received after it was sent, stamped on the ports' shared clock.
            QVERIFY(packets[i].hostTime >= before);
            QVERIFY(i == 0 || packets[i].hostTime >= packets[i - 1].hostTime);
            QCOMPARE(packets[i].timeStamp,
                     timeStampFromHostTime(packets[i].hostTime / 1000000u, m_startHost, m_startDay));
        }
        // Loopback 1 stays silent.
        QCOMPARE(m_output->openOutputPort(0u), MIDI_RESULT_SUCCESS);
        m_output->transmitMidi(messages[0], 3, sentStamp, 0);
        QCOMPARE(m_output->openOutputPort(1u), MIDI_RESULT_SUCCESS);
        m_output->transmitMidi(messages[1], 3, sentStamp, 0);
        QVERIFY(m_collector->waitForBytes(12));
        QCOMPARE(m_collector->packets().back().bytes, std::vector<unsigned char>(messages[1], messages[1] + 3));
        QCOMPARE(m_collector->packets().size(), size_t(4));
    }

    void longSystemExclusiveComesInPackets()
    {
        m_input->openInputPort(QString("Ostrel Loopback 1"));
        m_output->openOutputPort(QString("Ostrel Loopback 1"));
        const auto largest = port_traffic::systemExclusive(16384);
        unsigned int stamp = 0;
        QCOMPARE(m_output->transmitMidi(largest.data(), 16384, stamp, 0), MIDI_RESULT_SUCCESS);
        QVERIFY(m_collector->waitForBytes(16384));
        QCOMPARE(m_collector->packets().front().bytes, largest);

        // Above the port's own limit: refused. The service itself takes any
        // length and hands it on in packets of at most 16384 bytes, in order.
        const auto larger = port_traffic::systemExclusive(100000);
        QCOMPARE(m_output->transmitMidi(larger.data(), 16385, stamp, 0), MIDI_RESULT_ERROR);
        m_collector->clear();
        QCOMPARE(m_loopback->send(m_input->portUniqueId(), larger.data(), 100000), MIDI_RESULT_SUCCESS);
        QVERIFY(m_collector->waitForBytes(100000));
        std::vector<unsigned char> joined;
        for (const auto& packet : m_collector->packets()) {
            QVERIFY(packet.bytes.size() <= MaximumPacketSize);
            joined.insert(joined.end(), packet.bytes.begin(), packet.bytes.end());
        }
        QCOMPARE(joined, larger);
        QCOMPARE(m_collector->packets().size(), size_t(7));
    }

    void firstOfTwoEqualNamesIsOpened()
    {
        cleanup();
        m_client = loopbackClient({"Twin", "Twin", "Other"});
        m_input = std::make_unique<MidiInputPort>(m_client.get(), 16384, 0, 0, 0);
        m_output = std::make_unique<MidiOutputPort>(m_client.get(), 16384, 0, 0, 0);
        m_collector = std::make_unique<PacketCollector>();
        m_collector->attach(*m_input);
        QCOMPARE(m_input->openInputPort(QString("Twin")), MIDI_RESULT_SUCCESS);
        QCOMPARE(m_input->portIndex(), 0);
        QCOMPARE(m_output->openOutputPort(QString("Twin")), MIDI_RESULT_SUCCESS);
        QCOMPARE(m_output->portIndex(), 0);
        const unsigned char start = 0xFA;
        unsigned int stamp = 0;
        m_output->transmitMidi(&start, 1, stamp, 0);
        QVERIFY(m_collector->waitForBytes(1));
        // The second "Twin" is a different endpoint with its own id.
        QCOMPARE(m_output->openOutputPort(1u), MIDI_RESULT_SUCCESS);
        QVERIFY(m_output->portUniqueId() != m_input->portUniqueId());
    }

    void failuresLeaveTheDocumentedState()
    {
        m_input->getInputPortNameList(nullptr);
        m_output->getOutputPortNameList(nullptr);
        QString name;
        QCOMPARE(m_input->openInputPort(5u), MIDI_RESULT_ERROR);
        m_input->getCurrentPortName(name);
        QCOMPARE(name, QString("Not Connected"));
        QCOMPARE(m_input->closeInputPort(), MIDI_RESULT_ERROR);

        QCOMPARE(m_input->openInputPort(0u), MIDI_RESULT_SUCCESS);
        QCOMPARE(m_input->openInputPort(QString("Ostrel loopback 2")), MIDI_RESULT_ERROR);  // case
        QCOMPARE(m_input->portIndex(), 0);  // unchanged by a name that matches nothing
        QCOMPARE(m_input->openInputPort(9u), MIDI_RESULT_ERROR);
        QCOMPARE(m_input->portIndex(), InvalidPortIndex);

        unsigned int stamp = 12345;
        const unsigned char note[] = {0x90, 0x3C, 0x40};
        QCOMPARE(m_output->transmitMidi(note, 3, stamp, 0), MIDI_RESULT_ERROR);
        QCOMPARE(stamp, 12345u);
        QCOMPARE(m_output->closeOutputPort(), MIDI_RESULT_ERROR);
        QCOMPARE(m_output->openOutputPort(1u), MIDI_RESULT_SUCCESS);
        // An index out of range leaves the existing connection and its name.
        QCOMPARE(m_output->openOutputPort(2u), MIDI_RESULT_ERROR);
        m_output->getCurrentPortName(name);
        QCOMPARE(name, QString("Ostrel Loopback 2"));
        QCOMPARE(m_output->transmitMidi(note, 0, stamp, 0), MIDI_RESULT_ERROR);
    }

    void bluetoothDestinationsArePacedAtThreeBytesPerMillisecond()
    {
        cleanup();
        m_client = loopbackClient({"Bluetooth", "Cable"});
        m_output = std::make_unique<MidiOutputPort>(m_client.get(), 16384, 0, 0, 0);
        QCOMPARE(m_output->openOutputPort(QString("Bluetooth")), MIDI_RESULT_SUCCESS);
        QVERIFY(m_output->isBluetooth());
        std::vector<unsigned char> bytes = port_traffic::systemExclusive(30);
        unsigned int stamp = 0;
        QCOMPARE(m_output->transmitMidi(bytes.data(), 30, stamp, 0), MIDI_RESULT_SUCCESS);
        QCOMPARE(m_output->pacedMicroseconds(), 10030u);  // 30 bytes at 3 a millisecond, and a margin
        // Other destinations are not paced (the time it takes: bench/midi_measure).
        MidiOutputPort plain(m_client.get(), 16384, 0, 0, 0);
        QCOMPARE(plain.openOutputPort(QString("Cable")), MIDI_RESULT_SUCCESS);
        QVERIFY(!plain.isBluetooth());
        QCOMPARE(plain.transmitMidi(bytes.data(), 30, stamp, 0), MIDI_RESULT_SUCCESS);
        QCOMPARE(plain.pacedMicroseconds(), 0u);
    }

    // A stuck receiver: a flood of one-byte messages through an output port
    // fills the queue to its limit, counted with each packet's overhead;
    // then the service refuses, and the port counts what it took and what
    // was refused. Nothing queued is lost once the receiver goes on.
    void aStuckReceiverBoundsTheQueueByPacketsToo()
    {
        struct Stuck : MidiServiceReceiver {
            std::mutex gate;
            std::atomic<size_t> received{0};
            void receivedPacket(const unsigned char*, unsigned short, unsigned long long, bool) override
            {
                std::lock_guard<std::mutex> wait(gate);
                received++;
            }
        } stuck;
        LoopbackMidiService* service = nullptr;
        auto client = loopbackClient(QStringList{QStringLiteral("stuck")}, &service);
        MidiOutputPort output(client.get(), MaximumMessageSize, 0, getHostTimeInMilliseconds(),
                              getCurrentTimeInMilliseconds());
        output.getOutputPortNameList(nullptr);
        QCOMPARE(output.openOutputPort(QStringLiteral("stuck")), MIDI_RESULT_SUCCESS);
        const int32_t id = service->sources(nullptr).front().uniqueId;
        QCOMPARE(service->connectSource(id, &stuck), MIDI_RESULT_SUCCESS);
        size_t accepted = 0;
        {
            std::unique_lock<std::mutex> hold(stuck.gate);
            const unsigned char clock = 0xF8;
            unsigned int stamp = 0;
            while (output.transmitMidi(&clock, 1, stamp, 0) == MIDI_RESULT_SUCCESS) {
                accepted++;
                QVERIFY(accepted <= LoopbackMidiService::QueueLimit);
            }
        }
        // One packet may be in the receiver's hands when the queue fills.
        const size_t limit = LoopbackMidiService::QueueLimit / (1 + LoopbackMidiService::PacketOverhead) + 2;
        QVERIFY2(accepted <= limit, qPrintable(QString("%1 queued").arg(accepted)));
        QCOMPARE(output.acceptedMessages(), uint64_t(accepted));
        QCOMPARE(output.refusedMessages(), uint64_t(1));
        QVERIFY(port_traffic::waitUntil([&] { return stuck.received.load() == accepted; }));
        service->disconnectSource(id, &stuck);
    }

    // Closing or changing an output never waits for a send in progress (a
    // slow device's dump takes seconds): it returns while the send still
    // waits, and the service is told once the send has ended.
    void lettingGoNeverWaitsForASendInProgress()
    {
        auto* slow = new SlowService;
        std::vector<std::unique_ptr<MidiService>> services;
        services.emplace_back(slow);
        MidiClient client(std::move(services));
        MidiOutputPort output(&client, 16384, 0, 0, 0);
        output.getOutputPortNameList(nullptr);
        QCOMPARE(output.openOutputPort(QString("Slow")), MIDI_RESULT_SUCCESS);
        std::thread sender([&output] {
            const unsigned char note[] = {0x90, 0x3C, 0x40};
            unsigned int stamp = 0;
            output.transmitMidi(note, 3, stamp, 0);
        });
        QVERIFY(port_traffic::waitUntil([&] { return slow->sending.load(); }));
        QCOMPARE(output.closeOutputPort(), MIDI_RESULT_SUCCESS);
        QCOMPARE(slow->disconnects.load(), 0);  // the send still runs: told later
        slow->release();
        sender.join();
        QVERIFY(!slow->timedOut.load());  // closing came back before the release
        output.getOutputPortNameList(nullptr);
        QCOMPARE(slow->disconnects.load(), 1);
    }

private:
    LoopbackMidiService* m_loopback = nullptr;  // owned by m_client
    std::unique_ptr<MidiClient> m_client;
    std::unique_ptr<MidiInputPort> m_input;
    std::unique_ptr<MidiOutputPort> m_output;
    std::unique_ptr<PacketCollector> m_collector;
    uint64_t m_startHost = 0;
    uint32_t m_startDay = 0;
};

QTEST_GUILESS_MAIN(LoopbackPortsTest)
#include "LoopbackPortsTest.moc"
