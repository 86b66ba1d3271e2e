#include "smlib_sortedArray.h"

#include <string.h>

#include "smlib_assert.h"
#include "smlib_elements.h"

static smlib_elements elementsOf(const smlib_sortedArray* self)
{
    smlib_elements elements = {(unsigned char*)self->memory, self->elementSize, self->count};
    return elements;
}

static unsigned char* elementAt(const smlib_sortedArray* self, uint64_t index)
{
    return smlib_elements_at(elementsOf(self), index);
}

static int comparesEqual(const void* element, const void* key, const void* context)
{
    const smlib_sortedArray* self = (const smlib_sortedArray*)context;
    return self->compare(element, key) == 0;
}

void smlib_sortedArray_init(smlib_sortedArray* self, void* memory, uint64_t elementSize,
                            uint64_t capacity, smlib_sortedArray_compareFunction compare)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(memory);
    SMLIB_ASSERT(elementSize > 0);
    SMLIB_ASSERT(capacity > 0);
    self->memory = memory;
    self->elementSize = elementSize;
    self->count = 0;
    self->capacity = capacity;
    self->compare = compare;
}

void smlib_sortedArray_push(smlib_sortedArray* self, const void* element)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(element);
    if (self->count >= self->capacity) {
        SMLIB_ASSERT(0);
    }
    uint64_t index = 0;
    while (index < self->count && self->compare(elementAt(self, index), element) >= 0) {
        index++;
    }
    smlib_elements_insert(elementsOf(self), index, element, 1);
    self->count++;
}

void smlib_sortedArray_erase(smlib_sortedArray* self, uint64_t index)
{
    SMLIB_ASSERT(self);
    if (index >= self->count) {
        SMLIB_ASSERT(0);
    }
    smlib_elements_erase(elementsOf(self), index);
    self->count--;
}

void smlib_sortedArray_clear(smlib_sortedArray* self)
{
    SMLIB_ASSERT(self);
    self->count = 0;
}

void* smlib_sortedArray_at(const smlib_sortedArray* self, uint64_t index)
{
    SMLIB_ASSERT(self);
    return (index < self->count) ? elementAt(self, index) : NULL;
}

int32_t smlib_sortedArray_getElement(const smlib_sortedArray* self, uint64_t index,
                                     void* element)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(element);
    return smlib_elements_copyOut(elementsOf(self), index, element);
}

uint64_t smlib_sortedArray_getCount(const smlib_sortedArray* self)
{
    SMLIB_ASSERT(self);
    return self->count;
}

int smlib_sortedArray_empty(const smlib_sortedArray* self)
{
    SMLIB_ASSERT(self);
    return self->count == 0;
}

int32_t smlib_sortedArray_find(const smlib_sortedArray* self, const void* element,
                               uint64_t* indexOut)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(element);
    return smlib_elements_find(elementsOf(self), comparesEqual, element, self, indexOut);
}
