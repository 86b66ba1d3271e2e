// JACK as host MIDI service: one JACK client "Ostrel". Each connected
// source gets an input port of ours and each connected destination an
// output port, registered on demand (at most SlotCount of each). The
// client is active (called each cycle) only while it has a port.
//
// Threads: JACK's real-time thread runs process(), which never blocks,
// locks or allocates: it moves events through lock-free jack_ringbuffers.
// Received events go through one ring to the delivery thread, which plays
// the host service's thread and calls the receivers; messages to send go
// through one ring per output port, written by send() on any thread.
// Locks (never taken by process): m_mutex around slot allocation and port
// registration, taken only by connect, disconnect and droppedFrom (the
// user-interface thread), never by send or delivery; each input slot's receivers are a
// MidiReceiverList, called without any lock held; each output slot's
// sendMutex keeps one writer per ring for the copy only, never while
// waiting for space. Activating and deactivating the client (a round trip
// to the server) happen under m_mutex with the port they are for, as port
// registration always did: only the user-interface thread takes it, so
// nobody else waits behind them. m_thruMutex serialises setThruRoutes
// callers and guards the replaced tables; process() never takes it.
// Refused thru messages, and reports the received ring had no room for,
// are counted (overruns) and said like any other loss.
// Losses: process() counts what the delivery ring had no room for, per
// slot, and cycles it was never called for, and wakes the delivery thread,
// which tells the loss listener; the xrun callback (JACK's notification
// thread) counts xruns and tells it; all plain atomics.
// Thru: setThruRoutes publishes an immutable table (an atomic pointer; a
// replaced table is freed by a later call or the destructor once two cycles
// have passed, so setting routes never waits). process() parses each input
// with a route on its own parsers (long system exclusive joined in a buffer
// of its own, up to ThruJoinCapacity), filters, and places what passes in
// the route's output in the same cycle at the frame it came at, merged in
// frame order with the events sent through the ring; what it placed or
// refused goes to the delivery thread through the received ring, which
// reports it to the thru listener. Everything it uses is preallocated.
// Time: a received event's host time is its frame's time. A sent event is
// placed at the frame of its host time plus one period (the constant
// latency that lets an event sent at any moment of a cycle keep its
// spacing), never before the cycle start nor before an event sent earlier
// to the same port; events due in a later cycle wait in the ring.
#pragma once

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <QHash>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <semaphore.h>
#include <thread>
#include <vector>

#include "MidiReceiverList.h"
#include "MidiService.h"
#include "midilib_event.h"
#include "midilib_parser.h"

class JackMidiService : public MidiService {
public:
    static constexpr int SlotCount = 8;
    // The longest system exclusive same-cycle thru joins from pieces.
    static constexpr size_t ThruJoinCapacity = 1 << 16;

    // Null when no JACK server runs; never starts one.
    static std::unique_ptr<JackMidiService> create();
    ~JackMidiService() override;

    QString serviceName() const override;
    QList<MidiEndpoint> sources(MIDI_RESULT* result) override;
    QList<MidiEndpoint> destinations(MIDI_RESULT* result) override;
    MIDI_RESULT connectSource(int32_t uniqueId, MidiServiceReceiver* receiver) override;
    MIDI_RESULT disconnectSource(int32_t uniqueId, MidiServiceReceiver* receiver) override;
    MIDI_RESULT connectDestination(int32_t uniqueId) override;
    void disconnectDestination(int32_t uniqueId) override;
    // Error when the server or the destination is gone, when the message can
    // never fit a JACK MIDI buffer, or when the port's queue stays full for
    // a second. hostTime 0 is now.
    MIDI_RESULT send(int32_t uniqueId, const unsigned char* data, uint32_t length,
                     unsigned long long hostTime = 0) override;

    // The largest event the port buffers take (32720 bytes at 256 frames),
    // known once a destination's first cycle ran.
    uint32_t largestMessage(int32_t uniqueId) const override;

    // True while the server calls the client each cycle (it has a port).
    bool isActive() const { return m_active.load(); }
    // Frames per period and sample rate of the server (for measurements).
    jack_nframes_t bufferSize() const;
    jack_nframes_t sampleRate() const;
    // Received events dropped because the delivery ring was full.
    uint32_t overruns() const { return m_overruns.load(); }
    // The same for one source (each slot counts its own).
    uint64_t droppedFrom(int32_t uniqueId) const override;
    // Cycles the server never ran for us: the frame time of a cycle lies
    // more than one period after the last one's (an asynchronous server
    // that fell behind). Xruns: as the server reports them.
    bool flushOutput(int timeoutMs) override;
    uint64_t skippedCycles() const override { return m_skippedCycles.load(std::memory_order_relaxed); }
    uint64_t xruns() const override { return m_xruns.load(std::memory_order_relaxed); }
    // Passes thru in the process callback, in the cycle a message came in.
    bool setThruRoutes(const std::vector<ThruRoute>& routes) override;

private:
    // What process() keeps of an input for thru (process() only).
    struct ThruInput {
        midilib_parser parser;
        std::unique_ptr<unsigned char[]> joined{new unsigned char[ThruJoinCapacity]};
        size_t joinedLength = 0;  // every byte of the long message so far
        bool joining = false;
        bool active = false;  // a route took this input's last cycle
        int32_t source = InvalidPortId;  // the source parsed
    };
    struct InputSlot {
        std::atomic<jack_port_t*> port{nullptr};
        std::atomic<int32_t> sourceId{InvalidPortId};  // written under m_mutex
        MidiReceiverList receivers;
        std::atomic<uint64_t> dropped{0};  // events the delivery ring had no room for
        ThruInput thru;
    };
    // A thru message waiting for its output's turn in the cycle.
    struct ThruEvent {
        jack_nframes_t frame;
        uint32_t offset;  // into the slot's thruBytes
        uint32_t size;
        int tag;
        unsigned char type;
        bool parsed;
    };
    struct OutputSlot {
        std::atomic<jack_port_t*> port{nullptr};
        jack_ringbuffer_t* ring = nullptr;
        std::atomic<int32_t> destinationId{InvalidPortId};  // written under m_mutex
        int users = 0;                                      // m_mutex
        std::mutex sendMutex;
        // process() only: this cycle's thru messages, in frame order.
        std::vector<ThruEvent> thruEvents;  // capacity reserved, never grown
        std::unique_ptr<unsigned char[]> thruBytes;
        size_t thruUsed = 0;
    };
    struct ThruTable {
        std::vector<ThruRoute> routes;
        uint64_t retiredAt = 0;  // m_cycles when it was replaced
    };
    // Where a route of the current input goes this cycle.
    struct ThruTarget {
        const ThruRoute* route;
        OutputSlot* output;
    };
    // Host time (ns) to JACK time (us) now: JACK's clock may not be ours.
    int64_t hostToJackOffset() const;
    OutputSlot* findOutput(int32_t uniqueId);

