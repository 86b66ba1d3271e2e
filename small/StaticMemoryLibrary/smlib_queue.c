#include "smlib_queue.h"

#include <string.h>

#include "smlib_assert.h"

void smlib_queue_init(smlib_queue* self, void* memory, uint64_t capacity)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(memory);
    SMLIB_ASSERT(capacity > 0);
    self->memory = (unsigned char*)memory;
    self->capacity = capacity;
    self->readIndex = 0;
    self->writeIndex = 0;
}

static uint64_t minimum(uint64_t a, uint64_t b)
{
    return (a < b) ? a : b;
}

uint64_t smlib_queue_push(smlib_queue* self, const void* data, uint64_t elementSize, uint64_t n)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(data);
    const unsigned char* source = (const unsigned char*)data;
    const uint64_t total = elementSize * n;
    uint64_t first = 0;
    if (self->readIndex > self->writeIndex) {
        first = minimum(total, self->readIndex - 1 - self->writeIndex);
    } else {
        /* With the reader at 0 the last place must stay free. */
        const uint64_t end = (self->readIndex == 0) ? self->capacity - 1 : self->capacity;
        first = minimum(total, end - self->writeIndex);
    }
    memcpy(self->memory + self->writeIndex, source, first);
    self->writeIndex = (self->writeIndex + first) % self->capacity;

    uint64_t second = 0;
    if (first < total && self->writeIndex == 0 && self->readIndex > 0) {
        second = minimum(total - first, self->readIndex - 1);
        if (elementSize > 0) {
            second -= second % elementSize;
        }
        memcpy(self->memory, source + first, second);
        self->writeIndex = second;
    }
    return first + second;
}

uint64_t smlib_queue_pop(smlib_queue* self, void* data)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(data);
    unsigned char* out = (unsigned char*)data;
    uint64_t taken = 0;
    while (smlib_queue_popByte(self, out + taken) == 0) {
        taken++;
    }
    return taken;
}

int32_t smlib_queue_pushByte(smlib_queue* self, unsigned char byte)
{
    SMLIB_ASSERT(self);
    const uint64_t next = (self->writeIndex + 1) % self->capacity;
    if (next == self->readIndex) {
        return -1;
    }
    self->memory[self->writeIndex] = byte;
    self->writeIndex = next;
    return 0;
}

int32_t smlib_queue_popByte(smlib_queue* self, unsigned char* data)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(data);
    if (self->readIndex == self->writeIndex) {
        return -1;
    }
    *data = self->memory[self->readIndex];
    self->readIndex = (self->readIndex + 1) % self->capacity;
    return 0;
}

int smlib_queue_empty(const smlib_queue* self)
{
    SMLIB_ASSERT(self);
    return self->readIndex == self->writeIndex;
}
