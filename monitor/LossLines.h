// The monitor lines that say what the inputs lost: each call compares the
// counts with those last said and returns a line for each kind of loss
// that grew ("-- N messages lost --", "-- ALSA sequencer input overrun:
// messages were lost --", "-- JACK skipped 3 cycles: input in them may be
// lost --", "-- JACK xrun: input may be late or lost --"), each line
// beginning with its line break as the analyzer's lines do. Plain value;
// one thread at a time.
#pragma once

#include <QString>

#include "TrafficCounts.h"

class LossLines {
public:
    // The lines for what grew since the last call, empty when nothing did.
    QString since(const TrafficCounts& now);

private:
    TrafficCounts m_said;
};
