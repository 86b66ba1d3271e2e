// Sends timing clock (F8, 24 per beat) to both outputs at a tempo, apart
// from the user interface, and signals each beat. Every clock's due time is
// computed in nanoseconds from the tempo (RhythmSchedule), so the count over
// any interval is exact; the worker sleeps to an absolute deadline on the
// monotonic clock a little before each clock and hands it to the sender
// stamped with its exact due time, which the ports keep (JACK places it at
// its frame, ALSA queues it, the loopback holds it until then). It never
// spins or polls.
//
// Threads: setTempo, setPlayTimingClockFlag and isPlaying on the
// user-interface thread; run and every send on this thread.
// Locks: m_lock guards the play flag, quit, the tempo in use and the beat
// counter, and is the lock the worker's timed wait releases; it is never
// held across a send, so the user interface never waits for a port. A tempo
// or play change wakes the worker, which schedules again from the last
// clock. Stopping: the destructor sets quit, wakes and joins.
#pragma once

#include <atomic>

#include "RhythmSchedule.h"
#include "WorkerThread.h"

class MidiSender;

class MidiTimingClockTransmittionThread : public WorkerThread {
    Q_OBJECT

public:
    static constexpr int BeatClockCount = 24;
    static constexpr int DefaultTempo = 900;  // tenths of a beat per minute
    // A clock is handed to the sender this long before it is due.
    static constexpr uint64_t SendAheadNanoseconds = 2000000;

    // sender outlives the thread.
    explicit MidiTimingClockTransmittionThread(MidiSender* sender, QObject* parent = nullptr);
    ~MidiTimingClockTransmittionThread() override;

    // Tenths of a beat per minute (1..3000); applies from the next clock.
    void setTempo(int tenthsOfBpm);
    void setPlayTimingClockFlag(bool play);
    bool isPlaying();
    // Clocks sent since the thread started (for measurements and tests).
    unsigned long long clocksSent() const { return m_clocksSent; }

Q_SIGNALS:
    void blinkLed();

protected:
    void run() override;

private:
    // Nanoseconds x tempo per clock: 60 s / 24 clocks x 10 tenths.
    static constexpr uint64_t PeriodTempoProduct = 25000000000ull;

    // Sleeps until the next clock is due to be handed over; false when
    // woken early (stop, quit, a new tempo).
    bool sleepUntilNextClock(std::unique_lock<std::mutex>& lock);
    void sendClock(std::unique_lock<std::mutex>& lock);

    MidiSender* m_sender;
    RhythmSchedule m_schedule;  // this thread only
    bool m_playing = false;
    int m_tempo = DefaultTempo;
    unsigned char m_clockCounter = 0;
    std::atomic<unsigned long long> m_clocksSent{0};
};
