// Time stamps: milliseconds since local midnight on one shared origin.
#include <QtTest>

#include "MidiCommon.h"
#include "MidiTime.h"

class MidiTimeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dayArithmetic()
    {
        QCOMPARE(roundTo24Hours(86399999), 86399999u);
        QCOMPARE(roundTo24Hours(86400000), 0u);
        QCOMPARE(roundTo24Hours(172800001), 1u);
        QCOMPARE(elapsedTimeOfDay(1000, 1500), qint64(500));
        QCOMPARE(elapsedTimeOfDay(86399900, 100), qint64(200));
    }

    void timeStampsWrapAtMidnight()
    {
        const uint64_t start = 5000000;
        QCOMPARE(timeStampFromHostTime(start + 999, start, 86399000), 86399999u);
        QCOMPARE(timeStampFromHostTime(start + 1000, start, 86399000), 0u);
        QCOMPARE(timeStampFromHostTime(start + 86400000 + 5, start, 10), 15u);
        // A host clock read before the origin counts modulo 2^64 - 1.
        QCOMPARE(timeStampFromHostTime(start - 1, start, 0),
                 roundTo24Hours(UINT64_MAX - 1));
    }

    void clocksAreSane()
    {
        const uint64_t a = getHostTimeInNanoseconds();
        const uint64_t b = getHostTimeInNanoseconds();
        QVERIFY(a > 0);
        QVERIFY(b >= a);
        QVERIFY(getCurrentTimeInMilliseconds() < MsecsPerDay);
    }
};

QTEST_GUILESS_MAIN(MidiTimeTest)
#include "MidiTimeTest.moc"
