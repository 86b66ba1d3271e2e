/*
 * midilib_event: one decoded MIDI message, and the two conversions between
 * bytes and events. Caller-owned records, no allocation, any thread.
 *
 * For every message midilib_dataToEvent accepts with its table length and
 * whose data bytes are all below 0x80, midilib_eventToData gives back exactly
 * the same bytes; MIDI thru and the editors rely on this.
 */
#ifndef MIDILIB_EVENT_H
#define MIDILIB_EVENT_H

#include <stdint.h>

#include "midilib_constants.h"
#include "midilib_data.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The numbering is fixed: the filter indexes its event switches by it. */
typedef enum midilib_eventType {
    MIDILIB_Event_Type_NoteOff = 0,
    MIDILIB_Event_Type_NoteOn = 1,
    MIDILIB_Event_Type_PolyKeyPressure = 2,
    MIDILIB_Event_Type_ControlChange = 3,
    MIDILIB_Event_Type_ProgramChange = 4,
    MIDILIB_Event_Type_ChannelKeyPressure = 5,
    MIDILIB_Event_Type_PitchBend = 6,
    MIDILIB_Event_Type_SystemExclusive = 7,
    MIDILIB_Event_Type_MTC = 8,
    MIDILIB_Event_Type_SongPositionPointer = 9,
    MIDILIB_Event_Type_SongSelect = 10,
    MIDILIB_Event_Type_TuneRequest = 11,
    MIDILIB_Event_Type_TimingClock = 12,
    MIDILIB_Event_Type_Start = 13,
    MIDILIB_Event_Type_Continue = 14,
    MIDILIB_Event_Type_Stop = 15,
    MIDILIB_Event_Type_ActiveSensing = 16,
    MIDILIB_Event_Type_SystemReset = 17
} midilib_eventType;

/* Which piece of a system exclusive message an event holds. A message
 * longer than MIDILIB_SystemExclusive_Size_Max comes from the parser in
 * pieces: the first (F0 and data), middle ones (data only), the last (data
 * and F7); every other event is whole. */
typedef enum midilib_systemExclusivePart {
    MIDILIB_SystemExclusive_Whole = 0,
    MIDILIB_SystemExclusive_First = 1,
    MIDILIB_SystemExclusive_Middle = 2,
    MIDILIB_SystemExclusive_Last = 3
} midilib_systemExclusivePart;

typedef struct midilib_event {
    uint8_t type;          /* a midilib_eventType value */
    uint8_t channelNumber; /* 0-15 for channel messages, 255 for system messages */
    uint8_t part;          /* a midilib_systemExclusivePart value */
    union {
        /* Note and velocity/pressure, controller and value; firstByte alone
         * for program change, channel pressure, MTC and song select (their
         * secondByte is unspecified). */
        struct {
            uint8_t firstByte;
            uint8_t secondByte;
        } dataBytes;
        /* 0-16383: pitch bend and song position pointer. */
        uint16_t value;
        /* The whole message, F0 and F7 included; or one piece of a longer one. */
        struct {
            uint8_t bytes[MIDILIB_SystemExclusive_Size_Max];
            uint64_t size;
        } systemExclusive;
    } payload;
} midilib_event;

/* Decodes one complete message that begins with its status byte: 0, or -1
 * for a data byte first, an undefined status (F4, F5, F7, F9, FD), a length
 * other than the status's message length, or a system exclusive of 0 or more
 * than 16384 bytes. Never asserts on the bytes; asserts bytes and event. */
int32_t midilib_dataToEvent(const uint8_t* bytes, uint64_t length, midilib_event* event);

/* Replaces the contents of data with the encoded event (a piece of a long
 * system exclusive: its bytes as they are). Asserts event, data,
 * type 0-17, a system exclusive size of at most 16384, and the ranges of the
 * message builders. */
void midilib_eventToData(const midilib_event* event, midilib_data* data);

#ifdef __cplusplus
}
#endif

#endif
