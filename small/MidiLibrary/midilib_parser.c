#include "midilib_parser.h"

#include <stddef.h>
#include <string.h>

#include "midilib_status.h"
#include "smlib_assert.h"

static void closeMessage(midilib_parser* self)
{
    smlib_data_init(&self->message, NULL, 0);
}

void midilib_parser_init(midilib_parser* self)
{
    SMLIB_ASSERT(self);
    smlib_constData_init(&self->input, NULL, 0);
    closeMessage(self);
}

void midilib_parser_clear(midilib_parser* self)
{
    midilib_parser_init(self);
}

void midilib_parser_clearRunningStatus(midilib_parser* self)
{
    SMLIB_ASSERT(self);
    if (smlib_data_tell(&self->message) == 1 &&
        midilib_status_isChannelMessage(self->buffer[0])) {
        closeMessage(self);
    }
}

void midilib_parser_setData(midilib_parser* self, const uint8_t* data, uint64_t size)
{
    SMLIB_ASSERT(self);
    smlib_constData_init(&self->input, data, size);
}

static int isRealTime(uint8_t byte)
{
    return byte >= 0xF8;
}

/* True when every byte after the status (before the closing F7 of a system
 * exclusive) is a data byte. */
static int hasOnlyDataBytes(const uint8_t* bytes, uint64_t size)
{
    const uint64_t end = (bytes[0] == 0xF0) ? size - 1 : size;
    uint64_t i = 1;
    /* Eight bytes at a time: a dump's bytes are checked at memory speed. */
    for (; i + 8 <= end; i += 8) {
        uint64_t word;
        memcpy(&word, bytes + i, sizeof(word));
        if (word & UINT64_C(0x8080808080808080)) {
            return 0;
        }
    }
    for (; i < end; i++) {
        if (bytes[i] >= 0x80) {
            return 0;
        }
    }
    return 1;
}

/* Emits (or drops) the collected message and sets up what follows it:
 * running status after a channel message, no message after a system one. */
static int32_t completeMessage(midilib_parser* self, midilib_event* event)
{
    const uint64_t size = smlib_data_tell(&self->message);
    const int valid = hasOnlyDataBytes(self->buffer, size);
    if (valid) {
        const int32_t converted = midilib_dataToEvent(self->buffer, size, event);
        SMLIB_ASSERT(converted == 0);
    }
    if (midilib_status_isChannelMessage(self->buffer[0])) {
        smlib_data_seek(&self->message, 1, 0);
    } else {
        closeMessage(self);
    }
    return valid ? 0 : -1;
}

/* Appends a run of data bytes to an open system exclusive in one pass; the
 * bulk of a dump never goes through the byte-by-byte path. */
static void appendDataRun(midilib_parser* self, const uint8_t* input, uint64_t* position,
                          uint64_t size)
{
    smlib_data* message = &self->message;
    uint64_t at = *position;
    uint64_t room = message->size - message->position;
    while (at < size && room > 1 && input[at] < 0x80) {
        self->buffer[message->position++] = input[at++];
        room--;
    }
    *position = at;
}

/* Event type of each real-time status F8-FF; -1 where none is defined. */
static const int8_t realTimeEventType[8] = {
    MIDILIB_Event_Type_TimingClock, -1, MIDILIB_Event_Type_Start, MIDILIB_Event_Type_Continue,
    MIDILIB_Event_Type_Stop, -1, MIDILIB_Event_Type_ActiveSensing, MIDILIB_Event_Type_SystemReset};

/* The common case, done in place: a channel message whose last data byte
 * just arrived. The same result as completeMessage: the event when every
 * byte after the status is a data byte (an undefined status byte may have
 * slipped in), and running status kept either way. */
static int32_t completeChannelMessage(midilib_parser* self, midilib_event* event)
{
    const uint8_t* bytes = self->buffer;
    const uint64_t size = self->message.position;
    self->message.position = 1;
    if (bytes[1] >= 0x80 || (size == 3 && bytes[2] >= 0x80)) {
        return -1;
    }
    event->type = (uint8_t)((bytes[0] >> 4) - 8);
    event->channelNumber = (uint8_t)(bytes[0] & 0x0F);
    if (event->type == MIDILIB_Event_Type_PitchBend) {
        event->payload.value = (uint16_t)(bytes[1] | (bytes[2] << 7));
        return 0;
    }
    event->payload.dataBytes.firstByte = bytes[1];
    if (size == 3) {
        event->payload.dataBytes.secondByte = bytes[2];
    }
    return 0;
}

int32_t midilib_parser_parse(midilib_parser* self, midilib_event* event)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(event);
    /* The parser owns both cursors, so the hot loop works on their fields
     * directly instead of calling through them for every byte. */
    smlib_constData* input = &self->input;
    smlib_data* message = &self->message;
    const uint8_t* memory = input->memory;
    const uint64_t end = input->size;
    uint64_t position = input->position;
    while (position < end) {
        const uint8_t byte = memory[position++];
        if (byte < 0x80) {
            /* Data: into the open message; none open (or a system exclusive
             * already full) drops it. */
            if (message->position >= message->size) {
                continue;
            }
            self->buffer[message->position++] = byte;
            if (self->buffer[0] == 0xF0) {
                appendDataRun(self, memory, &position, end);
            } else if (message->position == message->size) {
                const int32_t result = midilib_status_isChannelMessage(self->buffer[0])
                                           ? completeChannelMessage(self, event)
                                           : completeMessage(self, event);
                if (result == 0) {
                    input->position = position;
                    return 0;
                }
            }
            continue;
        }
        if (isRealTime(byte)) {
            /* Between the bytes of any message, which goes on around it. */
            const int8_t type = realTimeEventType[byte - 0xF8];
            if (type >= 0) {
                event->type = (uint8_t)type;
                event->channelNumber = MIDILIB_ChannelNumber_None;
                input->position = position;
                return 0;
            }
            continue;
        }
        /* Program change and channel pressure (C0-DF) take one data byte,
         * the other channel messages two. */
        const uint64_t length = byte < 0xF0 ? ((byte & 0xE0) == 0xC0 ? 2u : 3u)
                                            : midilib_status_messageSize(byte);
        if (length != 0) {
            /* A new message (smlib_data_init without its checks: the buffer
             * is ours and every defined length is above 0). */
            message->memory = self->buffer;
            message->size = length;
            message->position = 0;
        }
        if (message->position >= message->size) {
            continue;
        }
        self->buffer[message->position++] = byte;
        /* A system exclusive that fills the buffer without F7 stays full, so
         * its remaining bytes and the late F7 are dropped. Reading goes on:
         * a message later in the same chunk must not be lost. */
        const int isSystemExclusive = (self->buffer[0] == 0xF0);
        const int full = message->position == message->size;
        if ((byte == 0xF7 && isSystemExclusive) || (full && !isSystemExclusive)) {
            if (completeMessage(self, event) == 0) {
                input->position = position;
                return 0;
            }
        } else if (isSystemExclusive) {
            appendDataRun(self, memory, &position, end);
        }
    }
    input->position = position;
    return -1;
}
