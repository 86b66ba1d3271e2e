// Sends Active Sensing (FE) to both outputs every interval while switched
// on. The first FE is due one interval after switching on and each next one
// an interval after the previous one's due time (RhythmSchedule), so the
// spacing never drifts; a stop (or a new interval) takes effect after the
// pass in progress, whose FE is still sent. The worker sleeps to an
// absolute deadline on the monotonic clock a little before each FE and
// hands it to the sender stamped with its exact due time.
//
// Threads: setActivesenseInterval and setPlayActivesensingFlag on the
// user-interface thread, which never waits for a pass or a send; run and
// every send on this thread. The interval is an atomic read at the start of
// each pass; the play flag and quit change under the lock, which the
// worker's timed wait releases and which is never held across a send.
// Destruction ends a pass at once, without its FE.
#pragma once

#include <atomic>

#include "RhythmSchedule.h"
#include "WorkerThread.h"

class MidiSender;

class MidiActivesenseTransmittionThread : public WorkerThread {
    Q_OBJECT

public:
    static constexpr int DefaultInterval = 270;  // ms
    // An FE is handed to the sender this long before it is due.
    static constexpr uint64_t SendAheadNanoseconds = 2000000;

    // sender outlives the thread.
    explicit MidiActivesenseTransmittionThread(MidiSender* sender, QObject* parent = nullptr);
    ~MidiActivesenseTransmittionThread() override;

    void setActivesenseInterval(int milliseconds) { m_interval = milliseconds; }
    void setPlayActivesensingFlag(bool play);
    unsigned long long messagesSent() const { return m_sent; }

protected:
    void run() override;

private:
    uint64_t intervalNanoseconds() const;

    MidiSender* m_sender;
    RhythmSchedule m_schedule;  // this thread only
    bool m_playing = false;
    std::atomic<int> m_interval{DefaultInterval};
    std::atomic<unsigned long long> m_sent{0};
};
