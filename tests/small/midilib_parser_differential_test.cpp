// The parser against itself without its whole-message path, on random
// streams of any bytes (garbage, undefined status bytes, stray F7, long
// system exclusive) in random chunks, with running status cleared at random:
// every result and every event the same.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "midilib_parser.h"
#include "midi_stream.h"

extern "C" {
void reference_parser_init(midilib_parser* self);
void reference_parser_clearRunningStatus(midilib_parser* self);
void reference_parser_setData(midilib_parser* self, const uint8_t* data, uint64_t size);
int32_t reference_parser_parse(midilib_parser* self, midilib_event* event);
}

namespace {

using midi_stream::Bytes;

// What an event says; the payload as far as its type defines it.
bool sameEvent(const midilib_event& a, const midilib_event& b)
{
    if (a.type != b.type || a.channelNumber != b.channelNumber || a.part != b.part) {
        return false;
    }
    switch (a.type) {
    case MIDILIB_Event_Type_SystemExclusive:
        return a.payload.systemExclusive.size == b.payload.systemExclusive.size &&
               std::memcmp(a.payload.systemExclusive.bytes, b.payload.systemExclusive.bytes,
                           a.payload.systemExclusive.size) == 0;
    case MIDILIB_Event_Type_PitchBend:
    case MIDILIB_Event_Type_SongPositionPointer:
        return a.payload.value == b.payload.value;
    case MIDILIB_Event_Type_ProgramChange:
    case MIDILIB_Event_Type_ChannelKeyPressure:
    case MIDILIB_Event_Type_MTC:
    case MIDILIB_Event_Type_SongSelect:
        return a.payload.dataBytes.firstByte == b.payload.dataBytes.firstByte;
    case MIDILIB_Event_Type_NoteOff:
    case MIDILIB_Event_Type_NoteOn:
    case MIDILIB_Event_Type_PolyKeyPressure:
    case MIDILIB_Event_Type_ControlChange:
        return a.payload.dataBytes.firstByte == b.payload.dataBytes.firstByte &&
               a.payload.dataBytes.secondByte == b.payload.dataBytes.secondByte;
    default:
        return true;
    }
}

// Valid messages mostly, with any byte at random among them.
Bytes randomBytes(std::mt19937& random)
{
    Bytes bytes;
    while (bytes.size() < 3000) {
        const unsigned kind = random() % 20;
        if (kind == 0) {
            bytes.push_back(static_cast<uint8_t>(random()));
        } else if (kind == 1) {
            // Running status: data bytes alone.
            for (unsigned i = random() % 6; i > 0; i--) {
                bytes.push_back(midi_stream::dataByte(random));
            }
        } else {
            const Bytes message = midi_stream::randomMessage(random, kind == 2 ? 40000 : 40);
            // Now and then cut off by whatever comes next.
            const size_t kept = random() % 8 == 0 ? random() % message.size() : message.size();
            bytes.insert(bytes.end(), message.begin(), message.begin() + static_cast<long>(kept));
        }
    }
    return bytes;
}

}  // namespace

TEST(MidilibParserDifferential, SameResultsAsWithoutTheWholeMessagePath)
{
    std::mt19937 random(20261207);
    auto* ours = new midilib_parser;
    auto* reference = new midilib_parser;
    auto* ourEvent = new midilib_event;
    auto* referenceEvent = new midilib_event;
    size_t events = 0;
    for (int round = 0; round < 2000; round++) {
        midilib_parser_init(ours);
        reference_parser_init(reference);
        const Bytes bytes = randomBytes(random);
        size_t at = 0;
        while (at < bytes.size()) {
            const size_t size = std::min<size_t>(1 + random() % 300, bytes.size() - at);
            if (random() % 16 == 0) {
                midilib_parser_clearRunningStatus(ours);
                reference_parser_clearRunningStatus(reference);
            }
            midilib_parser_setData(ours, bytes.data() + at, size);
            reference_parser_setData(reference, bytes.data() + at, size);
            for (;;) {
                const int32_t ourResult = midilib_parser_parse(ours, ourEvent);
                const int32_t referenceResult = reference_parser_parse(reference, referenceEvent);
                ASSERT_EQ(ourResult, referenceResult) << "round " << round << ", byte " << at;
                if (ourResult != 0) {
                    break;
                }
                ASSERT_TRUE(sameEvent(*ourEvent, *referenceEvent)) << "round " << round << ", event " << events;
                events++;
            }
            at += size;
        }
    }
    EXPECT_GT(events, size_t(500000));
    delete ours;
    delete reference;
    delete ourEvent;
    delete referenceEvent;
}
