#include "smlib_uaverage.h"

#include "smlib_assert.h"

void smlib_uaverage_init(smlib_uaverage* self, uint64_t* sampleBuff, uint64_t sampleBuffSize)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(sampleBuff);
    SMLIB_ASSERT(sampleBuffSize > 0);
    self->sampleBuff = sampleBuff;
    self->sampleBuffSize = sampleBuffSize;
    smlib_uaverage_reset(self);
}

void smlib_uaverage_reset(smlib_uaverage* self)
{
    SMLIB_ASSERT(self);
    self->filled = 0;
    self->index = 0;
    self->sum = 0;
}

uint64_t smlib_uaverage_calc(smlib_uaverage* self, uint64_t sample)
{
    SMLIB_ASSERT(self);
    if (self->filled) {
        const uint64_t oldSample = self->sampleBuff[self->index];
        SMLIB_ASSERT(self->sum >= oldSample);
        self->sum -= oldSample;
    }
    self->sum += sample;
    self->sampleBuff[self->index] = sample;
    self->index++;
    uint64_t divisor = 0;
    if (self->index == self->sampleBuffSize) {
        self->index = 0;
        self->filled = 1;
        divisor = self->sampleBuffSize;
    } else {
        divisor = self->filled ? self->sampleBuffSize : self->index;
    }
    return self->sum / divisor;
}
