// Timing clock generation and received tempo measurement.
#include <gtest/gtest.h>

#include "midilib_tempoMeasure.h"
#include "midilib_timingClockGenerator.h"

namespace {

TEST(MidilibTimingClockGenerator, CarriesTheRemainderBetweenCalls)
{
    midilib_timingClockGenerator generator;
    midilib_timingClockGenerator_init(&generator);
    EXPECT_EQ(generator.period, 27777u);
    midilib_timingClockGenerator_setTempo(&generator, 1200);
    EXPECT_EQ(generator.period, 20833u);
    uint64_t clocks = 99;
    ASSERT_EQ(midilib_timingClockGenerator_generate(&generator, 100, &clocks), 0);
    EXPECT_EQ(clocks, 4u);
    EXPECT_EQ(generator.accumulated, 16668u);
    ASSERT_EQ(midilib_timingClockGenerator_generate(&generator, 5, &clocks), 0);
    EXPECT_EQ(clocks, 1u);

    // Exactly one period is not yet a clock.
    midilib_timingClockGenerator_init(&generator);
    midilib_timingClockGenerator_setTempo(&generator, 250);  // 100000 us per clock
    clocks = 99;
    EXPECT_EQ(midilib_timingClockGenerator_generate(&generator, 100, &clocks), -1);
    EXPECT_EQ(clocks, 99u);
    EXPECT_EQ(midilib_timingClockGenerator_generate(&generator, 1, &clocks), 0);
    EXPECT_EQ(clocks, 1u);
}

TEST(MidilibTimingClockGenerator, OneMinuteAtAnyTempoGivesItsClocks)
{
    // No time may be lost between calls: 60 s in 1 ms steps at 120.0 BPM
    // is 2880 clocks (less at most one for the truncated period).
    midilib_timingClockGenerator generator;
    midilib_timingClockGenerator_init(&generator);
    midilib_timingClockGenerator_setTempo(&generator, 1200);
    uint64_t total = 0;
    for (int ms = 0; ms < 60000; ms++) {
        uint64_t clocks = 0;
        if (midilib_timingClockGenerator_generate(&generator, 1, &clocks) == 0) {
            total += clocks;
        }
    }
    EXPECT_EQ(total, 60000000u / 20833u);
}

class TempoMeasureTest : public ::testing::Test {
protected:
    void SetUp() override { midilib_tempoMeasure_init(&measure_); }

    int tempo()
    {
        uint16_t value = 0;
        return midilib_tempoMeasure_getTempo(&measure_, &value) == 0 ? value : -1;
    }

    void clocksEvery(uint64_t interval, int count, uint64_t start = 0)
    {
        for (int i = 0; i < count; i++) {
            midilib_tempoMeasure_setClockTiming(&measure_, start + interval * uint64_t(i));
        }
    }

    midilib_tempoMeasure measure_{};
};

TEST_F(TempoMeasureTest, KnownAfterTheSecondClock)
{
    EXPECT_EQ(tempo(), -1);
    midilib_tempoMeasure_setClockTiming(&measure_, 1000);
    EXPECT_EQ(tempo(), -1);
    midilib_tempoMeasure_setClockTiming(&measure_, 1000 + 20833);
    EXPECT_EQ(tempo(), 1200);
}

TEST_F(TempoMeasureTest, FastClocksAreCappedAtTheMaximum)
{
    clocksEvery(10000, 5);
    EXPECT_EQ(tempo(), 2500);
    midilib_tempoMeasure_init(&measure_);
    clocksEvery(5000, 5);
    EXPECT_EQ(tempo(), 3000);
    midilib_tempoMeasure_init(&measure_);
    clocksEvery(0, 3);
    EXPECT_EQ(tempo(), 3000);
}

TEST_F(TempoMeasureTest, IntervalAcrossMidnight)
{
    midilib_tempoMeasure_setClockTiming(&measure_, 86399999000u);
    midilib_tempoMeasure_setClockTiming(&measure_, 20833u);
    EXPECT_EQ(measure_.averageInterval, 21833u);
    EXPECT_EQ(tempo(), 25000000 / 21833);
}

}  // namespace
