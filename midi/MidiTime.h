// The system's clocks. Time stamps are milliseconds since local midnight,
// wrapping at 24 hours; the host clock is CLOCK_MONOTONIC. Any thread.
#pragma once

#include <cstdint>

// Local wall-clock milliseconds since midnight.
uint32_t getCurrentTimeInMilliseconds();
// The host clock in nanoseconds: never 0 for a real reading.
uint64_t getHostTimeInNanoseconds();
// The host clock in milliseconds.
uint64_t getHostTimeInMilliseconds();
// milliseconds modulo one day.
uint32_t roundTo24Hours(uint64_t milliseconds);
// The time stamp for host time hostNow given the start-up origin: the time of
// day at start plus the host time passed since, modulo one day.
uint32_t timeStampFromHostTime(uint64_t hostNowMilliseconds, uint64_t startHostTime,
                               uint32_t startTimeOfDay);
// Milliseconds from earlier to later on the time-of-day clock, across midnight.
int64_t elapsedTimeOfDay(int64_t earlier, int64_t later);
