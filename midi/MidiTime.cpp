#include "MidiTime.h"

#include <QTime>

#include <ctime>

#include "MidiCommon.h"

uint32_t getCurrentTimeInMilliseconds()
{
    return static_cast<uint32_t>(QTime::currentTime().msecsSinceStartOfDay());
}

uint64_t getHostTimeInNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

uint64_t getHostTimeInMilliseconds()
{
    return getHostTimeInNanoseconds() / 1000000u;
}

uint32_t roundTo24Hours(uint64_t milliseconds)
{
    return static_cast<uint32_t>(milliseconds % MsecsPerDay);
}

uint32_t timeStampFromHostTime(uint64_t hostNowMilliseconds, uint64_t startHostTime,
                               uint32_t startTimeOfDay)
{
    uint64_t passed = hostNowMilliseconds - startHostTime;
    if (hostNowMilliseconds < startHostTime) {
        passed += HostTimeMaxValue;
    }
    return roundTo24Hours(uint64_t(startTimeOfDay) + roundTo24Hours(passed));
}

int64_t elapsedTimeOfDay(int64_t earlier, int64_t later)
{
    const int64_t difference = later - earlier;
    return difference < 0 ? difference + ElapsedTimeMax : difference;
}
