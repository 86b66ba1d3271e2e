#include "RhythmSchedule.h"

#include <QtGlobal>

void RhythmSchedule::start(uint64_t anchor, uint64_t numerator, uint64_t denominator)
{
    Q_ASSERT(numerator > 0 && denominator > 0);
    m_anchor = anchor;
    m_count = 0;
    m_numerator = numerator;
    m_denominator = denominator;
}

void RhythmSchedule::setPeriod(uint64_t numerator, uint64_t denominator)
{
    Q_ASSERT(numerator > 0 && denominator > 0);
    if (numerator == m_numerator && denominator == m_denominator) {
        return;
    }
    start(dueTime(m_count), numerator, denominator);
}

uint64_t RhythmSchedule::dueTime(uint64_t count) const
{
    // 128 bits: hours of clocks at 25000000000 / tempo would overflow 64.
    const unsigned __int128 offset =
        static_cast<unsigned __int128>(count) * m_numerator / m_denominator;
    return m_anchor + static_cast<uint64_t>(offset);
}
