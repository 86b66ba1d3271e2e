/*
 * smlib_strlcpy: bounded string copy that always terminates. Any thread.
 */
#ifndef SMLIB_STRLCPY_H
#define SMLIB_STRLCPY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Copies at most destMemSize - 1 characters of srcStr and terminates the copy
 * (and destStr[destMemSize - 1]). 0 when all of srcStr fitted, -1 when it was
 * cut. Asserts destStr, srcStr, destMemSize > 0. */
int32_t smlib_strlcpy(char* destStr, const char* srcStr, uint64_t destMemSize);

#ifdef __cplusplus
}
#endif

#endif
