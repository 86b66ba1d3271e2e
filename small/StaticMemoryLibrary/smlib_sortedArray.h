/*
 * smlib_sortedArray: an array of fixed capacity kept in the order given by a
 * compare function, over caller-provided memory. Equal elements keep their
 * order of arrival. Never allocates, never locks; one thread at a time.
 */
#ifndef SMLIB_SORTEDARRAY_H
#define SMLIB_SORTEDARRAY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Order of two elements: push stops at the
 * first held element e for which compare(e, new) is negative and inserts the
 * new element before it. find matches where compare(e, key) is 0. */
typedef int32_t (*smlib_sortedArray_compareFunction)(const void* element, const void* other);

typedef struct smlib_sortedArray {
    void* memory;         /* caller-owned storage for capacity elements */
    uint64_t elementSize; /* bytes per element */
    uint64_t count;       /* elements held */
    uint64_t capacity;    /* elements */
    smlib_sortedArray_compareFunction compare;
} smlib_sortedArray;

/* Count 0. Asserts self, memory, elementSize > 0, capacity > 0. */
void smlib_sortedArray_init(smlib_sortedArray* self, void* memory, uint64_t elementSize,
                            uint64_t capacity, smlib_sortedArray_compareFunction compare);
/* Inserts a copy in order. Asserts self, element, and a free place. */
void smlib_sortedArray_push(smlib_sortedArray* self, const void* element);
/* Removes one element. Asserts self, index < count. */
void smlib_sortedArray_erase(smlib_sortedArray* self, uint64_t index);
/* Count 0. Asserts self. */
void smlib_sortedArray_clear(smlib_sortedArray* self);
/* Pointer to the element, or null when index >= count. Asserts self. */
void* smlib_sortedArray_at(const smlib_sortedArray* self, uint64_t index);
/* Copies the element out; 0, or -1 when index >= count. Asserts self, element. */
int32_t smlib_sortedArray_getElement(const smlib_sortedArray* self, uint64_t index,
                                     void* element);
uint64_t smlib_sortedArray_getCount(const smlib_sortedArray* self);
int smlib_sortedArray_empty(const smlib_sortedArray* self);
/* First element e with compare(e, element) == 0: 0 and its index (when
 * indexOut is not null), or -1. Asserts self, element. */
int32_t smlib_sortedArray_find(const smlib_sortedArray* self, const void* element,
                               uint64_t* indexOut);

#ifdef __cplusplus
}
#endif

#endif