    explicit JackMidiService(jack_client_t* client);
    static int processCallback(jack_nframes_t frames, void* self);
    static void shutdownCallback(void* self);
    static int xrunCallback(void* self);
    void process(jack_nframes_t frames);
    void readInputs(jack_nframes_t frames);
    void writeOutputs(jack_nframes_t frames);
    // The on routes of an input's source whose destination is connected
    // (at most SlotCount); their count.
    int thruTargets(const ThruTable* table, int32_t source, ThruTarget* targets);
    // The event's bytes in memory of this client's own (copied by libjack).
    const unsigned char* staged(const jack_midi_event_t& event);
    void passThru(InputSlot& input, const jack_midi_event_t& event, const ThruTarget* targets, int count);
    void passParsed(InputSlot& input, jack_nframes_t frame, const ThruTarget* targets, int count);
    void queueThru(OutputSlot& output, const ThruEvent& event, const unsigned char* bytes);
    // Places the slot's thru messages up to frame `until`;
    // lastFrame as in writeOutputs.
    void placeThru(OutputSlot& slot, void* buffer, jack_nframes_t until, jack_nframes_t& lastFrame, size_t& next);
    // A thru report for the delivery thread (frame: in this cycle).
    void reportThru(int tag, const unsigned char* bytes, uint32_t size, jack_nframes_t frame, unsigned char type,
                    bool parsed, bool refused);
    void freeRetiredThru(bool all);
    void deliverEvents();
    // The host time of a frame (never 0).
    unsigned long long hostTimeOfFrame(jack_nframes_t frame) const;
    QList<MidiEndpoint> list(unsigned long flags, MIDI_RESULT* result);
    QString portNameOf(int32_t uniqueId, unsigned long flags);
    // The client runs (the server calls process each cycle) only while it
    // has a port: idle, it costs nothing. m_mutex held.
    bool activate();
    void deactivateWhenUnused();
    jack_port_t* registerPort(const char* prefix, int slot, unsigned long flags);
    void retirePort(std::atomic<jack_port_t*>& port);
    bool waitForCycles(int cycles);

    jack_client_t* m_client;
    QString m_clientPrefix;  // our own ports' "name:" prefix
    std::array<InputSlot, SlotCount> m_inputs;
    std::array<OutputSlot, SlotCount> m_outputs;
    jack_ringbuffer_t* m_received;
    sem_t m_receivedReady;
    std::atomic<bool> m_serverGone{false};
    std::atomic<bool> m_stop{false};
    std::atomic<uint64_t> m_cycles{0};
    std::atomic<size_t> m_maxEventSize{0};
    std::atomic<uint32_t> m_overruns{0};
    std::atomic<uint64_t> m_skippedCycles{0};
    std::atomic<uint64_t> m_xruns{0};
    std::atomic<bool> m_lossPending{false};  // set by process(), said by the delivery thread
    std::atomic<ThruTable*> m_thru{nullptr};   // owned; replaced by setThruRoutes
    std::mutex m_thruMutex;                    // setThruRoutes callers, m_retiredThru
    std::vector<std::unique_ptr<ThruTable>> m_retiredThru;
    jack_nframes_t m_cycleStart = 0;        // process() only: this cycle's first frame
    bool m_thruReported = false;            // process() only: a report went to the ring
    midilib_event m_thruEvent;              // process() only
    jack_ringbuffer_t* m_thruStage = nullptr;        // process() only
    std::unique_ptr<unsigned char[]> m_thruStaged;  // process() only: ThruJoinCapacity bytes
    midilib_data m_thruData;                // process() only
    std::atomic<bool> m_active{false};          // written under m_mutex
    std::atomic<bool> m_restartCycles{false};   // set before activating: the frame time moved on
    jack_nframes_t m_nextCycleFrame = 0;  // process() only: where the next cycle should start
    bool m_cycleSeen = false;             // process() only
    std::atomic<uint32_t> m_sampleRate{0};
    mutable std::mutex m_mutex;
    std::mutex m_namesMutex;
    QHash<int32_t, QString> m_portNames;  // unique id to full port name, m_namesMutex
    std::vector<unsigned char> m_packet;  // delivery thread only
    std::thread m_delivery;
};
