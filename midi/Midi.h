// The common base of the input and output ports: the connected endpoint's
// index, id and name, the last listed names, the port group and the time
// origin all ports share. Not copyable; only the destructor is virtual.
#pragma once

#include <QString>
#include <QStringList>

#include "MidiClient.h"
#include "MidiCommon.h"

class Midi {
public:
    // startHostTime and startTimeOfDay are taken once at start-up for all
    // ports, so that every time stamp shares one origin.
    Midi(MidiClient* client, uint32_t maximumMessageSize, unsigned int portGroup,
         uint64_t startHostTime, uint32_t startTimeOfDay);
    virtual ~Midi();

    Midi(const Midi&) = delete;
    Midi& operator=(const Midi&) = delete;

    // The connected endpoint's name, or "Not Connected"; returns 0.
    int getCurrentPortName(QString& name) const;
    // Now, as milliseconds since local midnight on the shared origin.
    unsigned int getTimeStamp() const;
    // The same for a host time in nanoseconds.
    unsigned int timeStampOf(uint64_t hostNanoseconds) const { return timeStampAt(hostNanoseconds / 1000000u); }

    int32_t portIndex() const { return m_portIndex; }
    int32_t portUniqueId() const { return m_portUniqueId; }
    unsigned int portGroup() const { return m_portGroup; }
    QStringList portNameList() const { return m_portNameList; }

protected:
    // Rebuilds portNameList from endpoints (empty on error). A port whose
    // endpoint is no longer listed is closed by the caller first.
    QStringList rebuildNameList(const QList<MidiClient::Endpoint>& endpoints, MIDI_RESULT result,
                                MIDI_RESULT* out);
    static bool listsEndpoint(const QList<MidiClient::Endpoint>& endpoints, int32_t uniqueId);
    void setConnected(int32_t index, int32_t uniqueId);
    void setDisconnected();
    // The index of the first listed name equal to name, or -1.
    int indexOfName(const QString& name) const;
    unsigned int timeStampAt(uint64_t hostMilliseconds) const;

    MidiClient* m_client;
    uint32_t m_packetBufferSize;
    int32_t m_portIndex = InvalidPortIndex;
    int32_t m_portUniqueId = InvalidPortId;
    QString m_currentPortName;
    QStringList m_portNameList;
    unsigned int m_portGroup;
    uint64_t m_startHostTime;
    uint32_t m_startTimeOfDay;
};
