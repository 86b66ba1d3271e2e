#include "smlib_string.h"

#include "smlib_assert.h"

/* Copies until the terminator or until one place is left, then terminates;
 * returns the characters copied. */
static uint64_t copyText(char* mem, uint64_t memSize, const char* text)
{
    SMLIB_ASSERT(mem);
    SMLIB_ASSERT(memSize > 0);
    uint64_t copied = 0;
    if (text) {
        while (copied < memSize - 1 && text[copied] != '\0') {
            mem[copied] = text[copied];
            copied++;
        }
    }
    mem[copied] = '\0';
    return copied;
}

void smlib_string_init(smlib_string* self, char* memory, uint64_t memorySize, const char* initial)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(memory);
    SMLIB_ASSERT(memorySize > 0);
    self->memory = memory;
    self->memorySize = memorySize;
    self->length = copyText(memory, memorySize, initial);
}

void smlib_string_append(smlib_string* self, const char* text)
{
    SMLIB_ASSERT(self);
    self->length += copyText(self->memory + self->length, self->memorySize - self->length, text);
}

void smlib_string_assign(smlib_string* self, const char* text)
{
    SMLIB_ASSERT(self);
    self->length = copyText(self->memory, self->memorySize, text);
}

char smlib_string_at(const smlib_string* self, uint64_t index)
{
    SMLIB_ASSERT(self);
    return (index < self->length) ? self->memory[index] : '\0';
}

const char* smlib_string_data(const smlib_string* self)
{
    SMLIB_ASSERT(self);
    return self->memory;
}

uint64_t smlib_string_getLength(const smlib_string* self)
{
    SMLIB_ASSERT(self);
    return self->length;
}
