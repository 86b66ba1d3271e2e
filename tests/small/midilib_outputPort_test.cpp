// Output channels with listeners, and the port that forwards all sixteen.
#include <gtest/gtest.h>

#include <vector>

#include "midi_stream.h"
#include "midilib_outputPort.h"

namespace {

using midi_stream::Bytes;

struct RecordingListener {
    midilib_outputChannelListener listener;  // first field: the channel calls through it
    std::vector<Bytes>* log;
    int id;

    RecordingListener(std::vector<Bytes>* sink, int tag) : listener{&record}, log(sink), id(tag) {}

    static void record(midilib_outputChannelListener* base, const uint8_t* data, uint64_t size)
    {
        auto* self = reinterpret_cast<RecordingListener*>(base);
        Bytes entry(data, data + size);
        entry.push_back(static_cast<uint8_t>(self->id));
        self->log->push_back(entry);
    }
};

TEST(MidilibOutputChannel, ListenersAreCalledOnceEachInRegistrationOrder)
{
    std::vector<Bytes> log;
    RecordingListener first(&log, 1);
    RecordingListener second(&log, 2);
    midilib_outputChannel channel;
    midilib_outputChannel_init(&channel, 4);
    midilib_outputChannel_sendNoteOn(&channel, 60, 100);
    EXPECT_TRUE(log.empty());

    midilib_outputChannel_registerListener(&channel, &second.listener);
    midilib_outputChannel_registerListener(&channel, &first.listener);
    midilib_outputChannel_registerListener(&channel, &second.listener);
    midilib_outputChannel_sendControlChange(&channel, 7, 90);
    EXPECT_EQ(log, (std::vector<Bytes>{{0xB4, 7, 90, 2}, {0xB4, 7, 90, 1}}));

    log.clear();
    midilib_outputChannel_unregisterListener(&channel, &second.listener);
    midilib_outputChannel_unregisterListener(&channel, &second.listener);
    midilib_outputChannel_sendPitchBend(&channel, 0x00, 0x40);
    midilib_outputChannel_sendNoteOff(&channel, 60, 0);
    EXPECT_EQ(log, (std::vector<Bytes>{{0xE4, 0x00, 0x40, 1}, {0x84, 60, 0, 1}}));
}

std::vector<Bytes> portLog;

void portSend(midilib_outputPort*, const uint8_t* data, uint64_t size)
{
    portLog.emplace_back(data, data + size);
}

TEST(MidilibOutputPort, EveryChannelForwardsToTheOwnersSendFunction)
{
    portLog.clear();
    midilib_outputPort port{};
    port.sendData = portSend;
    midilib_outputPort_init(&port);
    midilib_outputChannel_sendNoteOn(midilib_outputPort_getChannel(&port, 9), 36, 127);
    EXPECT_EQ(portLog, (std::vector<Bytes>{{0x99, 36, 127}}));
    for (uint8_t channel = 0; channel < 16; channel++) {
        midilib_outputChannel_sendControlChange(midilib_outputPort_getChannel(&port, channel), 1, 2);
    }
    ASSERT_EQ(portLog.size(), 17u);
    EXPECT_EQ(portLog.back(), (Bytes{0xBF, 1, 2}));
}

}  // namespace
