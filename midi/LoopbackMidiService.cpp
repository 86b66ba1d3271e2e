#include "LoopbackMidiService.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "MidiReceiverList.h"
#include "MidiTime.h"

class LoopbackMidiService::Endpoint {
public:
    Endpoint(const QString& name, int32_t id) : m_endpoint{name, name, id}
    {
        m_thread = std::thread([this] { deliver(); });
    }

    ~Endpoint()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_quit = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

    const MidiEndpoint& endpoint() const { return m_endpoint; }

    void connect(MidiServiceReceiver* receiver) { m_receivers.add(receiver); }

    bool disconnect(MidiServiceReceiver* receiver) { return m_receivers.remove(receiver); }

    // False when the queue stayed full for SendTimeout: the receiving side
    // is stuck (a MIDI thru loop back into itself, say) and waiting longer
    // would freeze the sender.
    bool send(const unsigned char* data, uint32_t length, unsigned long long hostTime)
    {
        const unsigned long long now = getHostTimeInNanoseconds();
        const unsigned long long due =
            std::clamp(hostTime, now, now + MidiService::LongestSchedule);
        Packet packet{std::vector<unsigned char>(data, data + length), due};
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_changed.wait_for(lock, SendTimeout,
                                [&] { return m_quit || m_queuedBytes < QueueLimit; })) {
            return false;
        }
        m_queuedBytes += length + LoopbackMidiService::PacketOverhead;
        m_queue.push_back(std::move(packet));
        m_changed.notify_all();
        return true;
    }

private:
    struct Packet {
        std::vector<unsigned char> bytes;
        unsigned long long hostTime;
    };

    void deliver()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [&] { return m_quit || !m_queue.empty(); });
            if (m_quit) {
                return;
            }
            // steady_clock is CLOCK_MONOTONIC: an absolute deadline on the host clock.
            const std::chrono::steady_clock::time_point due{
                std::chrono::nanoseconds(m_queue.front().hostTime)};
            if (m_changed.wait_until(lock, due, [&] { return m_quit.load(); })) {
                return;
            }
            const Packet packet = std::move(m_queue.front());
            m_queue.pop_front();
            m_queuedBytes -= packet.bytes.size() + LoopbackMidiService::PacketOverhead;
            m_changed.notify_all();
            lock.unlock();
            m_receivers.deliver(packet.bytes.data(), packet.bytes.size(), packet.hostTime);
            lock.lock();
        }
    }

    static constexpr std::chrono::milliseconds SendTimeout{1000};

    MidiEndpoint m_endpoint;
    std::mutex m_mutex;  // the queue and the quit flag
    std::condition_variable m_changed;
    std::deque<Packet> m_queue;
    size_t m_queuedBytes = 0;
    MidiReceiverList m_receivers;
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

LoopbackMidiService::LoopbackMidiService() : LoopbackMidiService(defaultNames()) {}

LoopbackMidiService::LoopbackMidiService(const QStringList& names)
{
    for (int i = 0; i < names.size(); i++) {
        const int occurrence = static_cast<int>(names.mid(0, i).count(names.at(i)));
        m_endpoints.push_back(std::make_unique<Endpoint>(
            names.at(i), makeUniqueId(serviceName(), names.at(i), occurrence)));
    }
}

LoopbackMidiService::~LoopbackMidiService() = default;

QStringList LoopbackMidiService::defaultNames()
{
    return {QStringLiteral("Ostrel Loopback 1"), QStringLiteral("Ostrel Loopback 2")};
}

QString LoopbackMidiService::serviceName() const
{
    return QStringLiteral("Loopback");
}

QList<MidiEndpoint> LoopbackMidiService::sources(MIDI_RESULT* result)
{
    QList<MidiEndpoint> endpoints;
    for (const auto& endpoint : m_endpoints) {
        endpoints.append(endpoint->endpoint());
    }
    setMidiResult(result, MIDI_RESULT_SUCCESS);
    return endpoints;
}

QList<MidiEndpoint> LoopbackMidiService::destinations(MIDI_RESULT* result)
{
    return sources(result);
}

LoopbackMidiService::Endpoint* LoopbackMidiService::find(int32_t uniqueId) const
{
    for (const auto& endpoint : m_endpoints) {
        if (endpoint->endpoint().uniqueId == uniqueId) {
            return endpoint.get();
        }
    }
    return nullptr;
}

MIDI_RESULT LoopbackMidiService::connectSource(int32_t uniqueId, MidiServiceReceiver* receiver)
{
    Endpoint* endpoint = find(uniqueId);
    if (!endpoint || !receiver) {
        return MIDI_RESULT_ERROR;
    }
    endpoint->connect(receiver);
    return MIDI_RESULT_SUCCESS;
}

MIDI_RESULT LoopbackMidiService::disconnectSource(int32_t uniqueId, MidiServiceReceiver* receiver)
{
    Endpoint* endpoint = find(uniqueId);
    return (endpoint && endpoint->disconnect(receiver)) ? MIDI_RESULT_SUCCESS : MIDI_RESULT_ERROR;
}

MIDI_RESULT LoopbackMidiService::connectDestination(int32_t uniqueId)
{
    return find(uniqueId) ? MIDI_RESULT_SUCCESS : MIDI_RESULT_ERROR;
}

void LoopbackMidiService::disconnectDestination(int32_t) {}

MIDI_RESULT LoopbackMidiService::send(int32_t uniqueId, const unsigned char* data,
                                      uint32_t length, unsigned long long hostTime)
{
    Endpoint* endpoint = find(uniqueId);
    if (!endpoint || length == 0) {
        return MIDI_RESULT_ERROR;
    }
    return endpoint->send(data, length, hostTime) ? MIDI_RESULT_SUCCESS : MIDI_RESULT_ERROR;
}
