// Helpers the measuring programs share: an event loop that sleeps for a
// while, the process's CPU time and resident memory, a stall probe.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <map>
#include <string>

#include <cstdio>

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

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

// CPU seconds of each of the process's threads, by name and thread ID,
// from /proc/self/task.
inline std::map<std::string, double> threadCpuSeconds()
{
    std::map<std::string, double> seconds;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) {
        return seconds;
    }
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        const std::string path = std::string("/proc/self/task/") + entry->d_name + "/stat";
        FILE* file = std::fopen(path.c_str(), "r");
        if (!file) {
            continue;
        }
        char line[1024] = {};
        const bool read = std::fgets(line, sizeof(line), file) != nullptr;
        std::fclose(file);
        const std::string text = read ? line : "";
        const size_t open = text.find('(');
        const size_t close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos) {
            continue;
        }
        unsigned long user = 0;
        unsigned long system = 0;
        // After the name: state, then fields 4-13, then utime and stime.
        if (std::sscanf(text.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user,
                        &system) == 2) {
            seconds[text.substr(open + 1, close - open - 1) + " " + entry->d_name] = (user + system) / tick;
        }
    }
    closedir(tasks);
    return seconds;
}

// Prints each thread's share of a core between two threadCpuSeconds().
inline void printThreadShares(const std::map<std::string, double>& before, const std::map<std::string, double>& after,
                              double wallSeconds)
{
    for (const auto& [name, seconds] : after) {
        const auto earlier = before.find(name);
        const double used = seconds - (earlier == before.end() ? 0.0 : earlier->second);
        if (used > 0) {
            std::printf("    thread %-24s %.2f %%\n", name.c_str(), used / wallSeconds * 100);
        }
    }
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
