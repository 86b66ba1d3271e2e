// What the inputs received and lost, counted since the program started:
// messages per input; what each input lost (its worker's ring, and what the
// MIDI service dropped for its source); what the service dropped without
// knowing the input; and the service's own reports, which stand for an
// unknown number of messages: the sequencer's input overruns, JACK cycles
// that were skipped, JACK xruns. Plain values; any thread.
#pragma once

#include <cstdint>

struct TrafficCounts {
    uint64_t messages[2] = {0, 0};
    uint64_t lost[2] = {0, 0};
    uint64_t lostOnArrival = 0;
    uint64_t overruns = 0;
    uint64_t skippedCycles = 0;
    uint64_t xruns = 0;

    uint64_t totalLost() const { return lost[0] + lost[1] + lostOnArrival; }
};
