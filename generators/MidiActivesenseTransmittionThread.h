// Sends Active Sensing (FE) to both outputs every interval while switched
// on. Each pass waits one interval from its start, then sends: the first FE
// leaves one interval after switching on, and a stop (or a new interval)
// takes effect after the pass in progress, whose FE is still sent.
//
// Threads: setActivesenseInterval and setPlayActivesensingFlag on the
// user-interface thread, which never waits for a pass (the worker waits on
// a timed condition, not holding the lock); run and the sending here. The
// interval is an atomic; the flags change under the lock. Destruction ends
// a pass at once, without its FE.
#pragma once

#include <atomic>

#include "WorkerThread.h"

class MidiActivesenseTransmittionThread : public WorkerThread {
    Q_OBJECT

public:
    static constexpr int DefaultInterval = 270;  // ms

    explicit MidiActivesenseTransmittionThread(QObject* parent = nullptr);
    ~MidiActivesenseTransmittionThread() override;

    void setActivesenseInterval(int milliseconds) { m_interval = milliseconds; }
    void setPlayActivesensingFlag(bool play);
    unsigned long long messagesSent() const { return m_sent; }

protected:
    void run() override;

private:
    bool m_playing = false;
    std::atomic<int> m_interval{DefaultInterval};
    std::atomic<unsigned long long> m_sent{0};
};
