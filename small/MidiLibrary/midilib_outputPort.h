/*
 * midilib_outputPort: a sending front end with sixteen output channels. The
 * port listens on all of them and forwards every message to one byte-sending
 * function supplied by its owner. Caller-owned record, no allocation, no
 * locking; one thread at a time. The record must not move after init: its
 * channels hold a pointer to its listener.
 */
#ifndef MIDILIB_OUTPUTPORT_H
#define MIDILIB_OUTPUTPORT_H

#include <stdint.h>

#include "midilib_constants.h"
#include "midilib_outputChannel.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct midilib_outputPort midilib_outputPort;

/* The port's listener on its own channels. */
typedef struct midilib_outputPortChannelListener {
    midilib_outputChannelListener listener; /* sendData: forwards to the port */
    midilib_outputPort* port;               /* the owning port */
} midilib_outputPortChannelListener;

struct midilib_outputPort {
    midilib_outputChannel channels[MIDILIB_ChannelNumber_Max + 1]; /* channel i has number i */
    midilib_outputPortChannelListener channelListener;
    /* Supplied by the owner before midilib_outputPort_init. */
    void (*sendData)(midilib_outputPort* port, const uint8_t* data, uint64_t size);
};

/* Sets up the sixteen channels and registers the port on each. Asserts self
 * and self->sendData. */
void midilib_outputPort_init(midilib_outputPort* self);
/* Channel record for channelNumber. Asserts self and channel 0-15. */
midilib_outputChannel* midilib_outputPort_getChannel(midilib_outputPort* self,
                                                     uint8_t channelNumber);

#ifdef __cplusplus
}
#endif

#endif
