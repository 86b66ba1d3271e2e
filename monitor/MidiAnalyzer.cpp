#include "MidiAnalyzer.h"

#include <algorithm>

#include "MidiNameTables.h"
#include "MidiTime.h"
#include "MidiSender.h"
#include "OstrelModel.h"

MidiAnalyzer::MidiAnalyzer(OstrelModel* model) : m_model(model)
{
    midilib_parser_init(&m_parsers[0]);
    midilib_parser_init(&m_parsers[1]);
    midilib_filter_init(&m_filter);
    midilib_tempoMeasure_init(&m_tempoMeasure);
    m_thru[0] = value(ParamMidiThru) != 0;
    m_thru[1] = value(ParamMidiThruSecond) != 0;
    m_format.showTimeStamp = value(ParamTimeStamp) != 0;
    m_format.showDetail = value(ParamMessageDetail) != 0;
    m_parsed = value(ParamMessageParsed) > 0;
    m_format.middleC = value(ParamMessageMiddleC);
    m_format.timeFormat = value(ParamMessageTimeFormat);
    m_programBase = value(ParamProgramNumberBase);
    m_monitorPort[0] = value(ParamMonitorPort1) != 0;
    m_monitorPort[1] = value(ParamMonitorPort2) != 0;
    m_model->registerModelAssistant(this);
}

MidiAnalyzer::~MidiAnalyzer()
{
    m_model->unregisterModelAssistant(this);
}

int MidiAnalyzer::value(unsigned int id) const
{
    return m_model->getModelIntValue(id, nullptr);
}

void MidiAnalyzer::setThruSender(MidiSender* sender)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_thruSender = sender;
}

ThruRoute MidiAnalyzer::thruRoute(unsigned int group) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ThruRoute route;
    route.on = group <= InputPortGroup_Second && m_thru[group];
    route.parsed = m_parsed;
    route.filter = m_filter;
    return route;
}

MidiAnalyzer::ThruBatch& MidiAnalyzer::threadThruBatch()
{
    // One per worker thread: the batch is filled under the mutex and sent
    // from after it, so no other thread may share it.
    thread_local ThruBatch batch;
    return batch;
}

void MidiAnalyzer::callbackReceivedMidi(void* context, const unsigned char* data,
                                        unsigned short length, unsigned int timeStamp,
                                        unsigned long long hostTimeStamp, unsigned int portGroup)
{
    static_cast<MidiAnalyzer*>(context)->receivedMidi(data, length, timeStamp, hostTimeStamp,
                                                      portGroup);
}

void MidiAnalyzer::receivedMidi(const unsigned char* data, unsigned short length,
                                unsigned int timeStamp, unsigned long long hostTimeStamp,
                                unsigned int portGroup)
{
    // The service passed it through itself: nothing of it goes on from here.
    const bool byService = (portGroup & PassedByServiceThru) != 0;
    portGroup &= ~PassedByServiceThru;
    if (portGroup > InputPortGroup_Second || !data || length == 0) {
        return;
    }
    ThruBatch& batch = threadThruBatch();
    batch.bytes.clear();
    batch.messages.clear();
    MidiSender* sender = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        sender = m_thruSender;
        m_packetByService = byService;
        if (m_parsed) {
            receivedParsed(data, length, timeStamp, hostTimeStamp, portGroup, batch);
        } else {
            m_receivedMessages[portGroup]++;
            passThrough(batch, data, length, MessageTypeNotParsed, portGroup, byService);
            appendMessageToBuffer(data, length, MessageTypeNotParsed, timeStamp, hostTimeStamp, portGroup);
        }
    }
    // In the order received, with the packet's own time: thru latency stays constant.
    const auto group = static_cast<OutputPortGroup>(portGroup);
    for (const ThruMessage& message : batch.messages) {
        // Only a long system exclusive can be more than an output takes.
        if (message.type == MIDILIB_Event_Type_SystemExclusive && message.length > sender->largestMessage(group)) {
            sayThruRefused(message.length, sender->largestMessage(group));
            continue;
        }
        sender->send(batch.bytes.data() + message.offset, message.length, message.type, group, true, hostTimeStamp);
    }
    wakeIfIdle();
}

bool MidiAnalyzer::markIdle()
{
    // Marked first: text added after the check below sees the mark.
    m_idle.store(true);
    std::lock_guard<std::mutex> lock(m_mutex);
    const bool empty = m_receivedText.isEmpty() && m_receivedSysExText.isEmpty() && m_transmittedText.isEmpty();
    if (!empty) {
        m_idle.store(false);
    }
    return empty;
}

void MidiAnalyzer::wakeIfIdle()
{
    if (m_idle.load(std::memory_order_relaxed) && m_idle.exchange(false) && m_wakeUp) {
        m_wakeUp();
    }
}

