// A monitor's log file: every line the monitor is handed, appended to the
// file by a worker thread of its own and flushed at least every 100 ms, so
// neither a slow disk nor a flood of traffic ever holds up the user
// interface. What the worker has not written yet is bounded (pendingLimit);
// beyond it text is dropped and the file gets a line "-- N messages lost --"
// where it happened (and the count goes to lostLines).
//
// Threads: open, append, close and the destructor on the owner's thread
// (the user-interface thread); the worker writes. m_mutex guards m_pending,
// m_lostLines and m_stopping; the file belongs to the worker while it runs.
// close() joins the worker with no lock held.
#pragma once

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>

class MonitorLog {
public:
    static constexpr int FlushMilliseconds = 100;
    static constexpr int DefaultPendingLimit = 64 * 1024 * 1024;

    explicit MonitorLog(int pendingLimit = DefaultPendingLimit) : m_pendingLimit(pendingLimit) {}
    ~MonitorLog();
    MonitorLog(const MonitorLog&) = delete;
    MonitorLog& operator=(const MonitorLog&) = delete;

    // Starts a log at path (a file there is replaced); false when it cannot
    // be opened. A log already open is closed first.
    bool open(const QString& path);
    bool isOpen() const { return m_worker.joinable(); }
    QString path() const { return m_path; }
    // Monitor text: lines, each beginning with a line break. Written as
    // lines each ending with one.
    void append(const QByteArray& text);
    // Writes what is pending, closes the file and ends the worker.
    void close();
    // Lines dropped because the worker fell behind, since the log opened.
    uint64_t lostLines() const;
    // True when a write failed (a full disk): the log stopped writing.
    bool failed() const;

private:
    void run();

    const int m_pendingLimit;
    std::FILE* m_file = nullptr;
    QString m_path;
    std::thread m_worker;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    QByteArray m_pending;
    uint64_t m_lostLines = 0;     // in total
    uint64_t m_unreported = 0;    // not yet said in the file
    bool m_stopping = false;
    bool m_failed = false;
};
