// The application's one client of the host MIDI service: the system service
// chosen once at start-up (ALSA, else a running JACK server, else none) and
// the built-in loopback, whose endpoints follow the system's in every list.
// Created before the ports and destroyed after them. Listing may be called
// from any thread; services lock their own tables. The system service is
// opened on a thread of its own from construction on; the first call that
// needs the services waits for it (once, on whichever thread calls first).
#pragma once

#include <QList>
#include <QString>

#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include "MidiService.h"

enum class MidiApi {
    Automatic,  // ALSA when /dev/snd/seq opens, else JACK when a server runs
    Alsa,
    Jack,
};

class MidiClient {
public:
    // The service a --midi-api value names ("alsa" or "jack"); false for any other.
    static bool apiNamed(const QString& name, MidiApi& api);

    struct Endpoint {
        MidiService* service = nullptr;
        MidiEndpoint endpoint;
    };

    explicit MidiClient(MidiApi api = MidiApi::Automatic);
    // The given services in list order (tests and tools).
    explicit MidiClient(std::vector<std::unique_ptr<MidiService>> services);
    // Summed over the services (see MidiService): received messages dropped
    // without a known source, input overruns, skipped cycles and xruns.
    uint64_t droppedOnArrival() const { return sum(&MidiService::droppedOnArrival); }
    uint64_t inputOverruns() const { return sum(&MidiService::inputOverruns); }
    uint64_t skippedCycles() const { return sum(&MidiService::skippedCycles); }
    uint64_t xruns() const { return sum(&MidiService::xruns); }
    // Every service's flushOutput (see MidiService), each given timeoutMs.
    bool flushOutput(int timeoutMs) const;
    // Every service's loss listener (see MidiService).
    void setLossListener(const std::function<void()>& listener);
    ~MidiClient();

    MidiClient(const MidiClient&) = delete;
    MidiClient& operator=(const MidiClient&) = delete;

    // The services, system first.
    std::vector<MidiService*> services() const;

    // "ALSA", "JACK", or empty when only the loopback is there.
    QString systemServiceName() const;

    // Every service's endpoints, system first. Error (and what could be
    // listed) when a service could not be asked.
    QList<Endpoint> sources(MIDI_RESULT* result) const;
    QList<Endpoint> destinations(MIDI_RESULT* result) const;

private:
    // Waits for the system service and puts it first (once).
    void ready() const;
    uint64_t sum(uint64_t (MidiService::*count)() const) const;
    QList<Endpoint> collect(bool sources, MIDI_RESULT* result) const;

    mutable std::future<std::unique_ptr<MidiService>> m_system;
    mutable std::once_flag m_readyOnce;
    // Complete once ready() returned.
    mutable std::vector<std::unique_ptr<MidiService>> m_services;
    mutable QString m_systemServiceName;
};
