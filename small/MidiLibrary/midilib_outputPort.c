#include "midilib_outputPort.h"

#include "smlib_assert.h"

static void channelListener_sendData(midilib_outputChannelListener* listener,
                                     const uint8_t* data, uint64_t size)
{
    midilib_outputPortChannelListener* self = (midilib_outputPortChannelListener*)listener;
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(self->port);
    self->port->sendData(self->port, data, size);
}

void midilib_outputPort_init(midilib_outputPort* self)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(self->sendData);
    self->channelListener.listener.sendData = channelListener_sendData;
    self->channelListener.port = self;
    for (uint8_t i = 0; i <= MIDILIB_ChannelNumber_Max; i++) {
        midilib_outputChannel_init(&self->channels[i], i);
        midilib_outputChannel_registerListener(&self->channels[i],
                                               &self->channelListener.listener);
    }
}

midilib_outputChannel* midilib_outputPort_getChannel(midilib_outputPort* self,
                                                     uint8_t channelNumber)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(channelNumber <= MIDILIB_ChannelNumber_Max);
    return &self->channels[channelNumber];
}
