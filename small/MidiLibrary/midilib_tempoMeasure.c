#include "midilib_tempoMeasure.h"

#include "midilib_timingClockGenerator.h"
#include "smlib_assert.h"

void midilib_tempoMeasure_init(midilib_tempoMeasure* self)
{
    SMLIB_ASSERT(self);
    smlib_uaverage_init(&self->average, self->samples, MIDILIB_TempoMeasure_Sample_Count);
    for (int i = 0; i < MIDILIB_TempoMeasure_Sample_Count; i++) {
        self->samples[i] = 0;
    }
    self->started = 0;
    self->valid = 0;
    self->lastClockTime = 0;
    self->averageInterval = 0;
    self->sinceLastClock = 0;
}

void midilib_tempoMeasure_setClockTiming(midilib_tempoMeasure* self, uint64_t time)
{
    SMLIB_ASSERT(self);
    if (self->started) {
        uint64_t interval = time - self->lastClockTime;
        if (time < self->lastClockTime) {
            interval += MIDILIB_TempoMeasure_Day_Microseconds;
        }
        self->averageInterval = smlib_uaverage_calc(&self->average, interval);
        self->valid = 1;
    } else {
        self->started = 1;
    }
    self->lastClockTime = time;
    self->sinceLastClock = 0;
}

void midilib_tempoMeasure_update(midilib_tempoMeasure* self, uint64_t elapsed)
{
    SMLIB_ASSERT(self);
    if (!self->started) {
        return;
    }
    self->sinceLastClock += elapsed;
    if (self->sinceLastClock > MIDILIB_TempoMeasure_Timeout_Microseconds) {
        /* The running average keeps its samples: after a pause the first
         * intervals are averaged with the older ones. */
        self->started = 0;
        self->valid = 0;
        self->averageInterval = 0;
        self->lastClockTime = 0;
    }
}

int32_t midilib_tempoMeasure_getTempo(const midilib_tempoMeasure* self, uint16_t* tempo)
{
    SMLIB_ASSERT(self);
    if (!self->valid || !tempo) {
        return -1;
    }
    uint64_t measured = MIDILIB_Tempo_Max;
    if (self->averageInterval > 0) {
        measured = MIDILIB_TimingClock_PeriodTempoProduct / self->averageInterval;
    }
    *tempo = (uint16_t)((measured < MIDILIB_Tempo_Max) ? measured : MIDILIB_Tempo_Max);
    return 0;
}
