#include "MidiReceiverList.h"

#include <algorithm>

void MidiReceiverList::add(MidiServiceReceiver* receiver)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receivers.push_back(receiver);
}

bool MidiReceiverList::remove(MidiServiceReceiver* receiver)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto found = std::find(m_receivers.begin(), m_receivers.end(), receiver);
    if (found == m_receivers.end()) {
        return false;
    }
    m_receivers.erase(found);
    // A delivery that copied the list before the removal may still call it;
    // later ones cannot, so a flood of deliveries never keeps this waiting.
    const unsigned long long begun = m_started;
    m_idle.wait(lock, [this, begun] { return m_finished >= begun; });
    return true;
}

bool MidiReceiverList::empty() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_receivers.empty();
}

void MidiReceiverList::deliver(const unsigned char* data, size_t length, unsigned long long hostTime,
                               bool passedByThru)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_receivers.empty()) {
            return;
        }
        m_delivered.assign(m_receivers.begin(), m_receivers.end());
        m_started++;
    }
    for (MidiServiceReceiver* receiver : m_delivered) {
        for (size_t at = 0; at < length; at += MaximumPacketSize) {
            const size_t size = std::min<size_t>(MaximumPacketSize, length - at);
            receiver->receivedPacket(data + at, static_cast<unsigned short>(size), hostTime, passedByThru);
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_finished = m_started;
    }
    m_idle.notify_all();
}
