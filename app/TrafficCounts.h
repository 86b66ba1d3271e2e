// What the inputs received and lost, counted since the program started:
// messages per input, what each input's worker ring refused, and what the
// MIDI service dropped on arrival (not per input: its ring or the
// sequencer's overruns). Plain values; any thread.
#pragma once

#include <cstdint>

struct TrafficCounts {
    uint64_t messages[2] = {0, 0};
    uint64_t lost[2] = {0, 0};
    uint64_t lostOnArrival = 0;

    uint64_t totalLost() const { return lost[0] + lost[1] + lostOnArrival; }
};
