// Collects what an input port's worker delivers, for the port tests.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "MidiInputPort.h"

class PacketCollector {
public:
    struct Packet {
        std::vector<unsigned char> bytes;
        unsigned int timeStamp;
        unsigned long long hostTime;
        unsigned int portGroup;
        bool operator==(const Packet& other) const
        {
            return bytes == other.bytes && timeStamp == other.timeStamp && hostTime == other.hostTime &&
                   portGroup == other.portGroup;
        }
    };

    void attach(MidiInputPort& port) { port.setReceivedMidiCallbackFunc(&callback, this); }

    static void callback(void* context, const unsigned char* data, unsigned short length,
                         unsigned int timeStamp, unsigned long long hostTime,
                         unsigned int portGroup)
    {
        auto* self = static_cast<PacketCollector*>(context);
        self->entered++;
        if (self->delay.count() > 0) {
            std::this_thread::sleep_for(self->delay);  // a slow receiver
        }
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_packets.push_back(
            {std::vector<unsigned char>(data, data + length), timeStamp, hostTime, portGroup});
        self->m_bytes.insert(self->m_bytes.end(), data, data + length);
        self->m_changed.notify_all();
    }

    // Waits until at least count bytes arrived in all (10 s at most).
    bool waitForBytes(size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return m_bytes.size() >= count; });
    }

    // Waits until at least count packets arrived (20 s at most).
    bool waitForPackets(size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_packets.size() >= count; });
    }

    std::vector<unsigned char> bytes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bytes;
    }

    std::vector<Packet> packets()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_packets;
    }

    void clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_packets.clear();
        m_bytes.clear();
    }

    std::chrono::milliseconds delay{0};
    std::atomic<int> entered{0};

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Packet> m_packets;
    std::vector<unsigned char> m_bytes;
};
