/*
 * midilib_timingClockGenerator: tells a sending loop how many timing clocks
 * (24 per quarter note) are due after some elapsed time at a tempo, carrying
 * the remainder so that no time is lost between calls. Integer only; tempo in
 * tenths of a beat per minute, time in microseconds. One thread at a time.
 */
#ifndef MIDILIB_TIMINGCLOCKGENERATOR_H
#define MIDILIB_TIMINGCLOCKGENERATOR_H

#include <stdint.h>

#include "midilib_constants.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Microseconds per minute x 10 / 24 clocks: period = this / tempo. */
#define MIDILIB_TimingClock_PeriodTempoProduct UINT64_C(25000000)

typedef struct midilib_timingClockGenerator {
    uint64_t accumulated; /* microseconds not yet turned into clocks */
    uint64_t period;      /* microseconds per clock */
} midilib_timingClockGenerator;

/* Nothing accumulated, 90.0 BPM. Asserts self. */
void midilib_timingClockGenerator_init(midilib_timingClockGenerator* self);
/* Period for tempo 1-3000. Asserts self, "tempo > 0" and "tempo <= MIDILIB_Tempo_Max". */
void midilib_timingClockGenerator_setTempo(midilib_timingClockGenerator* self, uint16_t tempo);
/* Adds the elapsed time; 0 and the clocks due, or -1 when none is due yet
 * (clocks untouched). Asserts self and clocks. */
int32_t midilib_timingClockGenerator_generate(midilib_timingClockGenerator* self,
                                              uint64_t elapsedMilliseconds, uint64_t* clocks);

#ifdef __cplusplus
}
#endif

#endif
