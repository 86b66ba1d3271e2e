#include "smlib_data.h"

#include "smlib_assert.h"
#include "smlib_cursor.h"

void smlib_data_init(smlib_data* self, void* memory, uint64_t size)
{
    SMLIB_ASSERT(self);
    if (!memory) {
        SMLIB_ASSERT(size == 0);
    } else {
        SMLIB_ASSERT(size > 0);
    }
    self->memory = (unsigned char*)memory;
    self->size = size;
    self->position = 0;
}

uint64_t smlib_data_read(smlib_data* self, void* out, uint64_t elementSize, uint64_t n)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(out);
    return smlib_cursor_transfer(self->memory, self->size, &self->position, out, elementSize, n, 0);
}

uint64_t smlib_data_write(smlib_data* self, const void* in, uint64_t elementSize, uint64_t n)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(in);
    return smlib_cursor_transfer(self->memory, self->size, &self->position, (void*)in,
                                 elementSize, n, 1);
}

int32_t smlib_data_seek(smlib_data* self, int64_t offset, int32_t origin)
{
    SMLIB_ASSERT(self);
    return smlib_cursor_seek(self->size, &self->position, offset, origin);
}

uint64_t smlib_data_tell(const smlib_data* self)
{
    SMLIB_ASSERT(self);
    return self->position;
}

uint64_t smlib_data_getSize(const smlib_data* self)
{
    SMLIB_ASSERT(self);
    return self->size;
}
