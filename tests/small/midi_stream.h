// Random valid MIDI for the property tests: messages, and streams with
// running status and real-time bytes interleaved, with the messages a correct
// parser must yield from them.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace midi_stream {

using Bytes = std::vector<uint8_t>;

inline uint8_t dataByte(std::mt19937& random)
{
    return static_cast<uint8_t>(random() & 0x7F);
}

// One complete message with every data byte below 0x80. System exclusive
// lengths go up to maxSysex bytes, F0 and F7 included.
inline Bytes randomMessage(std::mt19937& random, size_t maxSysex = 300)
{
    static const uint8_t system[] = {0xF0, 0xF1, 0xF2, 0xF3, 0xF6, 0xF8,
                                     0xFA, 0xFB, 0xFC, 0xFE, 0xFF};
    Bytes message;
    if (random() % 3 != 0) {
        const uint8_t status = static_cast<uint8_t>(0x80 + (random() % 0x70));
        message.push_back(status);
        const size_t size = (status >= 0xC0 && status < 0xE0) ? 2 : 3;
        while (message.size() < size) {
            message.push_back(dataByte(random));
        }
        return message;
    }
    const uint8_t status = system[random() % sizeof(system)];
    message.push_back(status);
    if (status == 0xF0) {
        const size_t size = 2 + random() % (maxSysex - 1);
        while (message.size() < size - 1) {
            message.push_back(dataByte(random));
        }
        message.push_back(0xF7);
    } else if (status == 0xF2) {
        message.push_back(dataByte(random));
        message.push_back(dataByte(random));
    } else if (status == 0xF1 || status == 0xF3) {
        message.push_back(dataByte(random));
    }
    return message;
}

inline bool isRealTime(uint8_t status)
{
    return status >= 0xF8;
}

struct Stream {
    Bytes bytes;
    std::vector<Bytes> expected;  // messages in the order a parser completes them
};

// Messages on the wire, using running status where the previous channel
// status allows, with real-time bytes dropped between the bytes of messages.
inline Stream randomStream(std::mt19937& random, int messages)
{
    static const uint8_t realTime[] = {0xF8, 0xFA, 0xFB, 0xFC, 0xFE, 0xFF};
    Stream stream;
    int runningStatus = -1;
    for (int i = 0; i < messages; i++) {
        const Bytes message = randomMessage(random);
        Bytes wire = message;
        if (message[0] < 0xF0) {
            if (runningStatus == message[0] && random() % 2 == 0) {
                wire.erase(wire.begin());
            }
            runningStatus = message[0];
        } else if (!isRealTime(message[0])) {
            runningStatus = -1;
        }
        std::vector<Bytes> interleaved;
        if (wire.size() > 1 && random() % 3 == 0) {
            // Before the last byte, so each one is yielded before the message.
            const uint8_t rt = realTime[random() % sizeof(realTime)];
            const size_t at = 1 + random() % (wire.size() - 1);
            wire.insert(wire.begin() + static_cast<long>(at), rt);
            interleaved.push_back(Bytes{rt});
        }
        stream.bytes.insert(stream.bytes.end(), wire.begin(), wire.end());
        stream.expected.insert(stream.expected.end(), interleaved.begin(), interleaved.end());
        stream.expected.push_back(message);
    }
    return stream;
}

}  // namespace midi_stream
