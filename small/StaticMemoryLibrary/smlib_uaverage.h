/*
 * smlib_uaverage: running average of unsigned 64-bit samples over a ring of
 * caller-provided sample storage. One thread at a time.
 */
#ifndef SMLIB_UAVERAGE_H
#define SMLIB_UAVERAGE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct smlib_uaverage {
    uint64_t* sampleBuff;    /* caller-owned ring of sampleBuffSize samples */
    uint64_t sampleBuffSize; /* samples */
    uint8_t filled;          /* the ring has been filled once */
    uint64_t index;          /* where the next sample goes */
    uint64_t sum;            /* sum of the samples in the ring */
} smlib_uaverage;

/* Empty average. Asserts self, sampleBuff, sampleBuffSize > 0. */
void smlib_uaverage_init(smlib_uaverage* self, uint64_t* sampleBuff, uint64_t sampleBuffSize);
/* Forgets all samples. Asserts self. */
void smlib_uaverage_reset(smlib_uaverage* self);
/* Adds a sample (dropping the oldest once the ring is full) and returns the
 * truncated mean of the samples held. */
uint64_t smlib_uaverage_calc(smlib_uaverage* self, uint64_t sample);

#ifdef __cplusplus
}
#endif

#endif
