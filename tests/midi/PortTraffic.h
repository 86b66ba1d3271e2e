// What the port tests send through real services: notes, controllers,
// pitch bend, song position and real-time messages, a burst of 1000
// controller messages and a 16384-byte system exclusive.
#pragma once

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "MidiOutputPort.h"

namespace port_traffic {

using Bytes = std::vector<unsigned char>;

inline Bytes systemExclusive(size_t size)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; i++) {
        bytes[i] = static_cast<unsigned char>((i * 5) % 128);
    }
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

inline std::vector<Bytes> traffic()
{
    std::vector<Bytes> messages = {{0x90, 0x3C, 0x64}, {0x80, 0x3C, 0x00}, {0xB3, 0x07, 0x50},
                                   {0xE1, 0x00, 0x40}, {0xF2, 0x10, 0x02}, {0xFA}};
    for (int i = 0; i < 1000; i++) {
        messages.push_back({static_cast<unsigned char>(0xB0 | (i % 16)),
                            static_cast<unsigned char>(i % 120), static_cast<unsigned char>(i % 128)});
    }
    messages.push_back(systemExclusive(16384));
    messages.push_back({0xFC});
    return messages;
}

inline Bytes joined(const std::vector<Bytes>& messages)
{
    Bytes all;
    for (const Bytes& message : messages) {
        all.insert(all.end(), message.begin(), message.end());
    }
    return all;
}

// Sends every message; false at the first the port refuses.
inline bool transmitAll(MidiOutputPort& port, const std::vector<Bytes>& messages)
{
    for (const Bytes& message : messages) {
        unsigned int stamp = 0;
        if (port.transmitMidi(message.data(), static_cast<uint32_t>(message.size()), stamp, 0) !=
            MIDI_RESULT_SUCCESS) {
            return false;
        }
    }
    return true;
}

// Polls done until it holds: every 2 ms, 5000 times at most (a generous limit).
inline bool waitUntil(const std::function<bool()>& done)
{
    for (int poll = 0; poll < 5000; poll++) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

}  // namespace port_traffic
