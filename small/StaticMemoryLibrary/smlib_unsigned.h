/*
 * Unsigned arithmetic helpers: bounded increment, byte count and decimal
 * digit count of unsigned 64-bit values. Pure functions, any thread.
 */
#ifndef SMLIB_UNSIGNED_H
#define SMLIB_UNSIGNED_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* value + delta when the result stays inside (0, limit); otherwise value.
 * A negative delta needs |delta| < value; a positive one needs 32-bit
 * headroom (4294967295 - value > delta) and value + delta < limit. */
uint64_t smlib_unsigned_inc(uint64_t value, uint64_t limit, int64_t delta);

/* Bytes needed to hold value; 1 for values below 256. */
uint64_t smlib_unsigned_usedBytes(uint64_t value);

/* Number of decimal digits of value; 1 for values below 10. */
uint64_t smlib_unsigned_decDigitSize(uint64_t value);

#ifdef __cplusplus
}
#endif

#endif
