#include "midilib_event.h"

#include <string.h>

#include "midilib_messageBuff.h"
#include "midilib_status.h"
#include "smlib_assert.h"

/* Event type of each system status F0-FF; -1 where no message is defined. */
static const int8_t systemEventType[16] = {
    MIDILIB_Event_Type_SystemExclusive, MIDILIB_Event_Type_MTC,
    MIDILIB_Event_Type_SongPositionPointer, MIDILIB_Event_Type_SongSelect, -1, -1,
    MIDILIB_Event_Type_TuneRequest, -1, MIDILIB_Event_Type_TimingClock, -1,
    MIDILIB_Event_Type_Start, MIDILIB_Event_Type_Continue, MIDILIB_Event_Type_Stop, -1,
    MIDILIB_Event_Type_ActiveSensing, MIDILIB_Event_Type_SystemReset};

/* Status byte of each system event type 7-17. */
static const uint8_t systemStatus[11] = {0xF0, 0xF1, 0xF2, 0xF3, 0xF6, 0xF8,
                                         0xFA, 0xFB, 0xFC, 0xFE, 0xFF};

static int32_t systemToEvent(const uint8_t* bytes, uint64_t length, midilib_event* event)
{
    const int8_t type = systemEventType[bytes[0] & 0x0F];
    event->part = MIDILIB_SystemExclusive_Whole;
    if (type < 0) {
        return -1;
    }
    event->type = (uint8_t)type;
    event->channelNumber = MIDILIB_ChannelNumber_None;
    if (type == MIDILIB_Event_Type_SystemExclusive) {
        if (length > MIDILIB_SystemExclusive_Size_Max) {
            return -1;
        }
        memcpy(event->payload.systemExclusive.bytes, bytes, length);
        event->payload.systemExclusive.size = length;
        return 0;
    }
    if (length != midilib_status_messageSize(bytes[0])) {
        return -1;
    }
    if (type == MIDILIB_Event_Type_SongPositionPointer) {
        event->payload.value = midilib_uint14_make(bytes[1], bytes[2]);
    } else if (length == 2) {
        event->payload.dataBytes.firstByte = bytes[1];
    }
    return 0;
}

static int32_t channelToEvent(const uint8_t* bytes, uint64_t length, midilib_event* event)
{
    if (length != midilib_status_messageSize(bytes[0])) {
        return -1;
    }
    event->part = MIDILIB_SystemExclusive_Whole;
    event->type = (uint8_t)((bytes[0] >> 4) - 8);
    event->channelNumber = midilib_status_getChannelNumber(bytes[0]);
    if (event->type == MIDILIB_Event_Type_PitchBend) {
        event->payload.value = midilib_uint14_make(bytes[1], bytes[2]);
        return 0;
    }
    event->payload.dataBytes.firstByte = bytes[1];
    if (length == 3) {
        event->payload.dataBytes.secondByte = bytes[2];
    }
    return 0;
}

int32_t midilib_dataToEvent(const uint8_t* bytes, uint64_t length, midilib_event* event)
{
    SMLIB_ASSERT(bytes);
    SMLIB_ASSERT(event);
    if (length == 0 || bytes[0] < 0x80) {
        return -1;
    }
    if (midilib_status_isChannelMessage(bytes[0])) {
        return channelToEvent(bytes, length, event);
    }
    return systemToEvent(bytes, length, event);
}

static void channelToData(const midilib_event* event, uint8_t* bytes)
{
    const uint8_t channel = event->channelNumber;
    const uint8_t first = event->payload.dataBytes.firstByte;
    const uint8_t second = event->payload.dataBytes.secondByte;
    switch (event->type) {
    case MIDILIB_Event_Type_NoteOff:
        midilib_noteOffBuff_init(bytes, channel, first, second);
        break;
    case MIDILIB_Event_Type_NoteOn:
        midilib_noteOnBuff_init(bytes, channel, first, second);
        break;
    case MIDILIB_Event_Type_PolyKeyPressure:
        midilib_polyKeyPressureBuff_init(bytes, channel, first, second);
        break;
    case MIDILIB_Event_Type_ControlChange:
        midilib_controlChangeBuff_init(bytes, channel, first, second);
        break;
    case MIDILIB_Event_Type_ProgramChange:
        midilib_programChangeBuff_init(bytes, channel, first);
        break;
    case MIDILIB_Event_Type_ChannelKeyPressure:
        midilib_channelKeyPressureBuff_init(bytes, channel, first);
        break;
    default: /* pitch bend */
        midilib_pitchBendData_init(bytes, channel, midilib_uint14_msb(event->payload.value),
                                   midilib_uint14_lsb(event->payload.value));
        break;
    }
}

static uint64_t systemToData(const midilib_event* event, uint8_t* bytes)
{
    const uint8_t status = systemStatus[event->type - MIDILIB_Event_Type_SystemExclusive];
    bytes[0] = status;
    switch (event->type) {
    case MIDILIB_Event_Type_MTC:
    case MIDILIB_Event_Type_SongSelect:
        bytes[1] = event->payload.dataBytes.firstByte;
        return 2;
    case MIDILIB_Event_Type_SongPositionPointer:
        bytes[1] = midilib_uint14_msb(event->payload.value);
        bytes[2] = midilib_uint14_lsb(event->payload.value);
        return 3;
    default:
        return 1;
    }
}

void midilib_eventToData(const midilib_event* event, midilib_data* data)
{
    SMLIB_ASSERT(event);
    SMLIB_ASSERT(data);
    SMLIB_ASSERT(event->type <= MIDILIB_Event_Type_Max);
    if (event->type == MIDILIB_Event_Type_SystemExclusive) {
        SMLIB_ASSERT(event->payload.systemExclusive.size <= MIDILIB_SystemExclusive_Size_Max);
        midilib_data_init(data, event->payload.systemExclusive.bytes, 1,
                          event->payload.systemExclusive.size);
        return;
    }
    uint8_t bytes[3];
    uint64_t size = 0;
    if (event->type < MIDILIB_Event_Type_SystemExclusive) {
        channelToData(event, bytes);
        size = midilib_status_messageSize(bytes[0]);
    } else {
        size = systemToData(event, bytes);
    }
    midilib_data_init(data, bytes, 1, size);
}
