// The receivers of one source, delivered to by one service thread without
// holding the list's lock: the deliverer copies the list under the lock and
// calls the copies after releasing it, so a receiver that waits (an input
// worker's full ring) never holds up a thread that connects or
// disconnects, and no lock order can form through a receiver.
//
// Threads: add, remove and empty on any thread; deliver on the one service
// thread of this source. remove returns only once no delivery that may
// still reach the removed receiver is in progress (it waits on a condition,
// not holding the lock), so a receiver can be destroyed after it; it must
// never be called from inside a receiver.
#pragma once

#include <condition_variable>
#include <mutex>
#include <cstdint>
#include <vector>

#include "MidiService.h"

class MidiReceiverList {
public:
    void add(MidiServiceReceiver* receiver);
    // False when receiver is not in the list.
    bool remove(MidiServiceReceiver* receiver);
    bool empty() const;
    // Calls every receiver listed now with the bytes, in packets of at most
    // MaximumPacketSize.
    void deliver(const unsigned char* data, size_t length, unsigned long long hostTime, bool passedByThru = false);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_idle;
    std::vector<MidiServiceReceiver*> m_receivers;   // m_mutex
    unsigned long long m_started = 0;                // deliveries begun, m_mutex
    unsigned long long m_finished = 0;               // deliveries ended, m_mutex
    std::vector<MidiServiceReceiver*> m_delivered;   // the deliverer's copy
};
