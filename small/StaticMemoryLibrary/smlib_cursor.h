/*
 * Internal: the reading and seeking shared by smlib_data and smlib_constData.
 * Only whole elements move; a cursor never reads or writes past its size.
 */
#ifndef SMLIB_CURSOR_H
#define SMLIB_CURSOR_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Copies whole elements between memory at *position and other; returns the
 * number copied. toMemory selects the direction. */
uint64_t smlib_cursor_transfer(unsigned char* memory, uint64_t size, uint64_t* position,
                               void* other, uint64_t elementSize, uint64_t n, int toMemory);
/* The seek rule of both cursors: 0 when the position moved, -1 otherwise. */
int32_t smlib_cursor_seek(uint64_t size, uint64_t* position, int64_t offset, int32_t origin);

#ifdef __cplusplus
}
#endif

#endif
