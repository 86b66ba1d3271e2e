#include "midilib_data.h"

#include "smlib_assert.h"

void midilib_data_init(midilib_data* self, const void* source, uint64_t elementSize,
                       uint64_t count)
{
    SMLIB_ASSERT(self);
    smlib_data_init(&self->data, self->memory, sizeof(self->memory));
    if (source) {
        const uint64_t written = midilib_data_write(self, source, elementSize, count);
        SMLIB_ASSERT(written == count);
    }
}

uint64_t midilib_data_write(midilib_data* self, const void* source, uint64_t elementSize,
                            uint64_t count)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(source);
    return smlib_data_write(&self->data, source, elementSize, count);
}

const uint8_t* midilib_data_getMemory(const midilib_data* self)
{
    SMLIB_ASSERT(self);
    return self->memory;
}

uint64_t midilib_data_getSize(const midilib_data* self)
{
    SMLIB_ASSERT(self);
    return smlib_data_tell(&self->data);
}