void MidiAnalyzer::sayThruRefused(uint32_t length, uint32_t largest)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (largest != 0) {
            m_receivedText += "\n-- MIDI thru: a system exclusive of " + QByteArray::number(length) +
                              " bytes is longer than the output takes (" + QByteArray::number(largest) +
                              " bytes); not passed on --";
        } else {
            m_receivedText += "\n-- MIDI thru: a message of " + QByteArray::number(length) +
                              " bytes found no room in the output's cycle; not passed on --";
        }
    }
    wakeIfIdle();
}

void MidiAnalyzer::receivedParsed(const unsigned char* data, unsigned short length, unsigned int timeStamp,
                                  uint64_t hostTime, unsigned int portGroup, ThruBatch& batch)
{
    midilib_parser* parser = &m_parsers[portGroup];
    midilib_parser_setData(parser, data, length);
    while (midilib_parser_parse(parser, &m_event) == 0) {
        if (m_event.part != MIDILIB_SystemExclusive_Whole) {
            receivedPiece(portGroup, timeStamp, hostTime, batch);
            continue;
        }
        if (m_event.type < MIDILIB_Event_Type_TimingClock) {
            m_long[portGroup].open = false;  // a long one was cut off: it is no message
        }
        m_receivedMessages[portGroup]++;
        if (m_event.type == MIDILIB_Event_Type_TimingClock) {
            midilib_tempoMeasure_setClockTiming(&m_tempoMeasure, uint64_t(timeStamp) * 1000u);
        }
        if (midilib_filter_apply(&m_filter, &m_event) != 0) {
            followHidden(portGroup);
            continue;
        }
        // The parser drops every message whose data bytes came from
        // undefined status bytes, so each event it yields encodes again.
        midilib_eventToData(&m_event, &m_encoded);
        const unsigned char* bytes = midilib_data_getMemory(&m_encoded);
        const auto size = static_cast<uint32_t>(midilib_data_getSize(&m_encoded));
        if (m_event.type != MIDILIB_Event_Type_ActiveSensing) {
            passThrough(batch, bytes, size, m_event.type, portGroup, m_packetByService);
        }
        appendMessageToBuffer(bytes, size, m_event.type, timeStamp, hostTime, portGroup);
    }
}

void MidiAnalyzer::receivedPiece(unsigned int group, unsigned int timeStamp, uint64_t hostTime, ThruBatch& batch)
{
    LongMessage& message = m_long[group];
    const uint8_t* piece = m_event.payload.systemExclusive.bytes;
    const auto size = static_cast<size_t>(m_event.payload.systemExclusive.size);
    if (m_event.part == MIDILIB_SystemExclusive_First) {
        message.bytes.clear();
        message.length = 0;
        message.open = true;
        message.byService = m_packetByService;
    } else if (!message.open) {
        return;
    }
    message.byService = message.byService && m_packetByService;
    if (message.length + size <= MaximumReceivedMessageSize) {
        message.bytes.insert(message.bytes.end(), piece, piece + size);
    }
    message.length += size;
    if (m_event.part != MIDILIB_SystemExclusive_Last) {
        return;
    }
    message.open = false;
    m_receivedMessages[group]++;
    if (message.length > MaximumReceivedMessageSize) {
        m_lostMessages[group]++;
        if (m_monitorPort[group]) {
            const int lineStart = m_receivedText.size() + 1;
            MidiMonitorLine::appendNotKept(m_receivedText, m_format, message.bytes.data(), message.length,
                                           MaximumReceivedMessageSize, timeStamp, group,
                                           sinceLastLine(m_lastReceivedLine, hostTime));
            record(nullptr, 0, MIDILIB_Event_Type_SystemExclusive, group, lineStart);
        }
        return;
    }
    // The filter looks at the type only: the last piece stands for the whole.
    if (midilib_filter_apply(&m_filter, &m_event) != 0) {
        return;
    }
    const auto length = static_cast<uint32_t>(message.bytes.size());
    passThrough(batch, message.bytes.data(), length, MIDILIB_Event_Type_SystemExclusive, group, message.byService);
    appendMessageToBuffer(message.bytes.data(), length, MIDILIB_Event_Type_SystemExclusive, timeStamp, hostTime,
                          group);
}

void MidiAnalyzer::followHidden(unsigned int portGroup)
{
    // Only controllers choose parameters: the other hidden messages cost nothing here.
    if (m_event.type == MIDILIB_Event_Type_ControlChange) {
        const unsigned char bytes[3] = {static_cast<unsigned char>(0xB0 | m_event.channelNumber),
                                        m_event.payload.dataBytes.firstByte, m_event.payload.dataBytes.secondByte};
        m_receivedDecoder.follow(bytes, 3, m_event.type, portGroup);
    }
}

