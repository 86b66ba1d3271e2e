/*
 * smlib_array: an unsorted array of fixed capacity over caller-provided
 * memory. Elements are copied in and out by value. Never allocates, never
 * locks; one thread at a time.
 */
#ifndef SMLIB_ARRAY_H
#define SMLIB_ARRAY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct smlib_array {
    void* memory;         /* caller-owned storage for capacity elements */
    uint64_t elementSize; /* bytes per element */
    uint64_t capacity;    /* elements */
    uint64_t count;       /* elements held */
} smlib_array;

/* Returns non-zero when element matches data. */
typedef int (*smlib_array_matchFunction)(const void* element, const void* data);
/* Returns non-zero to stop the walk. */
typedef int (*smlib_array_function)(void* element);
typedef int (*smlib_array_function2)(void* element, void* context);

/* Count 0. Asserts self, memory, elementSize > 0, capacity > 0. */
void smlib_array_init(smlib_array* self, void* memory, uint64_t elementSize, uint64_t capacity);
/* Copies one element to the end. Asserts self, element, and a free place. */
void smlib_array_pushBack(smlib_array* self, const void* element);
/* Inserts n elements at index (index == count appends). Asserts self, element,
 * index <= count and n free places. */
void smlib_array_insert(smlib_array* self, uint64_t index, const void* element, uint64_t n);
/* Appends all of other. Asserts self, other, equal element sizes and room. */
void smlib_array_concatenate(smlib_array* self, const smlib_array* other);
/* Replaces the contents by n elements. Asserts self, elements, n <= capacity. */
void smlib_array_assign(smlib_array* self, const void* elements, uint64_t count);
/* Removes one element, moving the rest down. Asserts self, index < count. */
void smlib_array_erase(smlib_array* self, uint64_t index);
/* Count 0. Asserts self. */
void smlib_array_clear(smlib_array* self);
/* Pointer to the element, or null when index >= count. Asserts self. */
void* smlib_array_at(const smlib_array* self, uint64_t index);
/* Pointer to the last element, or null when empty (or self is null). */
void* smlib_array_back(const smlib_array* self);
/* Copies the element to element; 0, or -1 when index >= count. Asserts self, element. */
int32_t smlib_array_getElement(const smlib_array* self, uint64_t index, void* element);
/* Asserts self. */
uint64_t smlib_array_getCount(const smlib_array* self);
/* Non-zero when count is 0. Asserts self. */
int smlib_array_empty(const smlib_array* self);
/* First element equal to data (by match when given, else byte-wise): 0 and its
 * index in indexOut (when not null), or -1. Asserts self, data. */
int32_t smlib_array_find(const smlib_array* self, const void* data,
                         smlib_array_matchFunction match, uint64_t* indexOut);
/* Calls function on each element in order until it returns non-zero. Asserts function. */
void smlib_array_forEach(smlib_array* self, smlib_array_function function);
void smlib_array_forEach2(smlib_array* self, smlib_array_function2 function, void* context);

#ifdef __cplusplus
}
#endif

#endif
