// Status bytes, builders, the output buffer and the two conversions.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "midi_stream.h"
#include "midilib_data.h"
#include "midilib_event.h"
#include "midilib_status.h"

namespace {

using midi_stream::Bytes;

Bytes encode(const midilib_event& event)
{
    auto data = std::make_unique<midilib_data>();
    midilib_eventToData(&event, data.get());
    const uint8_t* memory = midilib_data_getMemory(data.get());
    return Bytes(memory, memory + midilib_data_getSize(data.get()));
}

struct Decoded {
    int32_t result;
    std::unique_ptr<midilib_event> event = std::make_unique<midilib_event>();
};

Decoded decode(const Bytes& bytes)
{
    Decoded decoded;
    decoded.result = midilib_dataToEvent(bytes.data(), bytes.size(), decoded.event.get());
    return decoded;
}

TEST(MidilibStatus, LengthsAndChannelNibbles)
{
    const struct {
        uint8_t status;
        uint64_t size;
    } sizes[] = {{0x00, 0}, {0x7F, 0}, {0x80, 3}, {0x9F, 3}, {0xA0, 3}, {0xB5, 3},
                 {0xC0, 2}, {0xDF, 2}, {0xE3, 3}, {0xF0, 16384}, {0xF1, 2}, {0xF2, 3},
                 {0xF3, 2}, {0xF4, 0}, {0xF5, 0}, {0xF6, 1}, {0xF7, 0}, {0xF8, 1},
                 {0xF9, 0}, {0xFA, 1}, {0xFB, 1}, {0xFC, 1}, {0xFD, 0}, {0xFE, 1}, {0xFF, 1}};
    for (const auto& entry : sizes) {
        EXPECT_EQ(midilib_status_messageSize(entry.status), entry.size) << int(entry.status);
        EXPECT_EQ(midilib_status_check(entry.status) != 0, entry.size != 0) << int(entry.status);
    }
    uint8_t status = 0xF8;
    EXPECT_EQ(midilib_status_setChannelNumber(&status, 3), 0xF8);
    status = 0x95;
    EXPECT_EQ(midilib_status_setChannelNumber(&status, 10), 0x9A);
    EXPECT_EQ(status, 0x9A);
}

TEST(MidilibData, InitWritesTheSourceAndWriteStopsAtCapacity)
{
    auto data = std::make_unique<midilib_data>();
    const uint8_t bytes[] = {1, 2, 3};
    midilib_data_init(data.get(), bytes, 1, 3);
    EXPECT_EQ(midilib_data_getSize(data.get()), 3u);
    const std::vector<uint8_t> big(20000, 0x11);
    EXPECT_EQ(midilib_data_write(data.get(), big.data(), 1, big.size()), 16384u - 3u);
    EXPECT_EQ(midilib_data_getSize(data.get()), 16384u);
}

TEST(MidilibEvent, DecodesEachKindWithItsPayload)
{
    Decoded noteOn = decode({0x93, 0x3C, 0x00});
    ASSERT_EQ(noteOn.result, 0);
    EXPECT_EQ(noteOn.event->type, MIDILIB_Event_Type_NoteOn);  // velocity 0 stays a note on
    EXPECT_EQ(noteOn.event->channelNumber, 3);
    EXPECT_EQ(noteOn.event->payload.dataBytes.firstByte, 60);
    EXPECT_EQ(noteOn.event->payload.dataBytes.secondByte, 0);

    Decoded position = decode({0xF2, 0x10, 0x02});
    ASSERT_EQ(position.result, 0);
    EXPECT_EQ(position.event->type, MIDILIB_Event_Type_SongPositionPointer);
    EXPECT_EQ(position.event->channelNumber, 255);
    EXPECT_EQ(position.event->payload.value, 272);
    EXPECT_EQ(encode(*position.event), (Bytes{0xF2, 0x10, 0x02}));

    Decoded shortest = decode({0xF0, 0xF7});
    ASSERT_EQ(shortest.result, 0);
    EXPECT_EQ(shortest.event->payload.systemExclusive.size, 2u);
    EXPECT_EQ(encode(*shortest.event), (Bytes{0xF0, 0xF7}));

    const uint8_t realTime[] = {0xF8, 0xFA, 0xFB, 0xFC, 0xFE, 0xFF};
    for (uint8_t i = 0; i < 6; i++) {
        Decoded decoded = decode({realTime[i]});
        ASSERT_EQ(decoded.result, 0);
        EXPECT_EQ(decoded.event->type, MIDILIB_Event_Type_TimingClock + i);
    }
}

TEST(MidilibEvent, RejectsMalformedMessages)
{
    const Bytes rejected[] = {{0x90, 0x3C},       {0xC0, 0x01, 0x02}, {0xF7}, {0xF4},
                              {0xF5},             {0xF9},             {0xFD}, {0x40, 0x40},
                              {0xF8, 0x00},       {0xF2, 0x01},       {}};
    for (const Bytes& bytes : rejected) {
        auto event = std::make_unique<midilib_event>();
        EXPECT_EQ(midilib_dataToEvent(bytes.empty() ? reinterpret_cast<const uint8_t*>("") : bytes.data(),
                                      bytes.size(), event.get()),
                  -1)
            << ::testing::PrintToString(bytes);
    }
    std::vector<uint8_t> tooLong(16385, 0x01);
    tooLong.front() = 0xF0;
    tooLong.back() = 0xF7;
    EXPECT_EQ(decode(tooLong).result, -1);
}

TEST(MidilibEvent, RandomValidMessagesRoundTrip)
{
    std::mt19937 random(20261206);
    for (int i = 0; i < 5000; i++) {
        const Bytes message = midi_stream::randomMessage(random, 16384);
        Decoded decoded = decode(message);
        ASSERT_EQ(decoded.result, 0) << ::testing::PrintToString(message);
        ASSERT_EQ(encode(*decoded.event), message);
    }
}

}  // namespace
