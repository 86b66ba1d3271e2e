// Turns the bytes of an output stream into ALSA sequencer events: complete
// channel and system messages (running status within and across calls),
// real-time bytes as events of their own wherever they appear, and system
// exclusive bytes as events of at most SysexChunk bytes. A system exclusive
// may be split across calls: the next call's data bytes continue it.
// Undefined status bytes (F4, F5, F9, FD) and stray F7 and data bytes have
// no event and are left out. One encoder per destination; not locked.
#pragma once

#include <alsa/asoundlib.h>

#include <cstddef>
#include <vector>

class AlsaEventEncoder {
public:
    static constexpr size_t SysexChunk = 256;

    // Appends the events for data. A system exclusive event's data points
    // into data: use the events before data goes away.
    void encode(const unsigned char* data, size_t length, std::vector<snd_seq_event_t>& events);
    // Forgets running status and any open system exclusive.
    void reset();

private:
    void byte(const unsigned char* data, size_t index, std::vector<snd_seq_event_t>& events);
    void status(unsigned char byte, std::vector<snd_seq_event_t>& events);
    void flushSysex(const unsigned char* data, size_t end, std::vector<snd_seq_event_t>& events);
    void emitMessage(std::vector<snd_seq_event_t>& events);

    unsigned char m_message[3] = {};
    size_t m_count = 0;     // bytes of m_message collected; 0: none open
    size_t m_expected = 0;  // length of the open message
    unsigned char m_runningStatus = 0;
    bool m_inSysex = false;
    size_t m_sysexStart = 0;  // where this call's part of the open sysex starts
};
