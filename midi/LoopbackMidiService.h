// The built-in loopback: each endpoint is a destination whose bytes come
// back, unchanged and in order, from the source of the same name. Always
// present, so Ostrel works and tests without any MIDI hardware or server.
//
// Threads: each endpoint has a delivery thread that plays the host service's
// thread for its source (one per endpoint, like separate cables, so a flood
// on one never holds up the other). send() queues and returns; it waits
// only while the endpoint already holds QueueLimit bytes (each packet counted
// with PacketOverhead for its record and allocation, so a flood of one-byte
// messages is bounded as tightly as one of dumps), and gives up with
// an error after a second of that. A message sent ahead is held until its
// time (and those after it with it) and comes back stamped with that time.
// Locks: each endpoint has a queue mutex (the queue and quit), released
// while delivering and while waiting; the receivers are a MidiReceiverList,
// called without any lock held; disconnectSource waits (on a condition) for
// a delivery in progress.
#pragma once

#include <QStringList>

#include <memory>
#include <vector>

#include "MidiService.h"

class LoopbackMidiService : public MidiService {
public:
    static constexpr size_t QueueLimit = 1 << 20;
    static constexpr size_t PacketOverhead = 64;

    // Endpoints "Ostrel Loopback 1" and "Ostrel Loopback 2".
    LoopbackMidiService();
    // Endpoints with the given names, in order (names may repeat).
    explicit LoopbackMidiService(const QStringList& names);
    ~LoopbackMidiService() override;

    static QStringList defaultNames();

    QString serviceName() const override;
    QList<MidiEndpoint> sources(MIDI_RESULT* result) override;
    QList<MidiEndpoint> destinations(MIDI_RESULT* result) override;
    MIDI_RESULT connectSource(int32_t uniqueId, MidiServiceReceiver* receiver) override;
    MIDI_RESULT disconnectSource(int32_t uniqueId, MidiServiceReceiver* receiver) override;
    MIDI_RESULT connectDestination(int32_t uniqueId) override;
    void disconnectDestination(int32_t uniqueId) override;
    MIDI_RESULT send(int32_t uniqueId, const unsigned char* data, uint32_t length,
                     unsigned long long hostTime = 0) override;

private:
    class Endpoint;
    Endpoint* find(int32_t uniqueId) const;

    std::vector<std::unique_ptr<Endpoint>> m_endpoints;
};