void MidiAnalyzer::passThrough(ThruBatch& batch, const unsigned char* data, uint32_t length,
                               unsigned char type, unsigned int portGroup, bool byService)
{
    if (!m_thru[portGroup] || !m_thruSender || byService) {
        return;
    }
    batch.messages.push_back({batch.bytes.size(), length, type});
    batch.bytes.insert(batch.bytes.end(), data, data + length);
}

uint64_t MidiAnalyzer::sinceLastLine(uint64_t& lastLine, uint64_t hostTime)
{
    const uint64_t now = hostTime != 0 ? hostTime : getHostTimeInNanoseconds();
    // The two inputs' workers may hand over their packets a little out of order.
    const uint64_t since = lastLine != 0 && now > lastLine ? now - lastLine : 0;
    lastLine = std::max(lastLine, now);
    return since;
}

void MidiAnalyzer::appendMessageToBuffer(const unsigned char* data, uint32_t length, unsigned char type,
                                         unsigned int timeStamp, uint64_t hostTime, unsigned int group)
{
    if (type == MIDILIB_Event_Type_SystemExclusive && length != 0) {
        MidiMonitorLine::appendSystemExclusiveText(m_receivedSysExText, data, length);
        m_receivedSysExCount += length;
    }
    if (group > InputPortGroup_Second) {
        return;
    }
    if (!m_monitorPort[group]) {
        m_receivedDecoder.follow(data, length, type, group);
        return;
    }
    const uint64_t since = sinceLastLine(m_lastReceivedLine, hostTime);
    const int lineStart = m_receivedText.size() + 1;  // after its line break
    MidiMonitorLine::append(m_receivedText, m_format, data, length, type, timeStamp, group, since);
    m_receivedDecoder.decode(m_receivedText, data, length, type, group, m_format.showDetail, m_programBase);
    record(data, length, type, group, lineStart);
    m_receivedCount += length;
}

void MidiAnalyzer::record(const unsigned char* data, uint32_t length, unsigned char type, unsigned int group,
                          int lineStart)
{
    if (!m_recording) {
        return;
    }
    const int lineLength = m_receivedText.size() - lineStart;
    m_recorded.messages.push_back({m_lastReceivedLine, m_recorded.bytes.size(), length, type != MessageTypeNotParsed,
                                   type, static_cast<unsigned char>(group), m_recorded.lines.size(), lineLength});
    if (length != 0) {
        m_recorded.bytes.insert(m_recorded.bytes.end(), data, data + length);
    }
    m_recorded.lines.append(m_receivedText.constData() + lineStart, lineLength);
}

void MidiAnalyzer::setTransmittedMidiData(const unsigned char* data, uint32_t length,
                                          unsigned int timeStamp, unsigned char type,
                                          OutputPortGroup group)
{
    appendTransmitted(data, length, timeStamp, type, group);
    wakeIfIdle();
}

void MidiAnalyzer::appendTransmitted(const unsigned char* data, uint32_t length, unsigned int timeStamp,
                                     unsigned char type, OutputPortGroup group)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (group > OutputPortGroup_Second || !data || length == 0) {
        return;
    }
    const unsigned char shown = m_parsed ? type : MessageTypeNotParsed;
    if (!m_monitorPort[group]) {
        m_transmittedDecoder.follow(data, length, shown, group);
        return;
    }
    MidiMonitorLine::append(m_transmittedText, m_format, data, length, shown, timeStamp, group,
                            sinceLastLine(m_lastTransmittedLine, 0));
    m_transmittedDecoder.decode(m_transmittedText, data, length, shown, group, m_format.showDetail, m_programBase);
    m_transmittedCount += length;
}

bool MidiAnalyzer::getMidiData(QByteArray& received, unsigned int& receivedCount, QByteArray& sysEx,
                               unsigned int& sysExCount, QByteArray& transmitted,
                               unsigned int& transmittedCount)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // Swapped, not copied: the hand-over costs the same for any amount of text.
    received.clear();
    received.swap(m_receivedText);
    sysEx.clear();
    sysEx.swap(m_receivedSysExText);
    transmitted.clear();
    transmitted.swap(m_transmittedText);
    receivedCount = m_receivedCount;
    sysExCount = m_receivedSysExCount;
    transmittedCount = m_transmittedCount;
    m_receivedCount = 0;
    m_receivedSysExCount = 0;
    m_transmittedCount = 0;
    return receivedCount != 0 || sysExCount != 0 || transmittedCount != 0 || !received.isEmpty() ||
           !sysEx.isEmpty() || !transmitted.isEmpty();
}

