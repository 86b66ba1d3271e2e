/*
 * smlib_cycleCounter: a counter that steps through [initial, initial + range)
 * (or down to it with a negative step) and starts over. One thread at a time.
 */
#ifndef SMLIB_CYCLECOUNTER_H
#define SMLIB_CYCLECOUNTER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct smlib_cycleCounter {
    int64_t value;
    int64_t initial;
    int64_t range;
    int64_t step;
} smlib_cycleCounter;

/* Value and initial set. Asserts self. */
void smlib_cycleCounter_init(smlib_cycleCounter* self, int64_t initial, int64_t range, int64_t step);
/* Value back to initial. Asserts self. */
void smlib_cycleCounter_reset(smlib_cycleCounter* self);
/* Advances by step and returns the new value, or initial when the limit
 * initial + range was reached (the counter starts over). Asserts self. */
int64_t smlib_cycleCounter_count(smlib_cycleCounter* self);
int64_t smlib_cycleCounter_getValue(const smlib_cycleCounter* self);
int64_t smlib_cycleCounter_getInitial(const smlib_cycleCounter* self);

#ifdef __cplusplus
}
#endif

#endif
