/*
 * midilib_tempoMeasure: derives a tempo from the arrival times of received
 * timing clocks with a 24-sample running average, and forgets it after more
 * than three seconds without clocks. Tempo in tenths of a beat per minute,
 * time in microseconds. One thread at a time.
 */
#ifndef MIDILIB_TEMPOMEASURE_H
#define MIDILIB_TEMPOMEASURE_H

#include <stdint.h>

#include "midilib_constants.h"
#include "smlib_uaverage.h"

#ifdef __cplusplus
extern "C" {
#endif

#define MIDILIB_TempoMeasure_Sample_Count 24
/* Time stamps wrap at midnight. */
#define MIDILIB_TempoMeasure_Day_Microseconds UINT64_C(86400000000)
/* More than this without a clock forgets the tempo. */
#define MIDILIB_TempoMeasure_Timeout_Microseconds UINT64_C(3000000)

typedef struct midilib_tempoMeasure {
    smlib_uaverage average;                              /* over samples */
    uint64_t samples[MIDILIB_TempoMeasure_Sample_Count]; /* clock intervals */
    uint8_t started;                                     /* a first clock was seen */
    uint8_t valid;                                       /* an interval was measured */
    uint64_t lastClockTime;                              /* arrival of the previous clock */
    uint64_t averageInterval;                            /* last running average */
    uint64_t sinceLastClock;                             /* counted by update */
} midilib_tempoMeasure;

/* Asserts self. */
void midilib_tempoMeasure_init(midilib_tempoMeasure* self);
/* One clock arrived at time (microseconds since midnight). Asserts self. */
void midilib_tempoMeasure_setClockTiming(midilib_tempoMeasure* self, uint64_t time);
/* elapsed microseconds passed without a clock. Asserts self. */
void midilib_tempoMeasure_update(midilib_tempoMeasure* self, uint64_t elapsed);
/* 0 and the tempo (at most 3000), or -1 when none is known or tempo is null. Asserts self. */
int32_t midilib_tempoMeasure_getTempo(const midilib_tempoMeasure* self, uint16_t* tempo);

#ifdef __cplusplus
}
#endif

#endif
