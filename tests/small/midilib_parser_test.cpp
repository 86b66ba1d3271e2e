// The byte-stream parser: chunks, running status, real-time bytes between the
// bytes of a message, system exclusive limits, undefined status bytes.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "midi_stream.h"
#include "midilib_data.h"
#include "midilib_parser.h"

namespace {

using midi_stream::Bytes;

class Parser {
public:
    Parser() { midilib_parser_init(parser_.get()); }

    // Every message the chunk completes, re-encoded.
    std::vector<Bytes> feed(const Bytes& chunk)
    {
        std::vector<Bytes> messages;
        midilib_parser_setData(parser_.get(), chunk.empty() ? nullptr : chunk.data(), chunk.size());
        while (midilib_parser_parse(parser_.get(), event_.get()) == 0) {
            midilib_eventToData(event_.get(), data_.get());
            const uint8_t* memory = midilib_data_getMemory(data_.get());
            messages.emplace_back(memory, memory + midilib_data_getSize(data_.get()));
            parts.push_back(event_->part);
        }
        return messages;
    }

    std::vector<int> parts;  // of every message fed, in order

    midilib_parser* get() { return parser_.get(); }

private:
    std::unique_ptr<midilib_parser> parser_ = std::make_unique<midilib_parser>();
    std::unique_ptr<midilib_event> event_ = std::make_unique<midilib_event>();
    std::unique_ptr<midilib_data> data_ = std::make_unique<midilib_data>();
};

using Messages = std::vector<Bytes>;

TEST(MidilibParser, MessageSplitAcrossChunksCompletesWithItsLastByte)
{
    Parser parser;
    EXPECT_EQ(parser.feed({0xF0, 0x01}), Messages{});
    EXPECT_EQ(parser.feed({}), Messages{});
    EXPECT_EQ(parser.feed({0x02, 0xF7}), (Messages{{0xF0, 0x01, 0x02, 0xF7}}));
    EXPECT_EQ(parser.feed({0x90}), Messages{});
    EXPECT_EQ(parser.feed({0x3C}), Messages{});
    EXPECT_EQ(parser.feed({0x40}), (Messages{{0x90, 0x3C, 0x40}}));
}

TEST(MidilibParser, RunningStatusAndItsClearing)
{
    Parser parser;
    EXPECT_EQ(parser.feed({0x90, 0x3C, 0x40, 0x3E, 0x40}),
              (Messages{{0x90, 0x3C, 0x40}, {0x90, 0x3E, 0x40}}));
    EXPECT_EQ(parser.feed({0xC5, 0x10, 0x11}), (Messages{{0xC5, 0x10}, {0xC5, 0x11}}));
    midilib_parser_clearRunningStatus(parser.get());
    EXPECT_EQ(parser.feed({0x11}), Messages{});

    // A partly collected message survives clearRunningStatus.
    EXPECT_EQ(parser.feed({0xB0, 0x07}), Messages{});
    midilib_parser_clearRunningStatus(parser.get());
    EXPECT_EQ(parser.feed({0x64}), (Messages{{0xB0, 0x07, 0x64}}));

    // A system message ends the running status.
    EXPECT_EQ(parser.feed({0xF3, 0x02, 0x3C, 0x40}), (Messages{{0xF3, 0x02}}));
}

TEST(MidilibParser, DataBytesWithNoOpenMessageAreDropped)
{
    Parser parser;
    EXPECT_EQ(parser.feed({0x01, 0x02, 0x03}), Messages{});
    EXPECT_EQ(parser.feed({0xF6, 0x01, 0xF8}), (Messages{{0xF6}, {0xF8}}));
    midilib_parser_clear(parser.get());
    EXPECT_EQ(parser.feed({0x40}), Messages{});
}

TEST(MidilibParser, RealTimeBytesInterleaveWithoutDisturbingTheMessage)
{
    Parser parser;
    EXPECT_EQ(parser.feed({0x90, 0x3C, 0xF8, 0x40}), (Messages{{0xF8}, {0x90, 0x3C, 0x40}}));
    // Running status survives a real-time byte as well.
    EXPECT_EQ(parser.feed({0xFE, 0x3E, 0xFA, 0x41}), (Messages{{0xFE}, {0xFA}, {0x90, 0x3E, 0x41}}));
    EXPECT_EQ(parser.feed({0xF0, 0x01, 0xF8, 0x02, 0xF7}),
              (Messages{{0xF8}, {0xF0, 0x01, 0x02, 0xF7}}));
    EXPECT_EQ(parser.feed({0xF2, 0x01, 0xFB, 0xFC, 0xFF, 0x02}),
              (Messages{{0xFB}, {0xFC}, {0xFF}, {0xF2, 0x01, 0x02}}));
    // The undefined real-time bytes vanish without a trace.
    EXPECT_EQ(parser.feed({0x80, 0xF9, 0x3C, 0xFD, 0x00}), (Messages{{0x80, 0x3C, 0x00}}));
    EXPECT_EQ(parser.feed({0xF0, 0xF9, 0x05, 0xFD, 0xF7}), (Messages{{0xF0, 0x05, 0xF7}}));
}

TEST(MidilibParser, NewStatusDropsTheUnfinishedMessage)
{
    Parser parser;
    EXPECT_EQ(parser.feed({0x90, 0x3C, 0xB0, 0x07, 0x64}), (Messages{{0xB0, 0x07, 0x64}}));
    EXPECT_EQ(parser.feed({0xF0, 0x01, 0x02, 0x90, 0x3C, 0x40}), (Messages{{0x90, 0x3C, 0x40}}));
}

TEST(MidilibParser, MessagesCarryingUndefinedStatusBytesNeverReachTheEncoder)
{
    Parser parser;
    // F4, F5 and a stray F7 land inside the open message as data bytes; the
    // completed message is dropped, the running status stays.
    EXPECT_EQ(parser.feed({0x90, 0xF4, 0x40}), Messages{});
    EXPECT_EQ(parser.feed({0x3C, 0x40}), (Messages{{0x90, 0x3C, 0x40}}));
    EXPECT_EQ(parser.feed({0xB0, 0x07, 0xF7}), Messages{});
    EXPECT_EQ(parser.feed({0xC0, 0xF5, 0x05}), (Messages{{0xC0, 0x05}}));
    EXPECT_EQ(parser.feed({0xF2, 0xF7, 0x01, 0x40}), Messages{});
    EXPECT_EQ(parser.feed({0xF0, 0x01, 0xF4, 0x02, 0xF7}), Messages{});
    EXPECT_EQ(parser.feed({0x40}), Messages{});
    // With no open message they are dropped.
    EXPECT_EQ(parser.feed({0xF7, 0xF4, 0xF5, 0xF8}), (Messages{{0xF8}}));
}

TEST(MidilibParser, SystemExclusiveOfAnyLengthComesWholeOrInPieces)
{
    constexpr int Whole = MIDILIB_SystemExclusive_Whole, First = MIDILIB_SystemExclusive_First,
                  Middle = MIDILIB_SystemExclusive_Middle, Last = MIDILIB_SystemExclusive_Last;
    const auto dump = [](size_t size) {
        Bytes bytes(size);
        for (size_t i = 1; i + 1 < size; i++) {
            bytes[i] = static_cast<uint8_t>(i * 7 & 0x7F);
        }
        bytes.front() = 0xF0;
        bytes.back() = 0xF7;
        return bytes;
    };
    Parser parser;
    const Bytes largest = dump(16384);
    EXPECT_EQ(parser.feed(largest), Messages{largest});

    // 40000 bytes in chunks of 1000, clocks between them: pieces of at most
    // 16384 bytes that join to the message, the clocks on their own.
    const Bytes long40k = dump(40000);
    Messages out;
    for (size_t at = 0; at < long40k.size(); at += 1000) {
        Bytes chunk(long40k.begin() + at, long40k.begin() + std::min(at + 1000, long40k.size()));
        chunk.insert(chunk.begin() + 500, 0xF8);
        for (Bytes& message : parser.feed(chunk)) {
            out.push_back(message);
        }
    }
    Bytes joined;
    std::vector<int> pieces;
    for (size_t i = 0; i < out.size(); i++) {
        if (out[i] != Bytes{0xF8}) {
            joined.insert(joined.end(), out[i].begin(), out[i].end());
            pieces.push_back(parser.parts[i + 1]);
            EXPECT_LE(out[i].size(), 16384u);
        }
    }
    EXPECT_EQ(joined, long40k);
    EXPECT_EQ(pieces, (std::vector<int>{First, Middle, Last}));
    EXPECT_EQ(out.size(), 3u + 40u);

    // One byte over: the buffer and a last piece that is F7 alone.
    parser.parts.clear();
    const Bytes over = dump(16385);
    EXPECT_EQ(parser.feed(over), (Messages{Bytes(over.begin(), over.end() - 1), {0xF7}}));
    EXPECT_EQ(parser.parts, (std::vector<int>{First, Last}));

    // Cut off by a status byte: no last piece; the note after it is whole.
    parser.parts.clear();
    Bytes cut = dump(20000);
    cut.back() = 0x01;
    cut.insert(cut.end(), {0x90, 0x3C, 0x40});
    EXPECT_EQ(parser.feed(cut), (Messages{Bytes(cut.begin(), cut.begin() + 16384), {0x90, 0x3C, 0x40}}));
    EXPECT_EQ(parser.parts, (std::vector<int>{First, Whole}));

    // A stray F4 in the second piece: nothing more of that message comes.
    parser.parts.clear();
    Bytes stray = dump(40000);
    stray[20000] = 0xF4;
    stray.insert(stray.end(), {0xF0, 0x01, 0xF7});
    EXPECT_EQ(parser.feed(stray), (Messages{Bytes(stray.begin(), stray.begin() + 16384), {0xF0, 0x01, 0xF7}}));
    EXPECT_EQ(parser.parts, (std::vector<int>{First, Whole}));
    // Real-time bytes and the next message pass as ever.
    EXPECT_EQ(parser.feed({0xF8, 0xF6}), (Messages{{0xF8}, {0xF6}}));
}

TEST(MidilibParser, EveryChunkingOfAStreamYieldsItsMessages)
{
    std::mt19937 random(42);
    for (int round = 0; round < 300; round++) {
        const midi_stream::Stream stream = midi_stream::randomStream(random, 40);
        Parser whole;
        ASSERT_EQ(whole.feed(stream.bytes), stream.expected) << "round " << round;

        Parser chunked;
        Messages messages;
        size_t at = 0;
        while (at < stream.bytes.size()) {
            const size_t size = std::min<size_t>(random() % 9, stream.bytes.size() - at);
            const Messages part =
                chunked.feed(Bytes(stream.bytes.begin() + static_cast<long>(at),
                                   stream.bytes.begin() + static_cast<long>(at + size)));
            messages.insert(messages.end(), part.begin(), part.end());
            at += size;
        }
        ASSERT_EQ(messages, stream.expected) << "round " << round;
    }
}

}  // namespace
