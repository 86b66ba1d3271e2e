/*
 * smlib_queue: a byte ring over caller-provided memory. One byte always stays
 * free, so at most capacity - 1 bytes are held. Never allocates, never locks;
 * one thread at a time.
 */
#ifndef SMLIB_QUEUE_H
#define SMLIB_QUEUE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct smlib_queue {
    unsigned char* memory; /* caller-owned ring storage */
    uint64_t capacity;     /* bytes */
    uint64_t readIndex;    /* next byte taken */
    uint64_t writeIndex;   /* next byte stored */
} smlib_queue;

/* Empty queue. Asserts self, memory, capacity > 0. */
void smlib_queue_init(smlib_queue* self, void* memory, uint64_t capacity);
/* Stores as many of the n * elementSize bytes as are free (whole elements in
 * the part that wraps to the start); returns the bytes stored. Asserts self, data. */
uint64_t smlib_queue_push(smlib_queue* self, const void* data, uint64_t elementSize, uint64_t n);
/* Takes every held byte, oldest first, into data, which must have room for
 * capacity - 1 bytes; returns the number taken. Asserts self, data. */
uint64_t smlib_queue_pop(smlib_queue* self, void* data);
/* 0, or -1 when full. Asserts self. */
int32_t smlib_queue_pushByte(smlib_queue* self, unsigned char byte);
/* 0 and the oldest byte, or -1 when empty. Asserts self, data. */
int32_t smlib_queue_popByte(smlib_queue* self, unsigned char* data);
/* Non-zero when no byte is held. Asserts self. */
int smlib_queue_empty(const smlib_queue* self);

#ifdef __cplusplus
}
#endif

#endif
