// The ALSA sequencer as host MIDI service: one sequencer client "Ostrel"
// with one input port (every connected source is subscribed to it) and one
// output port (events go directly to each destination).
//
// Threads: a reader thread polls the client and plays the host service's
// thread: it decodes each event and calls the receivers of its source. Any
// other thread may list, connect and send.
// Locks: m_seqMutex around every call on the sequencer handle (alsa-lib's
// handle is not thread-safe); m_receiversMutex around the receiver table,
// held while delivering so that disconnectSource waits for a delivery in
// progress; m_endpointsMutex around the id-to-address cache. Never the
// sequencer mutex while delivering.
#pragma once

#include <alsa/asoundlib.h>

#include <atomic>
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

    QString serviceName() const override;
    QList<MidiEndpoint> sources(MIDI_RESULT* result) override;
    QList<MidiEndpoint> destinations(MIDI_RESULT* result) override;
    MIDI_RESULT connectSource(int32_t uniqueId, MidiServiceReceiver* receiver) override;
    MIDI_RESULT disconnectSource(int32_t uniqueId, MidiServiceReceiver* receiver) override;
    MIDI_RESULT connectDestination(int32_t uniqueId) override;
    void disconnectDestination(int32_t uniqueId) override;
    // Gives up with an error when the sequencer refuses the events for a
    // second (the destination does not drain) or the destination is gone.
    MIDI_RESULT send(int32_t uniqueId, const unsigned char* data, unsigned short length) override;

    int clientId() const { return m_clientId; }

private:
    AlsaMidiService(snd_seq_t* seq, int clientId, int inputPort, int outputPort, int wakeFd);

    QList<MidiEndpoint> list(unsigned int capabilities, MIDI_RESULT* result);
    bool addressOf(int32_t uniqueId, bool source, snd_seq_addr_t& address);
    MIDI_RESULT outputEvent(snd_seq_event_t& event);
    void readEvents();
    void deliver(const snd_seq_event_t& event);

    snd_seq_t* m_seq;
    int m_clientId;
    int m_inputPort;
    int m_outputPort;
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
    std::vector<Subscriber> m_subscribers;

    std::mutex m_sendMutex;  // the encoders and the event scratch space
    std::map<int32_t, AlsaEventEncoder> m_encoders;
    std::vector<snd_seq_event_t> m_events;

    std::vector<unsigned char> m_received;  // reader thread only
    std::thread m_reader;
    std::atomic<bool> m_stop{false};
};
