// The ALSA sequencer as host MIDI service: one sequencer client "Ostrel"
// with one input port (every connected source is subscribed to it) and one
// output port (events go directly to each destination).
//
// Threads: a reader thread polls the client and plays the host service's
// thread: it decodes each event and calls the receivers of its source. Any
// other thread may list, connect and send.
// Locks: m_seqMutex around every call on the sequencer handle (alsa-lib's
// handle is not thread-safe); m_receiversMutex around the receiver table,
// copied under it and released before the receivers are called
// (disconnectSource waits on a condition for a delivery in progress);
// m_endpointsMutex around the id-to-address cache; m_destinationsMutex
// around the table of destinations, held for a lookup only; each
// destination's own mutex keeps the events of one message to it together
// and in order (a system exclusive goes out in several events) and is held
// while the kernel takes them, up to a second an event when it does not
// drain: a slow destination holds up only the sends to it. Never the
// sequencer mutex while delivering.
// Time: a send due later than now goes through the client's queue, stamped
// with its real time (the kernel's timer places it); one due now goes
// direct, unless an earlier send to the same destination still waits in
// the queue, which it then follows.
#pragma once

#include <alsa/asoundlib.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "AlsaEventEncoder.h"
#include "MidiService.h"

class AlsaMidiService : public MidiService {
public:
    // Null when the sequencer cannot be opened (no /dev/snd/seq).
    static std::unique_ptr<AlsaMidiService> create();
    ~AlsaMidiService() override;
    // Counts the sequencer's input overruns (each may stand for several events).
    uint64_t inputOverruns() const override { return m_overruns.load(); }

    QString serviceName() const override;
    bool flushOutput(int timeoutMs) override;
    QList<MidiEndpoint> sources(MIDI_RESULT* result) override;
    QList<MidiEndpoint> destinations(MIDI_RESULT* result) override;
    MIDI_RESULT connectSource(int32_t uniqueId, MidiServiceReceiver* receiver) override;
    MIDI_RESULT disconnectSource(int32_t uniqueId, MidiServiceReceiver* receiver) override;
    MIDI_RESULT connectDestination(int32_t uniqueId) override;
    void disconnectDestination(int32_t uniqueId) override;
    // Gives up with an error when the sequencer refuses the events for a
    // second (the destination does not drain) or the destination is gone.
    MIDI_RESULT send(int32_t uniqueId, const unsigned char* data, uint32_t length,
                     unsigned long long hostTime = 0) override;

    int clientId() const { return m_clientId; }

private:
    AlsaMidiService(snd_seq_t* seq, int clientId, int inputPort, int outputPort, int queue,
                    int wakeFd);

    QList<MidiEndpoint> list(unsigned int capabilities, MIDI_RESULT* result);
    bool addressOf(int32_t uniqueId, bool source, snd_seq_addr_t& address);
    MIDI_RESULT outputEvent(snd_seq_event_t& event);
    // Direct, or on the queue at due (host ns) when that is ahead of now.
    void setSchedule(snd_seq_event_t& event, unsigned long long due, unsigned long long now) const;
    void readEvents();
    void deliver(const snd_seq_event_t& event);

    snd_seq_t* m_seq;
    int m_clientId;
    int m_inputPort;
    int m_outputPort;
    int m_queue;
    int64_t m_queueOrigin = 0;  // the host time (ns) at queue time 0
    int m_wakeFd;
    std::mutex m_seqMutex;

    std::mutex m_endpointsMutex;
    std::map<int32_t, snd_seq_addr_t> m_sourceAddresses;
    std::map<int32_t, snd_seq_addr_t> m_destinationAddresses;

    struct Subscriber {
        snd_seq_addr_t source;
        int32_t uniqueId;
        MidiServiceReceiver* receiver;
    };
    std::mutex m_receiversMutex;
    std::condition_variable m_deliveryEnded;
    std::vector<Subscriber> m_subscribers;           // m_receiversMutex
    unsigned long long m_deliveriesBegun = 0;        // m_receiversMutex
    unsigned long long m_deliveriesEnded = 0;        // m_receiversMutex
    std::vector<MidiServiceReceiver*> m_deliveryTargets;  // reader thread only

    struct Destination {
        std::mutex mutex;  // what follows, for one message at a time
        AlsaEventEncoder encoder;
        unsigned long long lastDue = 0;  // host ns of the last message's events
        std::vector<snd_seq_event_t> events;
    };
    // The destination's state, made on first use; kept by a send in progress
    // even when disconnectDestination drops it from the table.
    std::shared_ptr<Destination> destination(int32_t uniqueId);
    std::mutex m_destinationsMutex;
    std::map<int32_t, std::shared_ptr<Destination>> m_destinations;

    std::vector<unsigned char> m_received;  // reader thread only
    std::thread m_reader;
    std::atomic<bool> m_stop{false};
    std::atomic<uint64_t> m_overruns{0};  // input overruns the sequencer reported
};
