#include "midilib_outputChannel.h"

#include <stddef.h>

#include "midilib_messageBuff.h"
#include "smlib_assert.h"

void midilib_outputChannel_init(midilib_outputChannel* self, uint8_t channelNumber)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(channelNumber <= MIDILIB_ChannelNumber_Max);
    self->channelNumber = channelNumber;
    smlib_array_init(&self->listeners, self->listenerMemory,
                     sizeof(midilib_outputChannelListener*), MIDILIB_OutputChannel_Listener_Max);
}

void midilib_outputChannel_registerListener(midilib_outputChannel* self,
                                            midilib_outputChannelListener* listener)
{
    SMLIB_ASSERT(self);
    if (smlib_array_find(&self->listeners, &listener, NULL, NULL) == 0) {
        return;
    }
    smlib_array_pushBack(&self->listeners, &listener);
}

void midilib_outputChannel_unregisterListener(midilib_outputChannel* self,
                                              midilib_outputChannelListener* listener)
{
    SMLIB_ASSERT(self);
    uint64_t index = 0;
    if (smlib_array_find(&self->listeners, &listener, NULL, &index) == 0) {
        smlib_array_erase(&self->listeners, index);
    }
}

static int sendToListener(void* element, void* context)
{
    const uint8_t* bytes = (const uint8_t*)context;
    midilib_outputChannelListener* listener = *(midilib_outputChannelListener**)element;
    listener->sendData(listener, bytes, 3);
    return 0;
}

static void sendToAll(midilib_outputChannel* self, uint8_t* bytes)
{
    smlib_array_forEach2(&self->listeners, sendToListener, bytes);
}

void midilib_outputChannel_sendNoteOff(midilib_outputChannel* self, uint8_t noteNumber,
                                       uint8_t velocity)
{
    SMLIB_ASSERT(self);
    uint8_t bytes[3];
    midilib_noteOffBuff_init(bytes, self->channelNumber, noteNumber, velocity);
    sendToAll(self, bytes);
}

void midilib_outputChannel_sendNoteOn(midilib_outputChannel* self, uint8_t noteNumber,
                                      uint8_t velocity)
{
    SMLIB_ASSERT(self);
    uint8_t bytes[3];
    midilib_noteOnBuff_init(bytes, self->channelNumber, noteNumber, velocity);
    sendToAll(self, bytes);
}

void midilib_outputChannel_sendControlChange(midilib_outputChannel* self,
                                             uint8_t controllerNumber, uint8_t value)
{
    SMLIB_ASSERT(self);
    uint8_t bytes[3];
    midilib_controlChangeBuff_init(bytes, self->channelNumber, controllerNumber, value);
    sendToAll(self, bytes);
}

void midilib_outputChannel_sendPitchBend(midilib_outputChannel* self, uint8_t first,
                                         uint8_t second)
{
    SMLIB_ASSERT(self);
    uint8_t bytes[3];
    midilib_pitchBendData_init(bytes, self->channelNumber, first, second);
    sendToAll(self, bytes);
}
