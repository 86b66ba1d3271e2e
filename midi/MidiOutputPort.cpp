#include "MidiOutputPort.h"

MidiOutputPort::MidiOutputPort(MidiClient* client, unsigned short maximumMessageSize,
                               unsigned int portGroup, uint64_t startHostTime,
                               uint32_t startTimeOfDay)
    : Midi(client, maximumMessageSize, portGroup, startHostTime, startTimeOfDay),
      m_maximumMessageSize(maximumMessageSize)
{
}

MidiOutputPort::~MidiOutputPort()
{
    closeOutputPort();
}

QStringList MidiOutputPort::getOutputPortNameList(MIDI_RESULT* result)
{
    MIDI_RESULT listed = MIDI_RESULT_SUCCESS;
    const QList<MidiClient::Endpoint> destinations = m_client->destinations(&listed);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_destinationService && !listsEndpoint(destinations, m_destinationId)) {
        // The destination went away: show "Not Connected".
        releaseDestination();
        setDisconnected();
    }
    return rebuildNameList(destinations, listed, result);
}

unsigned int MidiOutputPort::getOutputPortCount(MIDI_RESULT* result) const
{
    setMidiResult(result, MIDI_RESULT_SUCCESS);
    return static_cast<unsigned int>(m_client->destinations(nullptr).size());
}

void MidiOutputPort::releaseDestination()
{
    if (m_destinationService) {
        m_destinationService->disconnectDestination(m_destinationId);
    }
    m_destinationService = nullptr;
    m_destinationId = InvalidPortRef;
}

MIDI_RESULT MidiOutputPort::openOutputPort(unsigned int index)
{
    const QList<MidiClient::Endpoint> destinations = m_client->destinations(nullptr);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index >= static_cast<unsigned int>(destinations.size())) {
        return MIDI_RESULT_ERROR;
    }
    const MidiClient::Endpoint& destination = destinations.at(static_cast<int>(index));
    const int32_t id = destination.endpoint.uniqueId;
    if (destination.service->connectDestination(id) != MIDI_RESULT_SUCCESS) {
        releaseDestination();
        setDisconnected();
        return MIDI_RESULT_ERROR;
    }
    if (index >= static_cast<unsigned int>(m_portNameList.size())) {
        destination.service->disconnectDestination(id);
        releaseDestination();
        setDisconnected();
        return MIDI_RESULT_ERROR;
    }
    releaseDestination();
    m_destinationService = destination.service;
    m_destinationId = id;
    m_isBluetooth = destination.endpoint.portName == QLatin1String(BluetoothDevicePropertyName);
    if (!m_stopwatch) {
        m_stopwatch = std::make_unique<QElapsedTimer>();
        m_stopwatch->start();
    }
    setConnected(static_cast<int32_t>(index), id);
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
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_destinationService) {
        releaseDestination();
        setDisconnected();
        return MIDI_RESULT_SUCCESS;
    }
    m_isBluetooth = false;
    m_stopwatch.reset();
    return MIDI_RESULT_ERROR;
}

MIDI_RESULT MidiOutputPort::transmitMidi(const unsigned char* data, unsigned short length,
                                         unsigned int& timeStamp, unsigned long long)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_portIndex == InvalidPortIndex || !m_destinationService) {
        return MIDI_RESULT_ERROR;
    }
    if (!data || length == 0 || length > m_maximumMessageSize) {
        return MIDI_RESULT_ERROR;
    }
    // Every packet is delivered at once: a received packet's host time
    // passed for MIDI thru lies in the past already.
    timeStamp = getTimeStamp();
    const MIDI_RESULT result = m_destinationService->send(m_destinationId, data, length);
    if (result == MIDI_RESULT_SUCCESS && m_isBluetooth && m_stopwatch) {
        paceBluetooth(length);
    }
    return result;
}

void MidiOutputPort::paceBluetooth(unsigned short length)
{
    // Three bytes per millisecond; spun, not slept, because sleeps overshoot.
    const qint64 start = m_stopwatch->nsecsElapsed();
    const double wait = length / 3.0 + 0.03;
    while ((m_stopwatch->nsecsElapsed() - start) / 1e6 < wait) {
    }
}

bool MidiOutputPort::isBluetooth() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_isBluetooth;
}
