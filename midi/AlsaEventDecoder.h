// Turns one received ALSA sequencer event into MIDI bytes. Events that are
// not MIDI (announcements, subscriptions, timers) give no bytes. Pure; any thread.
#pragma once

#include <alsa/asoundlib.h>

#include <vector>

class AlsaEventDecoder {
public:
    // Appends the event's bytes to out; a system exclusive event's bytes are
    // appended as they came (a part of a message, possibly). Returns the
    // number of bytes appended.
    static size_t decode(const snd_seq_event_t& event, std::vector<unsigned char>& out);
};
