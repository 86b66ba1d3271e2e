// One output port: lists the service's destinations, connects to one by
// index or name, and sends byte sequences at once.
//
// Threads: transmitMidi from any thread (user interface, MIDI thru on the
// input workers, the generator windows' sending threads); open and close
// from the user-interface thread.
// Locks: the port mutex guards the destination, the count of sends in
// progress and the destinations let go while sends were in progress, and
// is held only to read or change them: a send takes the destination under
// it and sends after releasing it. Letting a destination go (close, open
// of another, a vanished one) stops new sends at once and never waits for
// one in progress (a paced 16 KiB dump takes seconds): when none is in
// progress the service is told with the mutex released, otherwise the
// destination is kept as retired and let go by the next open, close or
// listing once its sends have ended, or by the destructor, which waits for
// them. A destination marked as slow (Bluetooth) is paced after each send,
// outside the mutex, mostly asleep; letting it go ends the pause.
#pragma once

#include <QElapsedTimer>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "Midi.h"

class MidiOutputPort : public Midi {
public:
    MidiOutputPort(MidiClient* client, uint32_t maximumMessageSize, unsigned int portGroup,
                   uint64_t startHostTime, uint32_t startTimeOfDay);
    ~MidiOutputPort() override;

    QStringList getOutputPortNameList(MIDI_RESULT* result);
    unsigned int getOutputPortCount(MIDI_RESULT* result) const;
    // An index not below the number of destinations: error, connection
    // unchanged. A refused connection or an index the last listed names do
    // not reach: error, disconnected. Replaces the destination otherwise.
    MIDI_RESULT openOutputPort(unsigned int index);
    MIDI_RESULT openOutputPort(const QString& name);
    // Forgets the destination; error when there was none.
    MIDI_RESULT closeOutputPort();
    // Sends one message due at hostTime (0: now) and sets timeStamp to the
    // time it is due (the time of sending for now or a time past). Error
    // when not connected, for a length of 0 or above the maximum message
    // size, and when the service refuses (destination gone).
    MIDI_RESULT transmitMidi(const unsigned char* data, uint32_t length,
                             unsigned int& timeStamp, unsigned long long hostTime);
    bool isBluetooth() const;
    struct Destination {
        MidiService* service = nullptr;
        int32_t id = InvalidPortRef;
    };
    // The destination's service (null when none) and its id: where MIDI
    // thru can go (any thread).
    Destination destination() const;
    // The longest message the destination takes (MaximumMessageSize when
    // not connected or without a limit of its own). Any thread.
    uint32_t largestMessage() const;
    // Messages the service took to send, and those it refused, since the
    // port was created (any thread).
    uint64_t acceptedMessages() const { return m_accepted.load(std::memory_order_relaxed); }
    // The pauses paced sends held, in microseconds, in total (any thread).
    uint64_t pacedMicroseconds() const { return m_paced.load(std::memory_order_relaxed); }
    uint64_t refusedMessages() const { return m_refused.load(std::memory_order_relaxed); }

private:
    // Takes the destination away (lock held): no send starts on it after
    // this. Returns it when no send is in progress, otherwise retires it
    // and returns none. The caller disconnects what it returns, unlocked.
    Destination takeDestination(std::unique_lock<std::mutex>& lock);
    // The retired destinations once no send is in progress (lock held).
    std::vector<Destination> takeRetired();
    static void disconnect(const Destination& destination);
    static void disconnect(const std::vector<Destination>& destinations);
    // letGo: m_letGo when the send began; a destination let go since ends the pause.
    void paceBluetooth(uint32_t length, uint64_t letGo);

    mutable std::mutex m_mutex;
    std::condition_variable m_sendsEnded;
    std::condition_variable m_paceEnded;  // a destination was let go: pauses end
    int m_sending = 0;  // sends in progress
    std::vector<Destination> m_retired;
    uint64_t m_letGo = 0;  // destinations let go so far
    MidiService* m_destinationService = nullptr;  // null: no destination
    int32_t m_destinationId = InvalidPortRef;
    bool m_isBluetooth = false;
    std::unique_ptr<QElapsedTimer> m_stopwatch;
    uint32_t m_maximumMessageSize;
    std::atomic<uint64_t> m_accepted{0};
    std::atomic<uint64_t> m_paced{0};
    std::atomic<uint64_t> m_refused{0};
};
