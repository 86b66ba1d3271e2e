/*
 * midilib_outputChannel: builds channel messages for one channel number and
 * hands the bytes to every registered listener, in registration order.
 * Caller-owned record, no allocation, no locking; one thread at a time.
 */
#ifndef MIDILIB_OUTPUTCHANNEL_H
#define MIDILIB_OUTPUTCHANNEL_H

#include <stdint.h>

#include "midilib_constants.h"
#include "smlib_array.h"

#ifdef __cplusplus
extern "C" {
#endif

#define MIDILIB_OutputChannel_Listener_Max 32

/* A listener record starts with its sendData function; a listener that needs
 * more state embeds this record as its first field. */
typedef struct midilib_outputChannelListener midilib_outputChannelListener;
struct midilib_outputChannelListener {
    void (*sendData)(midilib_outputChannelListener* listener, const uint8_t* data, uint64_t size);
};

typedef struct midilib_outputChannel {
    uint8_t channelNumber; /* 0-15 */
    smlib_array listeners; /* of listener pointers, over listenerMemory */
    /* Pointers to listeners owned by whoever registered them. */
    midilib_outputChannelListener* listenerMemory[MIDILIB_OutputChannel_Listener_Max];
} midilib_outputChannel;

/* Number set, no listeners. Asserts self and channel 0-15. */
void midilib_outputChannel_init(midilib_outputChannel* self, uint8_t channelNumber);
/* Appends the listener unless already registered; a 33rd asserts. Asserts self. */
void midilib_outputChannel_registerListener(midilib_outputChannel* self,
                                            midilib_outputChannelListener* listener);
/* Removes the listener when registered, keeping the order of the rest. Asserts self. */
void midilib_outputChannel_unregisterListener(midilib_outputChannel* self,
                                              midilib_outputChannelListener* listener);
/* Each send builds the message for this channel (asserting its ranges) and
 * calls every listener's sendData. Asserts self. */
void midilib_outputChannel_sendNoteOff(midilib_outputChannel* self, uint8_t noteNumber,
                                       uint8_t velocity);
void midilib_outputChannel_sendNoteOn(midilib_outputChannel* self, uint8_t noteNumber,
                                      uint8_t velocity);
void midilib_outputChannel_sendControlChange(midilib_outputChannel* self,
                                             uint8_t controllerNumber, uint8_t value);
/* first holds the low seven bits of the bend, second the high seven. */
void midilib_outputChannel_sendPitchBend(midilib_outputChannel* self, uint8_t first,
                                         uint8_t second);

#ifdef __cplusplus
}
#endif

#endif
