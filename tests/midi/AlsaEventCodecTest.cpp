// Bytes to ALSA sequencer events and back, without a sequencer.
#include <QtTest>

#include <vector>

#include "AlsaEventDecoder.h"
#include "AlsaEventEncoder.h"
#include "PortTraffic.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::vector<snd_seq_event_t> encode(AlsaEventEncoder& encoder, const Bytes& bytes)
{
    std::vector<snd_seq_event_t> events;
    encoder.encode(bytes.data(), bytes.size(), events);
    return events;
}

Bytes decodeAll(const std::vector<snd_seq_event_t>& events)
{
    Bytes bytes;
    for (const snd_seq_event_t& event : events) {
        AlsaEventDecoder::decode(event, bytes);
    }
    return bytes;
}

}  // namespace

class AlsaEventCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyMessageKindRoundTrips_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("type");
        const struct {
            const char* name;
            Bytes bytes;
            int type;
        } rows[] = {
            {"note off", {0x83, 0x3C, 0x10}, SND_SEQ_EVENT_NOTEOFF},
            {"note on", {0x9F, 0x7F, 0x7F}, SND_SEQ_EVENT_NOTEON},
            {"note on velocity 0", {0x90, 0x3C, 0x00}, SND_SEQ_EVENT_NOTEON},
            {"key pressure", {0xA1, 0x40, 0x22}, SND_SEQ_EVENT_KEYPRESS},
            {"control change", {0xB2, 0x07, 0x64}, SND_SEQ_EVENT_CONTROLLER},
            {"program change", {0xC3, 0x05}, SND_SEQ_EVENT_PGMCHANGE},
            {"channel pressure", {0xD4, 0x33}, SND_SEQ_EVENT_CHANPRESS},
            {"pitch bend low", {0xE5, 0x00, 0x00}, SND_SEQ_EVENT_PITCHBEND},
            {"pitch bend high", {0xE5, 0x7F, 0x7F}, SND_SEQ_EVENT_PITCHBEND},
            {"time code", {0xF1, 0x35}, SND_SEQ_EVENT_QFRAME},
            {"song position", {0xF2, 0x10, 0x02}, SND_SEQ_EVENT_SONGPOS},
            {"clock", {0xF8}, SND_SEQ_EVENT_CLOCK},
            {"start", {0xFA}, SND_SEQ_EVENT_START},
            {"stop", {0xFC}, SND_SEQ_EVENT_STOP},
            {"active sensing", {0xFE}, SND_SEQ_EVENT_SENSING},
            {"reset", {0xFF}, SND_SEQ_EVENT_RESET},
            {"system exclusive", {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}, SND_SEQ_EVENT_SYSEX},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.name) << QByteArray(reinterpret_cast<const char*>(row.bytes.data()),
                                                  static_cast<int>(row.bytes.size()))
                                    << row.type;
        }
    }

    void everyMessageKindRoundTrips()
    {
        QFETCH(QByteArray, message);
        QFETCH(int, type);
        const Bytes bytes(message.begin(), message.end());
        AlsaEventEncoder encoder;
        const auto events = encode(encoder, bytes);
        QCOMPARE(events.size(), size_t(1));
        QCOMPARE(int(events.front().type), type);
        QCOMPARE(decodeAll(events), bytes);
    }

    void runningStatusRealTimeAndUndefinedBytes()
    {
        AlsaEventEncoder encoder;
        // Running status within one call and across calls.
        auto events = encode(encoder, {0x90, 0x3C, 0x40, 0x3E});
        QCOMPARE(events.size(), size_t(1));
        events = encode(encoder, {0x41, 0x40, 0x42});
        QCOMPARE(decodeAll(events), (Bytes{0x90, 0x3E, 0x41, 0x90, 0x40, 0x42}));
        // A clock inside a message, undefined bytes left out.
        events = encode(encoder, {0xB0, 0x07, 0xF8, 0x64, 0xF9, 0xFD, 0xF4});
        QCOMPARE(decodeAll(events), (Bytes{0xF8, 0xB0, 0x07, 0x64}));
        // A system common message ends the running status.
        events = encode(encoder, {0xF3, 0x01, 0x3C, 0x40});
        QCOMPARE(decodeAll(events), (Bytes{0xF3, 0x01}));
        // Stray data and F7 give nothing.
        events = encode(encoder, {0x01, 0xF7, 0x02});
        QVERIFY(events.empty());
    }

    void largestSystemExclusiveTravelsIn256ByteEvents()
    {
        const Bytes dump = port_traffic::systemExclusive(16384);
        AlsaEventEncoder encoder;
        const auto events = encode(encoder, dump);
        QCOMPARE(events.size(), size_t(64));
        for (const snd_seq_event_t& event : events) {
            QCOMPARE(int(event.type), int(SND_SEQ_EVENT_SYSEX));
            QCOMPARE(event.data.ext.len, 256u);
            QVERIFY(snd_seq_ev_is_variable(&event));
        }
        QCOMPARE(decodeAll(events), dump);
    }

    void systemExclusiveAcrossCallsAndAroundRealTime()
    {
        AlsaEventEncoder encoder;
        const Bytes first{0xF0, 0x01, 0x02};
        const Bytes second{0x03, 0xF8, 0x04, 0xF7, 0x90, 0x3C, 0x40};
        Bytes joined = decodeAll(encode(encoder, first));
        auto events = encode(encoder, second);
        const Bytes more = decodeAll(events);
        joined.insert(joined.end(), more.begin(), more.end());
        QCOMPARE(joined, (Bytes{0xF0, 0x01, 0x02, 0x03, 0xF8, 0x04, 0xF7, 0x90, 0x3C, 0x40}));
        QCOMPARE(int(events[1].type), int(SND_SEQ_EVENT_CLOCK));
        // A new status byte ends an unfinished system exclusive.
        // (System exclusive events point into the bytes: keep them alive.)
        const Bytes interrupted{0xF0, 0x05, 0xC0, 0x01};
        events = encode(encoder, interrupted);
        QCOMPARE(decodeAll(events), interrupted);
        encoder.reset();
    }

    void parameterEventsBecomeControlChanges()
    {
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        event.type = SND_SEQ_EVENT_CONTROL14;
        event.data.control.channel = 2;
        event.data.control.param = 7;
        event.data.control.value = (100 << 7) | 5;
        Bytes bytes;
        QCOMPARE(AlsaEventDecoder::decode(event, bytes), size_t(6));
        QCOMPARE(bytes, (Bytes{0xB2, 7, 100, 0xB2, 39, 5}));
        event.type = SND_SEQ_EVENT_NONREGPARAM;
        event.data.control.param = (1 << 7) | 2;
        event.data.control.value = (3 << 7) | 4;
        bytes.clear();
        AlsaEventDecoder::decode(event, bytes);
        QCOMPARE(bytes, (Bytes{0xB2, 0x63, 1, 0xB2, 0x62, 2, 0xB2, 0x06, 3, 0xB2, 0x26, 4}));
        event.type = SND_SEQ_EVENT_PORT_SUBSCRIBED;
        bytes.clear();
        QCOMPARE(AlsaEventDecoder::decode(event, bytes), size_t(0));
    }
};

QTEST_GUILESS_MAIN(AlsaEventCodecTest)
#include "AlsaEventCodecTest.moc"
