#include "smlib_cycleCounter.h"

#include "smlib_assert.h"

void smlib_cycleCounter_init(smlib_cycleCounter* self, int64_t initial, int64_t range, int64_t step)
{
    SMLIB_ASSERT(self);
    self->value = initial;
    self->initial = initial;
    self->range = range;
    self->step = step;
}

void smlib_cycleCounter_reset(smlib_cycleCounter* self)
{
    SMLIB_ASSERT(self);
    self->value = self->initial;
}

int64_t smlib_cycleCounter_count(smlib_cycleCounter* self)
{
    SMLIB_ASSERT(self);
    self->value += self->step;
    const int64_t limit = self->initial + self->range;
    const int inside = (self->step >= 0) ? (self->value < limit) : (self->value > limit);
    if (!inside) {
        self->value = self->initial;
    }
    return self->value;
}

int64_t smlib_cycleCounter_getValue(const smlib_cycleCounter* self)
{
    SMLIB_ASSERT(self);
    return self->value;
}

int64_t smlib_cycleCounter_getInitial(const smlib_cycleCounter* self)
{
    SMLIB_ASSERT(self);
    return self->initial;
}
