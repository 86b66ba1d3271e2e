// A monitor's log file: every line the monitor is handed, appended to the
// file by a worker thread of its own and flushed at least every 100 ms, so
// neither a slow disk nor a flood of traffic ever holds up the user
// interface. What the worker has not written yet is bounded (pendingLimit);
// beyond it text is dropped and the file gets a line "-- N messages lost --"
// where it happened (and the count goes to lostLines). A write that fails
// (a full disk) stops the log: failed() and error() say so.
//
// Threads: open, append, close, the queries and the destructor on the
// owner's thread (the user-interface thread); the worker writes. Each open
// log has a State shared by the owner and its worker; State::mutex guards
// its pending text, counts and flags; the file belongs to the worker.
// close() never waits: the worker writes what is pending (at most the
// bound), closes the file and ends by itself. waitForClosedLogs() waits
// for every such worker of the process; the application calls it before it
// exits, so no line is lost at quitting.
#pragma once

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>

class MonitorLog {
public:
    static constexpr int FlushMilliseconds = 100;
    static constexpr int DefaultPendingLimit = 64 * 1024 * 1024;

    explicit MonitorLog(int pendingLimit = DefaultPendingLimit) : m_pendingLimit(pendingLimit) {}
    // Closes the log (without waiting for its worker).
    ~MonitorLog();
    MonitorLog(const MonitorLog&) = delete;
    MonitorLog& operator=(const MonitorLog&) = delete;

    // Starts a log at path (a file there is replaced); false when it cannot
    // be opened. A log already open is closed first.
    bool open(const QString& path);
    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }
    // Monitor text: lines, each beginning with a line break. Written as
    // lines each ending with one.
    void append(const QByteArray& text);
    // Ends the log: what is pending still goes to the file, in the background.
    void close();
    // Lines dropped because the worker fell behind, since the log opened.
    uint64_t lostLines() const;
    // True when a write failed (a full disk): the log stopped writing;
    // error() says why ("No space left on device").
    bool failed() const;
    QString error() const;

    // Until every log of the process that was closed has reached its file.
    static void waitForClosedLogs();

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        std::FILE* file = nullptr;  // the worker's
        QByteArray pending;
        uint64_t lostLines = 0;   // in total
        uint64_t unreported = 0;  // not yet said in the file
        bool stopping = false;  // closed by its owner
        bool ended = false;     // the worker is done with the file
        bool failed = false;
        QString error;
    };
    static void run(const std::shared_ptr<State>& state);

    const int m_pendingLimit;
    QString m_path;
    bool m_open = false;
    std::shared_ptr<State> m_state;  // the last log opened, kept after close for its counts
};
