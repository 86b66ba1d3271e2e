#include "smlib_unsigned.h"

uint64_t smlib_unsigned_inc(uint64_t value, uint64_t limit, int64_t delta)
{
    if (delta < 0) {
        /* Computed without negating delta, which overflows for INT64_MIN. */
        const uint64_t magnitude = (uint64_t)(-(delta + 1)) + 1u;
        return (magnitude < value) ? value - magnitude : value;
    }
    if (delta == 0) {
        return value;
    }
    /* The headroom test is deliberately 32-bit: positions never exceed it, and
     * the unsigned difference wraps (so passes) for values beyond it. */
    if ((UINT64_C(4294967295) - value) <= (uint64_t)delta) {
        return value;
    }
    const uint64_t sum = value + (uint64_t)delta;
    return (sum < limit) ? sum : value;
}

uint64_t smlib_unsigned_usedBytes(uint64_t value)
{
    uint64_t bytes = 1;
    uint64_t mask = 0xFFu;
    while (mask < value) {
        mask = (mask << 8) | 0xFFu;
        bytes++;
    }
    return bytes;
}

uint64_t smlib_unsigned_decDigitSize(uint64_t value)
{
    uint64_t digits = 1;
    while (value >= 10u) {
        value /= 10u;
        digits++;
    }
    return digits;
}
