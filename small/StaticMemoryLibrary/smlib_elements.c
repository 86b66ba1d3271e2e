#include "smlib_elements.h"

#include <string.h>

unsigned char* smlib_elements_at(smlib_elements elements, uint64_t index)
{
    return elements.memory + (index * elements.elementSize);
}

void smlib_elements_insert(smlib_elements elements, uint64_t index, const void* source, uint64_t n)
{
    memmove(smlib_elements_at(elements, index + n), smlib_elements_at(elements, index),
            (elements.count - index) * elements.elementSize);
    memmove(smlib_elements_at(elements, index), source, n * elements.elementSize);
}

void smlib_elements_erase(smlib_elements elements, uint64_t index)
{
    memmove(smlib_elements_at(elements, index), smlib_elements_at(elements, index + 1),
            (elements.count - index - 1) * elements.elementSize);
}

int32_t smlib_elements_copyOut(smlib_elements elements, uint64_t index, void* out)
{
    if (index >= elements.count) {
        return -1;
    }
    memcpy(out, smlib_elements_at(elements, index), elements.elementSize);
    return 0;
}

int32_t smlib_elements_find(smlib_elements elements, int (*found)(const void*, const void*, const void*),
                            const void* key, const void* context, uint64_t* indexOut)
{
    for (uint64_t i = 0; i < elements.count; i++) {
        if (found(smlib_elements_at(elements, i), key, context)) {
            if (indexOut) {
                *indexOut = i;
            }
            return 0;
        }
    }
    return -1;
}
