#include "smlib_array.h"

#include <string.h>

#include "smlib_assert.h"
#include "smlib_elements.h"

static smlib_elements elementsOf(const smlib_array* self)
{
    smlib_elements elements = {(unsigned char*)self->memory, self->elementSize, self->count};
    return elements;
}

static unsigned char* elementAt(const smlib_array* self, uint64_t index)
{
    return smlib_elements_at(elementsOf(self), index);
}

typedef struct matchContext {
    smlib_array_matchFunction match;
    uint64_t elementSize;
} matchContext;

static int elementMatches(const void* element, const void* data, const void* context)
{
    const matchContext* how = (const matchContext*)context;
    return how->match ? how->match(element, data) : (memcmp(element, data, how->elementSize) == 0);
}

void smlib_array_init(smlib_array* self, void* memory, uint64_t elementSize, uint64_t capacity)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(memory);
    SMLIB_ASSERT(elementSize > 0);
    SMLIB_ASSERT(capacity > 0);
    self->memory = memory;
    self->elementSize = elementSize;
    self->capacity = capacity;
    self->count = 0;
}

void smlib_array_pushBack(smlib_array* self, const void* element)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(element);
    if (self->count >= self->capacity) {
        SMLIB_ASSERT(0);
    }
    memcpy(elementAt(self, self->count), element, self->elementSize);
    self->count++;
}

void smlib_array_insert(smlib_array* self, uint64_t index, const void* element, uint64_t n)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(element);
    if (index > self->count) {
        SMLIB_ASSERT(0);
    }
    if (n > self->capacity - self->count) {
        SMLIB_ASSERT(0);
    }
    smlib_elements_insert(elementsOf(self), index, element, n);
    self->count += n;
}

void smlib_array_concatenate(smlib_array* self, const smlib_array* other)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(other);
    SMLIB_ASSERT(self->elementSize == other->elementSize);
    if (other->count > self->capacity - self->count) {
        SMLIB_ASSERT(0);
    }
    if (other->count == 0) {
        return;
    }
    memmove(elementAt(self, self->count), other->memory, other->count * other->elementSize);
    self->count += other->count;
}

void smlib_array_assign(smlib_array* self, const void* elements, uint64_t count)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(elements);
    SMLIB_ASSERT(count <= self->capacity);
    memmove(self->memory, elements, count * self->elementSize);
    self->count = count;
}

void smlib_array_erase(smlib_array* self, uint64_t index)
{
    SMLIB_ASSERT(self);
    if (index >= self->count) {
        SMLIB_ASSERT(0);
    }
    smlib_elements_erase(elementsOf(self), index);
    self->count--;
}

void smlib_array_clear(smlib_array* self)
{
    SMLIB_ASSERT(self);
    self->count = 0;
}

void* smlib_array_at(const smlib_array* self, uint64_t index)
{
    SMLIB_ASSERT(self);
    return (index < self->count) ? elementAt(self, index) : NULL;
}

void* smlib_array_back(const smlib_array* self)
{
    if (!self || self->count == 0) {
        return NULL;
    }
    return elementAt(self, self->count - 1);
}

int32_t smlib_array_getElement(const smlib_array* self, uint64_t index, void* element)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(element);
    return smlib_elements_copyOut(elementsOf(self), index, element);
}

uint64_t smlib_array_getCount(const smlib_array* self)
{
    SMLIB_ASSERT(self);
    return self->count;
}

int smlib_array_empty(const smlib_array* self)
{
    SMLIB_ASSERT(self);
    return self->count == 0;
}

int32_t smlib_array_find(const smlib_array* self, const void* data,
                         smlib_array_matchFunction match, uint64_t* indexOut)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(data);
    const matchContext how = {match, self->elementSize};
    return smlib_elements_find(elementsOf(self), elementMatches, data, &how, indexOut);
}

void smlib_array_forEach(smlib_array* self, smlib_array_function function)
{
    SMLIB_ASSERT(function);
    for (uint64_t i = 0; i < self->count; i++) {
        if (function(elementAt(self, i)) != 0) {
            return;
        }
    }
}

void smlib_array_forEach2(smlib_array* self, smlib_array_function2 function, void* context)
{
    SMLIB_ASSERT(function);
    for (uint64_t i = 0; i < self->count; i++) {
        if (function(elementAt(self, i), context) != 0) {
            return;
        }
    }
}
