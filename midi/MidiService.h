// The host MIDI service as the port layer sees it: named endpoints with
// stable unique ids, sources connected to receivers that get time-stamped
// packets on the service's own thread, and sends to destinations.
// Implementations: ALSA sequencer, JACK, and the built-in loopback.
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <mutex>
#include <vector>

#include "MidiCommon.h"
#include "midilib_filter.h"

struct MidiEndpoint {
    QString name;      // display name, stable across restarts ("Client:Port")
    QString portName;  // the endpoint's own name, without its client
    int32_t uniqueId = InvalidPortId;
};

// MIDI thru that a service passes on its own thread: what comes from source
// goes to destination (both the service's own endpoints), filtered as the
// analyzer filters (active sensing never passes) when parsed, every packet
// as it came when not.
struct ThruRoute {
    int32_t source = InvalidPortId;
    int32_t destination = InvalidPortId;
    int tag = 0;  // comes back in each report of the route
    bool on = false;
    bool parsed = true;
    midilib_filter filter{};
};

// What such a route passed on (refused false) or could not pass: a message
// longer than the destination takes or than the cycle had room for
// (refused true; data and type then say nothing, largest is the limit).
struct ThruReport {
    int tag = 0;
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    unsigned char type = 0;  // a midilib event type when parsed
    bool parsed = true;      // false: a packet passed as it came
    unsigned long long hostTime = 0;
    bool refused = false;
    uint32_t largest = 0;
};

// Receives the packets of a connected source, on the service's thread.
class MidiServiceReceiver {
public:
    // One packet (at most MaximumPacketSize bytes): a complete message, or
    // a part of a system exclusive.
    // hostTime is the host clock (ns) when the service received it, never 0.
    // passedByThru: the service passed it through itself (see setThruRoutes).
    virtual void receivedPacket(const unsigned char* data, unsigned short length,
                                unsigned long long hostTime, bool passedByThru) = 0;

protected:
    ~MidiServiceReceiver() = default;
};

class MidiService {
public:
    virtual ~MidiService() = default;

    // "ALSA", "JACK" or "Loopback": part of every unique id.
    virtual QString serviceName() const = 0;
    // Endpoints in the service's order, never Ostrel's own. Error when the
    // service cannot be asked (the list is then empty).
    virtual QList<MidiEndpoint> sources(MIDI_RESULT* result) = 0;
    virtual QList<MidiEndpoint> destinations(MIDI_RESULT* result) = 0;
    // After connectSource succeeds the receiver gets the source's packets
    // until disconnectSource returns; a receiver may be connected to one
    // source at a time.
    virtual MIDI_RESULT connectSource(int32_t uniqueId, MidiServiceReceiver* receiver) = 0;
    virtual MIDI_RESULT disconnectSource(int32_t uniqueId, MidiServiceReceiver* receiver) = 0;
    // Counted: a destination stays connected until each connect is undone.
    virtual MIDI_RESULT connectDestination(int32_t uniqueId) = 0;
    virtual void disconnectDestination(int32_t uniqueId) = 0;
    // Sends one complete message, due at hostTime (CLOCK_MONOTONIC ns; 0 or
    // a time past: at once); error when the destination is gone or the
    // message can never pass. A service keeps the time as well as it can
    // (JACK places the event at its frame, ALSA queues it, the loopback
    // holds it) and never lets a message overtake one sent before it to the
    // same destination. Any thread.
    virtual MIDI_RESULT send(int32_t uniqueId, const unsigned char* data, uint32_t length,
                             unsigned long long hostTime = 0) = 0;
    // The longest message a send to the destination can take (JACK: one
    // event in a port buffer); MaximumMessageSize where the service has no
    // limit of its own. Any thread.
    virtual uint32_t largestMessage(int32_t uniqueId) const
    {
        (void)uniqueId;
        return MaximumMessageSize;
    }
    // Received messages the service had to drop since it started (its own
    // buffers full: a receiver that fell behind) without knowing their
    // source. Any thread.
    // Waits until every message handed to send has left for its
    // destination (a JACK ring emptied and the cycle that wrote it over, an
    // ALSA queue empty), at most timeoutMs; false when some had not. A
    // program that ends right after sending calls it before closing. Any
    // thread but the service's own.
    virtual bool flushOutput(int timeoutMs)
    {
        (void)timeoutMs;
        return true;
    }
    virtual uint64_t droppedOnArrival() const { return 0; }
    // Received messages of one source dropped since the service started,
    // where it knows the source; counted on, whoever connects. Any thread.
    virtual uint64_t droppedFrom(int32_t uniqueId) const
    {
        (void)uniqueId;
        return 0;
    }
    // Input overruns the service reported since it started: each stands for
    // an unknown number of lost messages. Any thread.
    virtual uint64_t inputOverruns() const { return 0; }
    // Whole cycles the service skipped (the frame time jumped: input in them
    // may be lost), and the xruns it reported. Any thread.
    virtual uint64_t skippedCycles() const { return 0; }
    virtual uint64_t xruns() const { return 0; }
    // Called on a service thread (never a real-time one) when a count above
    // grew, so that a monitor that sleeps while nothing happens says it;
    // it must only hand a notice on. Set from any thread; null stops it.
    void setLossListener(std::function<void()> listener);
    // Replaces every thru route; false when the service does not pass thru
    // itself (nothing changes then: the caller passes thru). A route whose
    // source or destination is not connected passes nothing. Each packet
    // received says whether a route took it (receivedPacket's
    // passedByThru), so the caller passes exactly the others, also while
    // the routes change. User-interface thread; never waits for the
    // service's thread.
    virtual bool setThruRoutes(const std::vector<ThruRoute>& routes)
    {
        (void)routes;
        return false;
    }
    // Told of every message a route passed on or refused, in the order of
    // each route, on a service thread that is not a real-time one; it must
    // only hand the report on (data lasts for the call). Set from any
    // thread; null stops it.
    void setThruListener(std::function<void(const ThruReport&)> listener);
    // How far ahead a send may be scheduled; later times are brought to this.
    static constexpr unsigned long long LongestSchedule = 1000000000ull;

    // A stable id for the occurrence-th endpoint of that name: a 32-bit
    // hash of the service and the full name, never InvalidPortId.
    static int32_t makeUniqueId(const QString& service, const QString& name, int occurrence);

protected:
    // Calls the loss listener (its mutex held for the call only).
    void lossHappened();
    // Calls the thru listener (its mutex held for the call only).
    void thruReported(const ThruReport& report);

private:
    std::mutex m_lossListenerMutex;
    std::function<void()> m_lossListener;  // m_lossListenerMutex
    std::mutex m_thruListenerMutex;
    std::function<void(const ThruReport&)> m_thruListener;  // m_thruListenerMutex
};
