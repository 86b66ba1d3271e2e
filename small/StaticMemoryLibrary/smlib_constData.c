#include "smlib_constData.h"

#include "smlib_assert.h"
#include "smlib_cursor.h"

void smlib_constData_init(smlib_constData* self, const void* memory, uint64_t size)
{
    SMLIB_ASSERT(self);
    if (!memory) {
        SMLIB_ASSERT(size == 0);
    } else {
        SMLIB_ASSERT(size > 0);
    }
    self->memory = (const unsigned char*)memory;
    self->size = size;
    self->position = 0;
}

uint64_t smlib_constData_read(smlib_constData* self, void* out, uint64_t elementSize, uint64_t n)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(out);
    /* The transfer only reads from memory in this direction. */
    return smlib_cursor_transfer((unsigned char*)self->memory, self->size, &self->position, out,
                                 elementSize, n, 0);
}

int32_t smlib_constData_seek(smlib_constData* self, int64_t offset, int32_t origin)
{
    SMLIB_ASSERT(self);
    return smlib_cursor_seek(self->size, &self->position, offset, origin);
}

uint64_t smlib_constData_tell(const smlib_constData* self)
{
    SMLIB_ASSERT(self);
    return self->position;
}
