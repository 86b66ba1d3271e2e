/*
 * midilib_data: the output byte buffer an encoded message is written into
 * (up to one largest system exclusive message). Caller-owned, one thread at a time.
 */
#ifndef MIDILIB_DATA_H
#define MIDILIB_DATA_H

#include <stdint.h>

#include "midilib_constants.h"
#include "smlib_data.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct midilib_data {
    smlib_data data; /* cursor over memory; its position is the number of bytes written */
    uint8_t memory[MIDILIB_SystemExclusive_Size_Max];
} midilib_data;

/* Empties the buffer and, when source is not null, writes count elements of
 * elementSize bytes (asserting that all of them fit). Asserts self. */
void midilib_data_init(midilib_data* self, const void* source, uint64_t elementSize,
                       uint64_t count);
/* Appends whole elements until the buffer is full; returns the number written.
 * Asserts self, source. */
uint64_t midilib_data_write(midilib_data* self, const void* source, uint64_t elementSize,
                            uint64_t count);
/* The first byte of the buffer. Asserts self. */
const uint8_t* midilib_data_getMemory(const midilib_data* self);
/* Bytes written so far. Asserts self. */
uint64_t midilib_data_getSize(const midilib_data* self);

#ifdef __cplusplus
}
#endif

#endif
