// Decides where MIDI thru runs. An input whose source and the output of its
// group are endpoints of one service that passes thru itself (JACK: in the
// cycle the message came in, at its own frame) is passed there, with the
// analyzer's filter; any other input is passed on the analyzer's path. Each
// received packet says whether the service passed it (the analyzer then
// does not), so a route set up or taken back while messages are on their
// way passes each of them once. What the service passed or refused comes
// back to the analyzer: the Out monitor's line, or the In monitor's line
// for a refusal.
//
// Threads: update on the user-interface thread, after every port or thru
// setting change (it publishes only what changed, and never waits for a
// service's thread); reported on a service's delivery thread, which only
// hands the report to the analyzer (it locks for its own short work). The
// destructor takes every route back and waits for a report in progress.
#pragma once

#include <atomic>
#include <vector>

#include "MidiService.h"

class MidiAnalyzer;
class MidiClient;
class MidiInputPort;
class MidiOutputPort;

class ThruRouter {
public:
    // The client, the ports of groups 1 and 2 and the analyzer outlive the router.
    ThruRouter(MidiClient& client, MidiInputPort* const (&inputs)[2], MidiOutputPort* const (&outputs)[2],
               MidiAnalyzer& analyzer);
    ~ThruRouter();

    ThruRouter(const ThruRouter&) = delete;
    ThruRouter& operator=(const ThruRouter&) = delete;

    void update();
    // True when the service passes group's thru (tests and measurements).
    bool passedByService(unsigned int group) const { return m_byService[group]; }
    // Messages the services passed and refused since the router began (any thread).
    uint64_t passedMessages() const { return m_passed.load(std::memory_order_relaxed); }
    uint64_t refusedMessages() const { return m_refused.load(std::memory_order_relaxed); }

private:
    void listen();
    void reported(const ThruReport& report);

    MidiClient& m_client;
    MidiInputPort* m_inputs[2];
    MidiOutputPort* m_outputs[2];
    MidiAnalyzer& m_analyzer;
    std::vector<MidiService*> m_services;
    std::vector<std::vector<ThruRoute>> m_published;  // per service, what it was given last
    bool m_listening = false;
    bool m_byService[2] = {false, false};
    std::atomic<uint64_t> m_passed{0};
    std::atomic<uint64_t> m_refused{0};
};
