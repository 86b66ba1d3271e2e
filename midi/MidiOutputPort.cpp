#include "MidiOutputPort.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "MidiTime.h"

MidiOutputPort::MidiOutputPort(MidiClient* client, uint32_t maximumMessageSize,
                               unsigned int portGroup, uint64_t startHostTime,
                               uint32_t startTimeOfDay)
    : Midi(client, maximumMessageSize, portGroup, startHostTime, startTimeOfDay),
      m_maximumMessageSize(maximumMessageSize)
{
}

MidiOutputPort::~MidiOutputPort()
{
    closeOutputPort();
    std::vector<Destination> retired;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_sendsEnded.wait(lock, [this] { return m_sending == 0; });
        retired = takeRetired();
    }
    disconnect(retired);
}

QStringList MidiOutputPort::getOutputPortNameList(MIDI_RESULT* result)
{
    MIDI_RESULT listed = MIDI_RESULT_SUCCESS;
    const QList<MidiClient::Endpoint> destinations = m_client->destinations(&listed);
    Destination gone;
    std::vector<Destination> retired;
    QStringList names;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_destinationService && !listsEndpoint(destinations, m_destinationId)) {
            // The destination went away: show "Not Connected".
            gone = takeDestination(lock);
            setDisconnected();
        }
        names = rebuildNameList(destinations, listed, result);
        retired = takeRetired();
    }
    disconnect(gone);
    disconnect(retired);
    return names;
}

unsigned int MidiOutputPort::getOutputPortCount(MIDI_RESULT* result) const
{
    setMidiResult(result, MIDI_RESULT_SUCCESS);
    return static_cast<unsigned int>(m_client->destinations(nullptr).size());
}

MidiOutputPort::Destination MidiOutputPort::takeDestination(std::unique_lock<std::mutex>&)
{
    const Destination taken{m_destinationService, m_destinationId};
    m_destinationService = nullptr;
    m_destinationId = InvalidPortRef;
    if (taken.service) {
        m_letGo++;
        m_paceEnded.notify_all();
    }
    if (m_sending == 0 || !taken.service) {
        return taken;
    }
    m_retired.push_back(taken);
    return Destination();
}

std::vector<MidiOutputPort::Destination> MidiOutputPort::takeRetired()
{
    return m_sending == 0 ? std::exchange(m_retired, {}) : std::vector<Destination>();
}

void MidiOutputPort::disconnect(const Destination& destination)
{
    if (destination.service) {
        destination.service->disconnectDestination(destination.id);
    }
}

void MidiOutputPort::disconnect(const std::vector<Destination>& destinations)
{
    for (const Destination& destination : destinations) {
        disconnect(destination);
    }
}

MIDI_RESULT MidiOutputPort::openOutputPort(unsigned int index)
{
    const QList<MidiClient::Endpoint> destinations = m_client->destinations(nullptr);
    if (index >= static_cast<unsigned int>(destinations.size())) {
        return MIDI_RESULT_ERROR;
    }
    const MidiClient::Endpoint& destination = destinations.at(static_cast<int>(index));
    const int32_t id = destination.endpoint.uniqueId;
    // Connected before the old one goes, so a destination chosen again
    // keeps its service-side connection.
    const bool connected = destination.service->connectDestination(id) == MIDI_RESULT_SUCCESS;
    Destination previous;
    std::vector<Destination> retired;
    bool listed = false;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        previous = takeDestination(lock);
        retired = takeRetired();
        listed = index < static_cast<unsigned int>(m_portNameList.size());
        if (connected && listed) {
            m_destinationService = destination.service;
            m_destinationId = id;
            m_isBluetooth = destination.endpoint.portName == QLatin1String(BluetoothDevicePropertyName);
            if (!m_stopwatch) {
                m_stopwatch = std::make_unique<QElapsedTimer>();
                m_stopwatch->start();
            }
            setConnected(static_cast<int32_t>(index), id);
        } else {
            setDisconnected();
        }
    }
    disconnect(previous);
    disconnect(retired);
    if (!connected) {
        return MIDI_RESULT_ERROR;
    }
    if (!listed) {
        destination.service->disconnectDestination(id);
        return MIDI_RESULT_ERROR;
    }
    return MIDI_RESULT_SUCCESS;
}

