#include "MidiSendPath.h"

#include <algorithm>

#include "MidiAnalyzer.h"
#include "MidiBulkIntervalManager.h"
#include "MidiOutputPort.h"

MidiSendPath::MidiSendPath(MidiOutputPort* first, MidiOutputPort* second, MidiAnalyzer* analyzer,
                           MidiBulkIntervalManager* bulkIntervalManager)
    : m_ports{first, second}, m_analyzer(analyzer), m_bulkIntervalManager(bulkIntervalManager)
{
}

uint32_t MidiSendPath::largestMessage(OutputPortGroup group) const
{
    uint32_t largest = MaximumMessageSize;
    for (unsigned int port = 0; port < 2; port++) {
        if (group == OutputPortGroup_Both || group == static_cast<OutputPortGroup>(port)) {
            largest = std::min(largest, m_ports[port]->largestMessage());
        }
    }
    return largest;
}

bool MidiSendPath::send(const unsigned char* bytes, uint32_t length, unsigned char eventType,
                        OutputPortGroup group, bool skipBulkInterval, unsigned long long hostTime)
{
    if (!bytes || length == 0 || group > OutputPortGroup_Both) {
        return false;
    }
    if (!skipBulkInterval) {
        m_bulkIntervalManager->waitBulkBeforeTransmission(bytes, length);
    }
    bool sent = false;
    for (unsigned int port = 0; port < 2; port++) {
        if (group != OutputPortGroup_Both && group != static_cast<OutputPortGroup>(port)) {
            continue;
        }
        unsigned int timeStamp = 0;
        if (m_ports[port]->transmitMidi(bytes, length, timeStamp, hostTime) == MIDI_RESULT_SUCCESS) {
            m_analyzer->setTransmittedMidiData(bytes, length, timeStamp, eventType,
                                               static_cast<OutputPortGroup>(port));
            sent = true;
        }
    }
    if (!skipBulkInterval) {
        m_bulkIntervalManager->waitBulkAfterTransmission(bytes, length);
    }
    return sent;
}
