// The due times of a steady rhythm on the host clock (CLOCK_MONOTONIC,
// nanoseconds): event n after the anchor falls at anchor + n x period, with
// the period a fraction (numerator / denominator nanoseconds) so that a
// timing clock's 25000000000 / tempo ns is kept exactly: no rounding is
// carried from one event to the next, and the count over any interval is
// exact. A new period starts from the last event's due time, so a change
// takes effect from the next event. One thread at a time.
#pragma once

#include <cstdint>

class RhythmSchedule {
public:
    // The first event falls one period after anchor. Asserts a period above 0.
    void start(uint64_t anchor, uint64_t numerator, uint64_t denominator);
    // From the next event on; the same period changes nothing.
    void setPeriod(uint64_t numerator, uint64_t denominator);
    // When the next event is due.
    uint64_t nextDue() const { return dueTime(m_count + 1); }
    // The next event has been sent.
    void advance() { m_count++; }

private:
    uint64_t dueTime(uint64_t count) const;

    uint64_t m_anchor = 0;
    uint64_t m_count = 0;  // events since the anchor
    uint64_t m_numerator = 1;
    uint64_t m_denominator = 1;
};
