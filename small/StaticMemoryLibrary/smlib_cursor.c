#include "smlib_cursor.h"

#include <string.h>

#include "smlib_assert.h"
#include "smlib_unsigned.h"

uint64_t smlib_cursor_transfer(unsigned char* memory, uint64_t size, uint64_t* position,
                               void* other, uint64_t elementSize, uint64_t n, int toMemory)
{
    if (elementSize == 0 || *position >= size) {
        return 0;
    }
    const uint64_t room = (size - *position) / elementSize;
    const uint64_t elements = (n < room) ? n : room;
    const uint64_t bytes = elements * elementSize;
    if (bytes > 0) {
        if (toMemory) {
            memcpy(memory + *position, other, bytes);
        } else {
            memcpy(other, memory + *position, bytes);
        }
        *position += bytes;
    }
    return elements;
}

int32_t smlib_cursor_seek(uint64_t size, uint64_t* position, int64_t offset, int32_t origin)
{
    uint64_t start = 0;
    switch (origin) {
    case 0:
        start = 0;
        *position = start;
        break;
    case 1:
        start = *position;
        break;
    case 2:
        /* An empty cursor has no last byte; it stays at 0. */
        start = (size > 0) ? size - 1 : 0;
        *position = start;
        break;
    default:
        SMLIB_ASSERT(0);
    }
    const uint64_t moved = smlib_unsigned_inc(start, size, offset);
    if (moved == *position) {
        return -1;
    }
    *position = moved;
    return 0;
}
