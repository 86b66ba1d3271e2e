/*
 * Internal: element moves shared by smlib_array and smlib_sortedArray.
 * No checks here; the public functions assert their preconditions first.
 */
#ifndef SMLIB_ELEMENTS_H
#define SMLIB_ELEMENTS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct smlib_elements {
    unsigned char* memory; /* reference into the container's caller-owned storage */
    uint64_t elementSize;
    uint64_t count;
} smlib_elements;

unsigned char* smlib_elements_at(smlib_elements elements, uint64_t index);
/* Moves the elements from index up by n and copies n elements in at index. */
void smlib_elements_insert(smlib_elements elements, uint64_t index, const void* source, uint64_t n);
/* Moves the elements after index down by one. */
void smlib_elements_erase(smlib_elements elements, uint64_t index);
/* Copies element index out; -1 when index >= count. */
int32_t smlib_elements_copyOut(smlib_elements elements, uint64_t index, void* out);
/* First index for which found(element, key, context) is non-zero; -1 when none. */
int32_t smlib_elements_find(smlib_elements elements, int (*found)(const void*, const void*, const void*),
                            const void* key, const void* context, uint64_t* indexOut);

#ifdef __cplusplus
}
#endif

#endif
