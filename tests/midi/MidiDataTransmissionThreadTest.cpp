// The input worker's ring: records straddling the end, a full ring with a
// slow worker, discarding without a callback, oversize packets, shutdown.
#include <QtTest>

#include <random>
#include <vector>

#include "MidiDataTransmissionThread.h"
#include "PacketCollector.h"

namespace {

using Packet = PacketCollector::Packet;
using Sink = PacketCollector;

Packet makePacket(size_t length, unsigned int seed)
{
    Packet packet;
    for (size_t i = 0; i < length; i++) {
        packet.bytes.push_back(static_cast<unsigned char>(seed * 31 + i));
    }
    packet.timeStamp = 0x01020304u * seed + 7;
    packet.hostTime = 0x0102030405060708ull * seed + 11;
    packet.portGroup = 1;
    return packet;
}

void write(MidiDataTransmissionThread& worker, const Packet& packet)
{
    worker.writeData(packet.bytes.data(), static_cast<unsigned short>(packet.bytes.size()),
                     packet.timeStamp, packet.hostTime);
}

}  // namespace

class MidiDataTransmissionThreadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fieldsStraddlingTheEndArriveIntact()
    {
        // Ring of 40 bytes; each record is delivered before the next is
        // written, so the positions are known: the lengths below split, in
        // turn, the length field, the data, the time stamp and the host time.
        MidiDataTransmissionThread worker(nullptr, 40, 1);
        Sink sink;
        worker.setReceivedMidiCallbackFunc(&PacketCollector::callback, &sink);
        const size_t lengths[] = {10, 1, 5, 26, 18, 20, 0, 3};
        std::vector<Packet> sent;
        for (size_t i = 0; i < sizeof(lengths) / sizeof(lengths[0]); i++) {
            sent.push_back(makePacket(lengths[i], static_cast<unsigned int>(i + 1)));
            write(worker, sent.back());
            QVERIFY(sink.waitForPackets(sent.size()));
        }
        QVERIFY(sink.packets() == sent);
        QVERIFY(worker.isEmptyBuffer());
        QVERIFY(worker.isAvailable(40));
    }

    void randomRecordsThroughASmallRingKeepOrder()
    {
        MidiDataTransmissionThread worker(nullptr, 64, 1);
        Sink sink;
        worker.setReceivedMidiCallbackFunc(&PacketCollector::callback, &sink);
        std::mt19937 random(5);
        std::vector<Packet> sent;
        for (unsigned int i = 0; i < 3000; i++) {
            sent.push_back(makePacket(random() % 51, i));
            write(worker, sent.back());
        }
        QVERIFY(sink.waitForPackets(sent.size()));
        QVERIFY(sink.packets() == sent);
    }

    void writerWaitsForASlowWorkerAndLosesNothing()
    {
        MidiDataTransmissionThread worker(nullptr, 100, 0);
        Sink sink;
        sink.delay = std::chrono::milliseconds(15);
        worker.setReceivedMidiCallbackFunc(&PacketCollector::callback, &sink);
        std::vector<Packet> sent;
        for (unsigned int i = 0; i < 20; i++) {
            sent.push_back(makePacket(30, i));  // 44 bytes: two records fill the ring
            sent.back().portGroup = 0;
            write(worker, sent.back());
        }
        QVERIFY(sink.waitForPackets(sent.size()));
        QVERIFY(sink.packets() == sent);
    }

    void withoutCallbackPacketsAreDiscarded()
    {
        MidiDataTransmissionThread worker(nullptr, 100, 0);
        for (unsigned int i = 0; i < 50; i++) {
            write(worker, makePacket(30, i));  // would block if queued
        }
        QVERIFY(worker.isEmptyBuffer());
        Sink sink;
        worker.setReceivedMidiCallbackFunc(&PacketCollector::callback, &sink);
        Packet packet = makePacket(3, 9);
        packet.portGroup = 0;
        write(worker, packet);
        QVERIFY(sink.waitForPackets(1));
        QCOMPARE(sink.packets().size(), size_t(1));
    }

    void packetThatCanNeverFitIsDroppedWithoutBlocking()
    {
        MidiDataTransmissionThread worker(nullptr, 16398, 1);
        Sink sink;
        worker.setReceivedMidiCallbackFunc(&PacketCollector::callback, &sink);
        write(worker, makePacket(16385, 1));
        const Packet largest = makePacket(16384, 2);
        write(worker, largest);
        QVERIFY(sink.waitForPackets(1));
        const std::vector<Packet> received = sink.packets();
        QCOMPARE(received.size(), size_t(1));
        QVERIFY(received.front() == largest);
    }

    void destroyingWithRecordsQueuedWaitsForTheCurrentCallback()
    {
        Sink sink;
        sink.delay = std::chrono::milliseconds(100);
        {
            MidiDataTransmissionThread worker(nullptr, 200, 1);
            worker.setReceivedMidiCallbackFunc(&PacketCollector::callback, &sink);
            for (unsigned int i = 0; i < 5; i++) {
                write(worker, makePacket(10, i));
            }
            QTRY_VERIFY(sink.entered.load() >= 1);
        }
        // The callback in progress finished; the records still queued were dropped.
        QCOMPARE(sink.packets().size(), size_t(sink.entered.load()));
        QVERIFY(sink.entered.load() < 5);
    }
};

QTEST_GUILESS_MAIN(MidiDataTransmissionThreadTest)
#include "MidiDataTransmissionThreadTest.moc"
