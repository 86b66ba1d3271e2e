// MIDI Capability Inquiry in words: the universal system exclusive messages
// F0 7E <device> 0D <sub-ID #2> <version> <source MUID> <destination MUID>
// ... F7 by name, with their fields, for a monitor line ("MIDI-CI Reply to
// Discovery, version 2, from 0123ABC to broadcast: maker 00 21 09, ...").
// MUIDs are 28-bit, shown in hexadecimal. A Property Exchange body sent in
// chunks is joined per port, source MUID and request ID and shown whole on
// the line of its last chunk (at most LargestBody bytes a request and
// MostOpenRequests requests a port; a line says what is dropped beyond).
// A message that does not hold what its kind needs is "MIDI-CI
// (malformed: why)". Not thread-safe: its owner serialises it.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

class CiDecoder {
public:
    static constexpr int LargestBody = 1 << 20;
    static constexpr int MostOpenRequests = 16;
    static constexpr uint32_t Broadcast = 0x0FFFFFFF;

    // True for a MIDI-CI message: data from F0 up to the byte before F7.
    static bool isCi(const unsigned char* data, int length);
    // Follows the message (the chunks of a body) and, when show is set,
    // appends its words to line. port 0 or 1.
    void decode(QByteArray& line, const unsigned char* data, int length, unsigned int port, bool show);
    void reset();

private:
    struct Body {
        uint32_t muid;
        int requestId;
        int total;
        int next;  // the chunk expected next
        QByteArray bytes;
        uint64_t opened;  // order of opening, for dropping the oldest
    };
    // A Property Exchange message's chunk: says on line what became of the
    // body; false with why for a chunk that cannot be one (out of order).
    bool chunk(QByteArray& line, QByteArray& why, unsigned int port, uint32_t muid, int requestId, int number,
               int total, const QByteArray& data);
    Body* find(unsigned int port, uint32_t muid, int requestId);
    void close(unsigned int port, const Body* body);

    std::vector<Body> m_open[2];
    uint64_t m_opened = 0;
};
