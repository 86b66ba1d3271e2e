// Due times of the clock and active sensing threads: exact counts over long
// spans, tempo changes from the next event, no drift from rounding.
#include <QtTest>

#include "RhythmSchedule.h"

class RhythmScheduleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countsOverAnySpanAreExact()
    {
        // 120.0 BPM: 48 clocks a second, 20833333.33 ns apart.
        RhythmSchedule schedule;
        const uint64_t anchor = 5000000000ull;
        schedule.start(anchor, 25000000000ull, 1200);
        QCOMPARE(schedule.nextDue(), anchor + 20833333);
        for (int clock = 0; clock < 48 * 3600; clock++) {
            schedule.advance();
        }
        // An hour of clocks ends exactly an hour later: nothing rounded accumulates.
        QCOMPARE(schedule.nextDue() - 20833333, anchor + 3600000000000ull);
    }

    void aNewPeriodStartsFromTheLastEvent()
    {
        RhythmSchedule schedule;
        schedule.start(0, 10, 1);
        schedule.advance();
        schedule.advance();  // events at 10 and 20
        schedule.setPeriod(3, 1);
        QCOMPARE(schedule.nextDue(), 23ull);
        schedule.setPeriod(3, 1);  // the same period changes nothing
        schedule.advance();
        QCOMPARE(schedule.nextDue(), 26ull);
        schedule.start(100, 7, 2);  // 3.5 ns apart: 103, 107, 110
        QCOMPARE(schedule.nextDue(), 103ull);
        schedule.advance();
        QCOMPARE(schedule.nextDue(), 107ull);
        schedule.advance();
        QCOMPARE(schedule.nextDue(), 110ull);
    }
};

QTEST_GUILESS_MAIN(RhythmScheduleTest)
#include "RhythmScheduleTest.moc"
