#include "midilib_timingClockGenerator.h"

#include "smlib_assert.h"

void midilib_timingClockGenerator_init(midilib_timingClockGenerator* self)
{
    SMLIB_ASSERT(self);
    self->accumulated = 0;
    midilib_timingClockGenerator_setTempo(self, 900);
}

void midilib_timingClockGenerator_setTempo(midilib_timingClockGenerator* self, uint16_t tempo)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(tempo > 0);
    SMLIB_ASSERT(tempo <= MIDILIB_Tempo_Max);
    self->period = MIDILIB_TimingClock_PeriodTempoProduct / tempo;
}

int32_t midilib_timingClockGenerator_generate(midilib_timingClockGenerator* self,
                                              uint64_t elapsedMilliseconds, uint64_t* clocks)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(clocks);
    self->accumulated += elapsedMilliseconds * 1000u;
    /* Strictly greater: exactly one period accumulated yields no clock yet. */
    if (self->accumulated <= self->period) {
        return -1;
    }
    *clocks = self->accumulated / self->period;
    self->accumulated %= self->period;
    return 0;
}