MIDI_RESULT MidiOutputPort::openOutputPort(const QString& name)
{
    getOutputPortNameList(nullptr);
    int index = -1;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        index = indexOfName(name);
    }
    if (index < 0) {
        return MIDI_RESULT_ERROR;
    }
    return openOutputPort(static_cast<unsigned int>(index));
}

MIDI_RESULT MidiOutputPort::closeOutputPort()
{
    Destination previous;
    std::vector<Destination> retired;
    bool had = false;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        had = m_destinationService != nullptr;
        if (had) {
            previous = takeDestination(lock);
            setDisconnected();
        } else {
            m_isBluetooth = false;
            m_stopwatch.reset();
        }
        retired = takeRetired();
    }
    disconnect(previous);
    disconnect(retired);
    return had ? MIDI_RESULT_SUCCESS : MIDI_RESULT_ERROR;
}

MIDI_RESULT MidiOutputPort::transmitMidi(const unsigned char* data, uint32_t length,
                                         unsigned int& timeStamp, unsigned long long hostTime)
{
    Destination destination;
    bool bluetooth = false;
    uint64_t letGo = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_portIndex == InvalidPortIndex || !m_destinationService) {
            return MIDI_RESULT_ERROR;
        }
        if (!data || length == 0 || length > m_maximumMessageSize) {
            return MIDI_RESULT_ERROR;
        }
        destination = {m_destinationService, m_destinationId};
        bluetooth = m_isBluetooth && m_stopwatch;
        letGo = m_letGo;
        m_sending++;
    }
    const uint64_t nowMilliseconds = getHostTimeInMilliseconds();
    const uint64_t dueMilliseconds = hostTime / 1000000u;
    timeStamp = timeStampAt(std::max(nowMilliseconds, dueMilliseconds));
    const MIDI_RESULT result = destination.service->send(destination.id, data, length, hostTime);
    (result == MIDI_RESULT_SUCCESS ? m_accepted : m_refused).fetch_add(1, std::memory_order_relaxed);
    if (result == MIDI_RESULT_SUCCESS && bluetooth) {
        paceBluetooth(length, letGo);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (--m_sending == 0) {
            m_sendsEnded.notify_all();
        }
    }
    return result;
}

void MidiOutputPort::paceBluetooth(uint32_t length, uint64_t letGo)
{
    std::unique_lock<std::mutex> lock(m_mutex, std::defer_lock);
    // Three bytes per millisecond. Slept until a millisecond before the next
    // byte may go (a sleep can overshoot by about that much), the rest spun:
    // a 16 KiB dump costs a core for a few milliseconds, not for 5.5 s.
    using Clock = std::chrono::steady_clock;
    const auto pause = std::chrono::microseconds(uint64_t(length) * 1000 / 3 + 30);
    m_paced.fetch_add(static_cast<uint64_t>(pause.count()), std::memory_order_relaxed);
    const auto until = Clock::now() + pause;
    const auto sleepUntil = until - std::chrono::milliseconds(1);
    lock.lock();
    // Letting the destination go ends the pause: the message has left.
    if (m_paceEnded.wait_until(lock, sleepUntil, [&] { return m_letGo != letGo; })) {
        return;
    }
    lock.unlock();
    while (Clock::now() < until) {
    }
}

uint32_t MidiOutputPort::largestMessage() const
{
    Destination destination;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        destination = {m_destinationService, m_destinationId};
    }
    // The service answers from its own atomics; the destination may go meanwhile, which only makes the answer stale.
    return destination.service ? std::min(m_maximumMessageSize, destination.service->largestMessage(destination.id))
                               : m_maximumMessageSize;
}

MidiOutputPort::Destination MidiOutputPort::destination() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_destinationService, m_destinationId};
}

bool MidiOutputPort::isBluetooth() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_isBluetooth;
}
