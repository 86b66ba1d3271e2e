// A sending interface for tests that only need to see what a window, a
// thread or the analyzer sends: it records every message (any thread) and
// answers true, or what the optional hook answers.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "MidiSender.h"

class RecordingSender : public MidiSender {
public:
    struct Sent {
        std::vector<unsigned char> bytes;
        unsigned char type;
        OutputPortGroup group;
        bool skipBulkInterval;
        unsigned long long hostTime;
    };

    // Called after recording, on the sending thread; its answer is send's.
    std::function<bool(const Sent&)> hook;
    bool restoring = false;
    uint32_t largest = MaximumMessageSize;  // what largestMessage answers

    bool send(const unsigned char* bytes, uint32_t length, unsigned char eventType,
              OutputPortGroup group, bool skipBulkInterval, unsigned long long hostTime) override
    {
        Sent sent{std::vector<unsigned char>(bytes, bytes + length), eventType, group,
                  skipBulkInterval, hostTime};
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_sent.push_back(sent);
        }
        return hook ? hook(sent) : true;
    }
    bool isRestoringWindows() const override { return restoring; }
    uint32_t largestMessage(OutputPortGroup) const override { return largest; }

    std::vector<Sent> sent() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sent;
    }
    size_t count() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sent.size();
    }
    void clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sent.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Sent> m_sent;
};
