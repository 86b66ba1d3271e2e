/*
 * smlib_string: a bounded character string over caller-provided memory,
 * always terminated; text that does not fit is cut. Never allocates, never
 * locks; one thread at a time.
 */
#ifndef SMLIB_STRING_H
#define SMLIB_STRING_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct smlib_string {
    char* memory;        /* caller-owned characters, terminator included */
    uint64_t memorySize; /* bytes of memory */
    uint64_t length;     /* characters before the terminator */
} smlib_string;

/* Holds as much of initial (null: nothing) as fits. Asserts self, memory, memorySize > 0. */
void smlib_string_init(smlib_string* self, char* memory, uint64_t memorySize, const char* initial);
/* Appends as much of text as fits. Asserts self. */
void smlib_string_append(smlib_string* self, const char* text);
/* Replaces the contents by as much of text as fits. Asserts self. */
void smlib_string_assign(smlib_string* self, const char* text);
/* The character at index, 0 when index >= length. */
char smlib_string_at(const smlib_string* self, uint64_t index);
const char* smlib_string_data(const smlib_string* self);
uint64_t smlib_string_getLength(const smlib_string* self);

#ifdef __cplusplus
}
#endif

#endif
