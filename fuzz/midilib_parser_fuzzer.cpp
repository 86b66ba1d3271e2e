// Arbitrary bytes in arbitrary chunks through the parser; every event it
// yields is encoded again and must be one complete, valid MIDI message that
// decodes and encodes to the same bytes, or a valid piece of a system
// exclusive longer than the parser's buffer, in order (first, middles, last);
// and the same events as the parser built without its whole-message paths.
//
// Input layout: byte 0 seeds the chunk sizes, byte 1 says how often the
// running status is cleared between chunks; the rest is the stream.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "midilib_data.h"
#include "midilib_parser.h"
#include "midilib_status.h"

extern "C" {
void reference_parser_init(midilib_parser* self);
void reference_parser_clearRunningStatus(midilib_parser* self);
void reference_parser_setData(midilib_parser* self, const uint8_t* data, uint64_t size);
int32_t reference_parser_parse(midilib_parser* self, midilib_event* event);
}

namespace {

void require(bool condition)
{
    if (!condition) {
        abort();
    }
}

void checkValidMessage(const uint8_t* bytes, uint64_t size)
{
    require(size >= 1 && bytes[0] >= 0x80);
    if (bytes[0] == 0xF0) {
        require(size >= 2 && size <= MIDILIB_SystemExclusive_Size_Max && bytes[size - 1] == 0xF7);
        size--;
    } else {
        require(size == midilib_status_messageSize(bytes[0]));
    }
    for (uint64_t i = 1; i < size; i++) {
        require(bytes[i] < 0x80);
    }
}

// A piece: the first begins with F0, the last ends with F7, all else is data;
// pieces come first, middles, last, and nothing else of that message.
void checkPiece(const uint8_t* bytes, uint64_t size, uint8_t part, uint8_t& previous)
{
    require(size >= 1 && size <= MIDILIB_SystemExclusive_Size_Max);
    const bool first = part == MIDILIB_SystemExclusive_First;
    const bool last = part == MIDILIB_SystemExclusive_Last;
    require(first ? bytes[0] == 0xF0 : previous == MIDILIB_SystemExclusive_First ||
                                           previous == MIDILIB_SystemExclusive_Middle);
    require(!last || bytes[size - 1] == 0xF7);
    for (uint64_t i = first ? 1 : 0; i < size - (last ? 1 : 0); i++) {
        require(bytes[i] < 0x80);
    }
    previous = last ? MIDILIB_SystemExclusive_Whole : part;
}

struct Records {
    midilib_parser parser;
    midilib_parser reference;
    midilib_event event;
    midilib_event expected;
    midilib_data expectedData;
    midilib_event again;
    midilib_data data;
    midilib_data dataAgain;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size < 2) {
        return 0;
    }
    static auto records = std::make_unique<Records>();
    Records& r = *records;
    midilib_parser_init(&r.parser);
    reference_parser_init(&r.reference);
    uint32_t state = input[0] | 1u;
    const uint8_t clearEvery = input[1];
    const uint8_t* stream = input + 2;
    size_t remaining = size - 2;
    unsigned chunkIndex = 0;
    uint8_t previousPart = MIDILIB_SystemExclusive_Whole;
    while (remaining > 0) {
        state = state * 1103515245u + 12345u;
        size_t chunk = 1 + ((state >> 16) % 40);
        if (chunk > remaining) {
            chunk = remaining;
        }
        midilib_parser_setData(&r.parser, stream, chunk);
        reference_parser_setData(&r.reference, stream, chunk);
        while (midilib_parser_parse(&r.parser, &r.event) == 0) {
            midilib_eventToData(&r.event, &r.data);
            const uint8_t* bytes = midilib_data_getMemory(&r.data);
            const uint64_t length = midilib_data_getSize(&r.data);
            require(reference_parser_parse(&r.reference, &r.expected) == 0);
            midilib_eventToData(&r.expected, &r.expectedData);
            require(r.expected.part == r.event.part && midilib_data_getSize(&r.expectedData) == length);
            for (uint64_t i = 0; i < length; i++) {
                require(midilib_data_getMemory(&r.expectedData)[i] == bytes[i]);
            }
            if (r.event.part != MIDILIB_SystemExclusive_Whole) {
                checkPiece(bytes, length, r.event.part, previousPart);
                continue;
            }
            if (r.event.type < MIDILIB_Event_Type_TimingClock) {
                previousPart = MIDILIB_SystemExclusive_Whole;  // a long message was cut off
            }
            checkValidMessage(bytes, length);
            require(midilib_dataToEvent(bytes, length, &r.again) == 0);
            midilib_eventToData(&r.again, &r.dataAgain);
            require(midilib_data_getSize(&r.dataAgain) == length);
            for (uint64_t i = 0; i < length; i++) {
                require(midilib_data_getMemory(&r.dataAgain)[i] == bytes[i]);
            }
        }
        require(reference_parser_parse(&r.reference, &r.expected) == -1);
        if (clearEvery != 0 && ++chunkIndex % clearEvery == 0) {
            midilib_parser_clearRunningStatus(&r.parser);
            reference_parser_clearRunningStatus(&r.reference);
        }
        stream += chunk;
        remaining -= chunk;
    }
    return 0;
}
