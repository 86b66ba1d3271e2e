// The one way out for every window and sending thread: send these bytes of
// this type to output group 1, 2 or both, with or without the bulk interval,
// now or at a host time chosen ahead. The application implements it and
// hands it to each window and thread when it creates them; nothing below the
// application reaches the main window.
//
// Threads: send from any thread, several at once (the user interface, the
// editors' and generators' sending threads, MIDI thru on the input workers).
// An implementation holds no lock of its own across the ports' sends, so a
// send that waits for a slow port holds up only its own caller.
#pragma once

#include "MidiCommon.h"

class MidiSender {
public:
    // "Now": the port sends at once and the service stamps the event with
    // the moment it leaves.
    static constexpr unsigned long long SendNow = 0;

    virtual ~MidiSender() = default;

    // Sends one complete message (length 1..MaximumMessageSize) of eventType
    // (a midilib event type, or 20 for bytes sent unparsed) to group, waiting
    // out the bulk interval around system exclusive unless skipBulkInterval,
    // and reports what left to the Out monitor. hostTime is CLOCK_MONOTONIC
    // in nanoseconds, SendNow for at once; a time ahead is kept by services
    // that can schedule (JACK, ALSA), a time past means at once. True when at
    // least one port sent it.
    virtual bool send(const unsigned char* bytes, uint32_t length, unsigned char eventType,
                      OutputPortGroup group, bool skipBulkInterval,
                      unsigned long long hostTime = SendNow) = 0;

    // The longest message every connected output of group takes whole
    // (a JACK port: one event in its buffer); MaximumMessageSize when none
    // limits it. Any thread.
    virtual uint32_t largestMessage(OutputPortGroup group) const
    {
        (void)group;
        return MaximumMessageSize;
    }

    // True while the application rebuilds its windows (a project opening):
    // values restored into a window then must not be sent. User-interface
    // thread.
    virtual bool isRestoringWindows() const = 0;

protected:
    MidiSender() = default;
    MidiSender(const MidiSender&) = default;
    MidiSender& operator=(const MidiSender&) = default;
};