void MidiAnalyzer::setRecording(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_recording = on;
    if (!on) {
        m_recorded.bytes.clear();
        m_recorded.messages.clear();
        m_recorded.lines.clear();
    }
}

uint64_t MidiAnalyzer::receivedMessages(unsigned int group) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return group <= InputPortGroup_Second ? m_receivedMessages[group] : 0;
}

uint64_t MidiAnalyzer::lostMessages(unsigned int group) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return group <= InputPortGroup_Second ? m_lostMessages[group] : 0;
}

void MidiAnalyzer::takeRecording(Recording& into)
{
    into.bytes.clear();
    into.messages.clear();
    into.lines.clear();
    std::lock_guard<std::mutex> lock(m_mutex);
    std::swap(into, m_recorded);
}

void MidiAnalyzer::clearTransmittedDataBuffer()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_transmittedText.clear();
    m_transmittedCount = 0;
}

unsigned int MidiAnalyzer::getReceivedTimingClock()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    uint16_t tempo = 0;
    return midilib_tempoMeasure_getTempo(&m_tempoMeasure, &tempo) == 0 ? tempo : 0;
}

void MidiAnalyzer::updateTempo(unsigned int elapsedMicroseconds)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    midilib_tempoMeasure_update(&m_tempoMeasure, elapsedMicroseconds);
}

bool MidiAnalyzer::updateFilterSwitch(unsigned int id, uint8_t on)
{
    if (id >= ParamChannelFilterFirst && id < ParamChannelFilterFirst + ParamChannelFilterCount) {
        midilib_filter_setChannelSwitch(&m_filter,
                                        static_cast<uint8_t>(id - ParamChannelFilterFirst), on);
    } else if (id >= ParamMessageFilterFirst &&
               id < ParamMessageFilterFirst + ParamMessageFilterCount) {
        // Control change, system common and system real-time (703, 708,
        // 709) are set member by member by the filter window.
        const unsigned int kind = id - ParamMessageFilterFirst;
        if (kind != MIDILIB_Event_Type_ControlChange &&
            kind <= MIDILIB_Event_Type_SystemExclusive) {
            midilib_filter_setEventSwitch(&m_filter, static_cast<uint8_t>(kind), on);
        }
    } else if (id >= ParamControlChangeFilterFirst &&
               id < ParamControlChangeFilterFirst + ParamControlChangeFilterCount) {
        midilib_filter_setControllerSwitch(
            &m_filter, static_cast<uint8_t>(id - ParamControlChangeFilterFirst), on);
    } else if (id >= ParamSystemCommonFilterFirst &&
               id < ParamSystemCommonFilterFirst + ParamSystemCommonFilterCount) {
        midilib_filter_setEventSwitch(
            &m_filter,
            static_cast<uint8_t>(MIDILIB_Event_Type_MTC + id - ParamSystemCommonFilterFirst), on);
    } else if (id >= ParamSystemRealtimeFilterFirst &&
               id < ParamSystemRealtimeFilterFirst + ParamSystemRealtimeFilterCount) {
        midilib_filter_setEventSwitch(&m_filter,
                                      static_cast<uint8_t>(MIDILIB_Event_Type_TimingClock + id -
                                                           ParamSystemRealtimeFilterFirst),
                                      on);
    } else {
        return false;
    }
    return true;
}

void MidiAnalyzer::updateParameter(unsigned int id)
{
    if (updateSetting(id, value(id)) && m_thruSettingsChanged) {
        m_thruSettingsChanged();
    }
}

bool MidiAnalyzer::updateSetting(unsigned int id, int v)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    switch (id) {
    case ParamMidiThru:
        m_thru[0] = v != 0;
        return true;
    case ParamMidiThruSecond:
        m_thru[1] = v != 0;
        return true;
    case ParamMonitorPort1:
        m_monitorPort[0] = v != 0;
        return false;
    case ParamMonitorPort2:
        m_monitorPort[1] = v != 0;
        return false;
    case ParamTimeStamp:
        m_format.showTimeStamp = v != 0;
        return false;
    case ParamMessageDetail:
        m_format.showDetail = v != 0;
        return false;
    case ParamMessageMiddleC:
        m_format.middleC = v;
        return false;
    case ParamProgramNumberBase:
        m_programBase = v;
        return false;
    case ParamMessageTimeFormat:
        m_format.timeFormat = v;
        return false;
    case ParamMessageParsed:
        if ((v != 0) != m_parsed) {
            m_parsed = v != 0;
            midilib_parser_init(&m_parsers[0]);
            midilib_parser_init(&m_parsers[1]);
            m_long[0].open = false;
            m_long[1].open = false;
        }
        return true;
    default:
        return updateFilterSwitch(id, v != 0);
    }
}
