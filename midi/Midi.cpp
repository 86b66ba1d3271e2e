#include "Midi.h"

#include "MidiTime.h"

Midi::Midi(MidiClient* client, uint32_t maximumMessageSize, unsigned int portGroup,
           uint64_t startHostTime, uint32_t startTimeOfDay)
    : m_client(client),
      m_packetBufferSize(maximumMessageSize + TimeStampDataSize + 10),
      m_currentPortName(QString::fromLatin1(NoAssign)),
      m_portGroup(portGroup),
      m_startHostTime(startHostTime),
      m_startTimeOfDay(startTimeOfDay)
{
}

Midi::~Midi() = default;

int Midi::getCurrentPortName(QString& name) const
{
    name = (m_portIndex == InvalidPortIndex) ? QString::fromLatin1(NoAssign) : m_currentPortName;
    return 0;
}

unsigned int Midi::getTimeStamp() const
{
    return timeStampAt(getHostTimeInMilliseconds());
}

unsigned int Midi::timeStampAt(uint64_t hostMilliseconds) const
{
    return timeStampFromHostTime(hostMilliseconds, m_startHostTime, m_startTimeOfDay);
}

QStringList Midi::rebuildNameList(const QList<MidiClient::Endpoint>& endpoints, MIDI_RESULT result,
                                  MIDI_RESULT* out)
{
    m_portNameList.clear();
    if (result == MIDI_RESULT_SUCCESS) {
        for (const MidiClient::Endpoint& endpoint : endpoints) {
            m_portNameList.append(endpoint.endpoint.name);
        }
    }
    setMidiResult(out, result);
    return m_portNameList;
}

bool Midi::listsEndpoint(const QList<MidiClient::Endpoint>& endpoints, int32_t uniqueId)
{
    for (const MidiClient::Endpoint& endpoint : endpoints) {
        if (endpoint.endpoint.uniqueId == uniqueId) {
            return true;
        }
    }
    return false;
}

void Midi::setConnected(int32_t index, int32_t uniqueId)
{
    m_currentPortName = m_portNameList.at(index);
    m_portIndex = index;
    m_portUniqueId = uniqueId;
}

void Midi::setDisconnected()
{
    m_portIndex = InvalidPortIndex;
    m_portUniqueId = InvalidPortId;
    m_currentPortName = QString::fromLatin1(NoAssign);
}

int Midi::indexOfName(const QString& name) const
{
    return static_cast<int>(m_portNameList.indexOf(name));
}
