// Strings, bounded copy, cycle counter, running average, unsigned helpers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "smlib_cycleCounter.h"
#include "smlib_string.h"
#include "smlib_strlcpy.h"
#include "smlib_uaverage.h"
#include "smlib_unsigned.h"

namespace {

TEST(SmlibStrlcpy, CutsAndAlwaysTerminates)
{
    char small[3] = {'x', 'x', 'x'};
    EXPECT_EQ(smlib_strlcpy(small, "abc", 3), -1);
    EXPECT_STREQ(small, "ab");
    char large[8];
    EXPECT_EQ(smlib_strlcpy(large, "abc", 8), 0);
    EXPECT_STREQ(large, "abc");
    char exact[4];
    EXPECT_EQ(smlib_strlcpy(exact, "abc", 4), 0);
    EXPECT_DEATH(smlib_strlcpy(exact, "abc", 0), "Assertion failed: destMemSize > 0, function smlib_strlcpy, file smlib_strlcpy.c");
}

TEST(SmlibString, AppendAndAssignCutAtTheMemorySize)
{
    char memory[8];
    smlib_string text;
    smlib_string_init(&text, memory, sizeof(memory), "abc");
    EXPECT_EQ(smlib_string_getLength(&text), 3u);
    smlib_string_append(&text, "defgh");
    EXPECT_STREQ(smlib_string_data(&text), "abcdefg");
    EXPECT_EQ(smlib_string_getLength(&text), 7u);
    smlib_string_append(&text, "ignored");
    EXPECT_STREQ(smlib_string_data(&text), "abcdefg");
    EXPECT_EQ(smlib_string_at(&text, 6), 'g');
    EXPECT_EQ(smlib_string_at(&text, 7), '\0');
    smlib_string_assign(&text, nullptr);
    EXPECT_EQ(smlib_string_getLength(&text), 0u);
    EXPECT_STREQ(smlib_string_data(&text), "");
    EXPECT_DEATH(smlib_string_init(&text, memory, 0, "a"), "memorySize > 0");
}

TEST(SmlibCycleCounter, CountsThroughTheRangeAndStartsOver)
{
    smlib_cycleCounter counter;
    smlib_cycleCounter_init(&counter, 0, 3, 1);
    EXPECT_EQ(smlib_cycleCounter_count(&counter), 1);
    EXPECT_EQ(smlib_cycleCounter_count(&counter), 2);
    EXPECT_EQ(smlib_cycleCounter_count(&counter), 0);
    EXPECT_EQ(smlib_cycleCounter_count(&counter), 1);
    smlib_cycleCounter_reset(&counter);
    EXPECT_EQ(smlib_cycleCounter_getValue(&counter), 0);

    smlib_cycleCounter down;
    smlib_cycleCounter_init(&down, 10, -4, -2);
    EXPECT_EQ(smlib_cycleCounter_count(&down), 8);
    EXPECT_EQ(smlib_cycleCounter_count(&down), 10);
    EXPECT_EQ(smlib_cycleCounter_getInitial(&down), 10);
    EXPECT_DEATH(smlib_cycleCounter_count(nullptr), "function smlib_cycleCounter_count");
}

TEST(SmlibUaverage, AveragesUntilFullThenDropsTheOldest)
{
    uint64_t samples[24];
    smlib_uaverage average;
    smlib_uaverage_init(&average, samples, 24);
    EXPECT_EQ(smlib_uaverage_calc(&average, 10), 10u);
    EXPECT_EQ(smlib_uaverage_calc(&average, 20), 15u);
    for (int i = 2; i < 24; i++) {
        smlib_uaverage_calc(&average, 20);
    }
    // 10 + 23 * 20 over 24, truncated; then the 10 drops out.
    EXPECT_EQ(smlib_uaverage_calc(&average, 20), 20u);
    smlib_uaverage_reset(&average);
    EXPECT_EQ(smlib_uaverage_calc(&average, 7), 7u);
    EXPECT_DEATH(smlib_uaverage_init(&average, samples, 0), "sampleBuffSize > 0");
}

TEST(SmlibUnsigned, IncrementStaysInsideItsBounds)
{
    EXPECT_EQ(smlib_unsigned_inc(5, 10, -5), 5u);
    EXPECT_EQ(smlib_unsigned_inc(5, 10, -4), 1u);
    EXPECT_EQ(smlib_unsigned_inc(5, 10, 4), 9u);
    EXPECT_EQ(smlib_unsigned_inc(5, 10, 5), 5u);
    EXPECT_EQ(smlib_unsigned_inc(5, 10, 0), 5u);
    EXPECT_EQ(smlib_unsigned_inc(5, 10, INT64_MIN), 5u);
    EXPECT_EQ(smlib_unsigned_inc(4294967290u, UINT64_MAX, 5), 4294967290u);
    EXPECT_EQ(smlib_unsigned_inc(4294967289u, UINT64_MAX, 5), 4294967294u);

    EXPECT_EQ(smlib_unsigned_usedBytes(0), 1u);
    EXPECT_EQ(smlib_unsigned_usedBytes(255), 1u);
    EXPECT_EQ(smlib_unsigned_usedBytes(256), 2u);
    EXPECT_EQ(smlib_unsigned_usedBytes(65536), 3u);
    EXPECT_EQ(smlib_unsigned_usedBytes(UINT64_MAX), 8u);
    EXPECT_EQ(smlib_unsigned_decDigitSize(0), 1u);
    EXPECT_EQ(smlib_unsigned_decDigitSize(9), 1u);
    EXPECT_EQ(smlib_unsigned_decDigitSize(10), 2u);
    EXPECT_EQ(smlib_unsigned_decDigitSize(UINT64_MAX), 20u);
}

}  // namespace
