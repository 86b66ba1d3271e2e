#include "AlsaEventEncoder.h"

#include "midilib_status.h"

namespace {

snd_seq_event_t fixedEvent(snd_seq_event_type_t type)
{
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    event.type = type;
    snd_seq_ev_set_fixed(&event);
    return event;
}

snd_seq_event_type_t realTimeType(unsigned char byte)
{
    switch (byte) {
    case 0xF8:
        return SND_SEQ_EVENT_CLOCK;
    case 0xFA:
        return SND_SEQ_EVENT_START;
    case 0xFB:
        return SND_SEQ_EVENT_CONTINUE;
    case 0xFC:
        return SND_SEQ_EVENT_STOP;
    case 0xFE:
        return SND_SEQ_EVENT_SENSING;
    default:
        return SND_SEQ_EVENT_RESET;
    }
}

snd_seq_event_t channelEvent(const unsigned char* m)
{
    const unsigned char channel = m[0] & 0x0F;
    snd_seq_event_t event = fixedEvent(SND_SEQ_EVENT_NONE);
    switch (m[0] & 0xF0) {
    case 0x80:
        snd_seq_ev_set_noteoff(&event, channel, m[1], m[2]);
        break;
    case 0x90:
        snd_seq_ev_set_noteon(&event, channel, m[1], m[2]);
        break;
    case 0xA0:
        snd_seq_ev_set_keypress(&event, channel, m[1], m[2]);
        break;
    case 0xB0:
        snd_seq_ev_set_controller(&event, channel, m[1], m[2]);
        break;
    case 0xC0:
        snd_seq_ev_set_pgmchange(&event, channel, m[1]);
        break;
    case 0xD0:
        snd_seq_ev_set_chanpress(&event, channel, m[1]);
        break;
    default:
        snd_seq_ev_set_pitchbend(&event, channel, ((m[2] << 7) | m[1]) - 8192);
        break;
    }
    return event;
}

snd_seq_event_t systemCommonEvent(const unsigned char* m)
{
    snd_seq_event_t event = fixedEvent(SND_SEQ_EVENT_TUNE_REQUEST);
    switch (m[0]) {
    case 0xF1:
        event.type = SND_SEQ_EVENT_QFRAME;
        event.data.control.value = m[1];
        break;
    case 0xF2:
        event.type = SND_SEQ_EVENT_SONGPOS;
        event.data.control.value = (m[2] << 7) | m[1];
        break;
    case 0xF3:
        event.type = SND_SEQ_EVENT_SONGSEL;
        event.data.control.value = m[1];
        break;
    default:
        break;
    }
    return event;
}

}  // namespace

void AlsaEventEncoder::reset()
{
    m_count = 0;
    m_expected = 0;
    m_runningStatus = 0;
    m_inSysex = false;
}

void AlsaEventEncoder::encode(const unsigned char* data, size_t length,
                              std::vector<snd_seq_event_t>& events)
{
    m_sysexStart = 0;
    for (size_t i = 0; i < length; i++) {
        byte(data, i, events);
    }
    if (m_inSysex) {
        flushSysex(data, length, events);
    }
}

void AlsaEventEncoder::flushSysex(const unsigned char* data, size_t end,
                                  std::vector<snd_seq_event_t>& events)
{
    for (size_t at = m_sysexStart; at < end; at += SysexChunk) {
        const size_t size = (end - at < SysexChunk) ? end - at : SysexChunk;
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        event.type = SND_SEQ_EVENT_SYSEX;
        snd_seq_ev_set_variable(&event, static_cast<unsigned int>(size),
                                const_cast<unsigned char*>(data + at));
        events.push_back(event);
    }
    m_sysexStart = end;
}

void AlsaEventEncoder::byte(const unsigned char* data, size_t index,
                            std::vector<snd_seq_event_t>& events)
{
    const unsigned char b = data[index];
    if (b >= 0xF8) {
        // Real-time bytes leave everything else as it is, inside a sysex too.
        if (m_inSysex) {
            flushSysex(data, index, events);
            m_sysexStart = index + 1;
        }
        if (b != 0xF9 && b != 0xFD) {
            events.push_back(fixedEvent(realTimeType(b)));
        }
        return;
    }
    if (m_inSysex) {
        if (b < 0x80) {
            return;
        }
        flushSysex(data, b == 0xF7 ? index + 1 : index, events);
        m_inSysex = false;
        if (b == 0xF7) {
            return;
        }
    }
    if (b == 0xF0) {
        m_inSysex = true;
        m_sysexStart = index;
        m_runningStatus = 0;
        m_count = 0;
        return;
    }
    if (b >= 0x80) {
        status(b, events);
        return;
    }
    if (m_count == 0 && m_runningStatus != 0) {
        m_message[0] = m_runningStatus;
        m_count = 1;
        m_expected = midilib_status_messageSize(m_runningStatus);
    }
    if (m_count == 0) {
        return;
    }
    m_message[m_count++] = b;
    if (m_count == m_expected) {
        emitMessage(events);
    }
}

void AlsaEventEncoder::status(unsigned char b, std::vector<snd_seq_event_t>& events)
{
    m_count = 0;
    m_runningStatus = midilib_status_isChannelMessage(b) ? b : 0;
    m_expected = midilib_status_messageSize(b);
    if (m_expected == 0) {
        return;  // F4, F5, stray F7
    }
    m_message[0] = b;
    m_count = 1;
    if (m_expected == 1) {
        emitMessage(events);
    }
}

void AlsaEventEncoder::emitMessage(std::vector<snd_seq_event_t>& events)
{
    events.push_back(midilib_status_isChannelMessage(m_message[0]) ? channelEvent(m_message)
                                                                   : systemCommonEvent(m_message));
    m_count = 0;
}
