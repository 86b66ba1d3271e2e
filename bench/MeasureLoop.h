// Helpers the measuring programs share: an event loop that sleeps for a
// while, the process's CPU time and resident memory, a stall probe.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <algorithm>

#include <cstdio>

#include <sys/resource.h>

namespace measure {

// A real event loop that sleeps between events: measuring must not cost a
// core of its own.
inline void runFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// User and system CPU time of the whole process, in seconds.
inline double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Resident memory in MB (from /proc/self/statm), 0 when unreadable.
inline double residentMegabytes()
{
    long pages = 0;
    long resident = 0;
    FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file) {
        return 0;
    }
    const int read = std::fscanf(file, "%ld %ld", &pages, &resident);
    std::fclose(file);
    return read == 2 ? static_cast<double>(resident) * 4096.0 / 1e6 : 0;
}

// The largest gap between ticks of a 10 ms timer on the user-interface
// thread: how long the thread was held at most.
class StallProbe : public QObject {
public:
    StallProbe()
    {
        m_clock.start();
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.elapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_timer.start(10);
    }
    // Milliseconds, the timer's own 10 included.
    qint64 longestGap() const { return m_longest; }
    void reset()
    {
        m_last = m_clock.elapsed();
        m_longest = 0;
    }

private:
    QElapsedTimer m_clock;
    QTimer m_timer;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

}  // namespace measure
