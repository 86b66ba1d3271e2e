#include "MidiInputPort.h"

#include "MidiTime.h"

MidiInputPort::MidiInputPort(MidiClient* client, uint32_t maximumMessageSize,
                             unsigned int portGroup, uint64_t startHostTime,
                             uint32_t startTimeOfDay)
    : Midi(client, maximumMessageSize, portGroup, startHostTime, startTimeOfDay),
      m_worker(std::make_unique<MidiDataTransmissionThread>(
          nullptr, static_cast<unsigned short>(m_packetBufferSize), portGroup))
{
}

MidiInputPort::~MidiInputPort()
{
    closeInputPort();
    m_worker.reset();
}

QStringList MidiInputPort::getInputPortNameList(MIDI_RESULT* result)
{
    MIDI_RESULT listed = MIDI_RESULT_SUCCESS;
    const QList<MidiClient::Endpoint> sources = m_client->sources(&listed);
    if (m_portIndex != InvalidPortIndex && !listsEndpoint(sources, m_portUniqueId)) {
        closeInputPort();  // the source went away: show "Not Connected"
    }
    return rebuildNameList(sources, listed, result);
}

unsigned int MidiInputPort::getInputPortCount(MIDI_RESULT* result) const
{
    setMidiResult(result, MIDI_RESULT_SUCCESS);
    return static_cast<unsigned int>(m_client->sources(nullptr).size());
}

void MidiInputPort::detach()
{
    if (m_connectedService) {
        m_serviceDroppedBefore += m_connectedService->droppedFrom(m_portUniqueId) - m_serviceDroppedAtConnect;
        m_connectedService->disconnectSource(m_portUniqueId, this);
        m_connectedService = nullptr;
    }
}

uint64_t MidiInputPort::droppedPackets() const
{
    uint64_t dropped = m_serviceDroppedBefore + (m_worker ? m_worker->droppedPackets() : 0);
    if (m_connectedService) {
        dropped += m_connectedService->droppedFrom(m_portUniqueId) - m_serviceDroppedAtConnect;
    }
    return dropped;
}

MIDI_RESULT MidiInputPort::openInputPort(unsigned int index)
{
    if (m_portIndex != InvalidPortIndex) {
        closeInputPort();
    }
    const QList<MidiClient::Endpoint> sources = m_client->sources(nullptr);
    if (index >= static_cast<unsigned int>(sources.size())) {
        setDisconnected();
        return MIDI_RESULT_ERROR;
    }
    const MidiClient::Endpoint& source = sources.at(static_cast<int>(index));
    if (source.service->connectSource(source.endpoint.uniqueId, this) != MIDI_RESULT_SUCCESS) {
        setDisconnected();
        return MIDI_RESULT_ERROR;
    }
    if (index >= static_cast<unsigned int>(m_portNameList.size())) {
        source.service->disconnectSource(source.endpoint.uniqueId, this);
        setDisconnected();
        return MIDI_RESULT_ERROR;
    }
    m_connectedService = source.service;
    m_serviceDroppedAtConnect = source.service->droppedFrom(source.endpoint.uniqueId);
    setConnected(static_cast<int32_t>(index), source.endpoint.uniqueId);
    return MIDI_RESULT_SUCCESS;
}

MIDI_RESULT MidiInputPort::openInputPort(const QString& name)
{
    getInputPortNameList(nullptr);
    const int index = indexOfName(name);
    if (index < 0) {
        return MIDI_RESULT_ERROR;
    }
    return openInputPort(static_cast<unsigned int>(index));
}

MIDI_RESULT MidiInputPort::closeInputPort()
{
    if (m_portIndex == InvalidPortIndex) {
        return MIDI_RESULT_ERROR;
    }
    MIDI_RESULT result = MIDI_RESULT_ERROR;
    for (const MidiClient::Endpoint& source : m_client->sources(nullptr)) {
        if (source.endpoint.uniqueId == m_portUniqueId && source.service == m_connectedService) {
            m_serviceDroppedBefore += source.service->droppedFrom(m_portUniqueId) - m_serviceDroppedAtConnect;
            result = source.service->disconnectSource(m_portUniqueId, this);
            m_connectedService = nullptr;
            break;
        }
    }
    // A source that vanished is no longer listed, but its service may still
    // hold this receiver: let go of it in every case.
    detach();
    setDisconnected();
    return result;
}

void MidiInputPort::setReceivedMidiCallbackFunc(MidiReceivedCallback callback, void* context)
{
    m_worker->setReceivedMidiCallbackFunc(callback, context);
}

void MidiInputPort::receivedPacket(const unsigned char* data, unsigned short length,
                                   unsigned long long hostTime, bool passedByThru)
{
    const uint64_t packetMilliseconds =
        hostTime != 0 ? hostTime / 1000000u : getHostTimeInMilliseconds();
    m_worker->writeData(data, length, timeStampAt(packetMilliseconds), hostTime, passedByThru);
}
