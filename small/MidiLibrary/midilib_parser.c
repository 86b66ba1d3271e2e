#include "midilib_parser.h"

#include <stddef.h>
#include <string.h>

#include "midilib_status.h"
#include "smlib_assert.h"

enum { LongNone = 0, LongEmitting = 1, LongDropping = 2 };

static void closeMessage(midilib_parser* self)
{
    smlib_data_init(&self->message, NULL, 0);
    self->longMessage = LongNone;
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
    if (self->buffer[0] < 0xF0) { /* a channel message: running status */
        smlib_data_seek(&self->message, 1, 0);
    } else {
        closeMessage(self);
    }
    return valid ? 0 : -1;
}

/* How many of the next `limit` input bytes are data bytes, looked at eight
 * at a time: the bulk of a dump is measured at memory speed. */
static uint64_t dataRunLength(const uint8_t* input, uint64_t limit)
{
    uint64_t run = 0;
    for (; run + 8 <= limit; run += 8) {
        uint64_t word;
        memcpy(&word, input + run, sizeof(word));
        if (word & UINT64_C(0x8080808080808080)) {
            break;
        }
    }
    while (run < limit && input[run] < 0x80) {
        run++;
    }
    return run;
}

/* Event type of each real-time status F8-FF; -1 where none is defined. */
static const int8_t realTimeEventType[8] = {
    MIDILIB_Event_Type_TimingClock, -1, MIDILIB_Event_Type_Start, MIDILIB_Event_Type_Continue,
    MIDILIB_Event_Type_Stop, -1, MIDILIB_Event_Type_ActiveSensing, MIDILIB_Event_Type_SystemReset};

#if defined(__GNUC__)
#define MIDILIB_COLD __attribute__((cold, noinline))
#define MIDILIB_NOINLINE __attribute__((noinline))
#else
#define MIDILIB_COLD
#define MIDILIB_NOINLINE
#endif

/* The buffer of a system exclusive longer than it is full, or its F7 came
 * (last): emits the next piece (buffer[0] is F0 for the first, and kept as
 * the marker of a long message after it). Returns 0 with the event, -1 when
 * the piece is dropped; collected starts the next piece (after the last:
 * no message is open). Cold: long messages are rare, and this code inside
 * the parse loop slowed every other message down. */
MIDILIB_COLD static int32_t emitPiece(midilib_parser* self, midilib_event* event, uint64_t* collected,
                                      uint64_t* length, int last)
{
    const int first = self->longMessage == LongNone;
    const uint64_t start = first ? 0 : 1;
    const uint64_t size = *collected - start;
    /* Data bytes only, the closing F7 aside. */
    const uint64_t checked = *collected - 1 - (last ? 1 : 0);
    const int valid = dataRunLength(self->buffer + 1, checked) == checked;
    *collected = 1;
    if (last) {
        *collected = 0;
        *length = 0;
    }
    if (self->longMessage == LongDropping || !valid) {
        self->longMessage = last ? LongNone : LongDropping;
        return -1;
    }
    self->longMessage = last ? LongNone : LongEmitting;
    event->type = MIDILIB_Event_Type_SystemExclusive;
    event->channelNumber = MIDILIB_ChannelNumber_None;
    event->part = (uint8_t)(last ? MIDILIB_SystemExclusive_Last
                                 : (first ? MIDILIB_SystemExclusive_First : MIDILIB_SystemExclusive_Middle));
    memcpy(event->payload.systemExclusive.bytes, self->buffer + start, size);
    event->payload.systemExclusive.size = size;
    return 0;
}

/* The common case, done in place: a channel message whose last data byte
 * (of `size` bytes) just arrived. The same result as completeMessage: the
 * event when every byte after the status is a data byte (an undefined
 * status byte may have slipped in); running status is kept either way. */
static int32_t completeChannelMessage(const uint8_t* bytes, uint64_t size, midilib_event* event)
{
    if (bytes[1] >= 0x80 || (size == 3 && bytes[2] >= 0x80)) {
        return -1;
    }
    event->type = (uint8_t)((bytes[0] >> 4) - 8);
    event->channelNumber = (uint8_t)(bytes[0] & 0x0F);
    event->part = MIDILIB_SystemExclusive_Whole;
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

/* Hands the open message (collected / length) back to the record, which the
 * parse loop otherwise keeps in registers: the buffer's byte stores would
 * make the compiler reload every field after each one. */
static void storeMessage(midilib_parser* self, uint64_t collected, uint64_t length)
{
    self->message.memory = length ? self->buffer : NULL;
    self->message.size = length;
    self->message.position = collected;
}

/* Completes the message through the general path and takes back where
 * it leaves the message cursor. */
static int32_t completeStoredMessage(midilib_parser* self, midilib_event* event,
                                     uint64_t* collected, uint64_t* length)
{
    storeMessage(self, *collected, *length);
    const int32_t result = completeMessage(self, event);
    *collected = self->message.position;
    *length = self->message.size;
    return result;
}

#ifndef MIDILIB_PARSER_FAST_PATH
#define MIDILIB_PARSER_FAST_PATH 1
#endif

#if MIDILIB_PARSER_FAST_PATH
/* A message the whole-message path completed: what follows it opens none
 * (system messages), or keeps its channel status (running status). */
static void closeAfterSystem(midilib_parser* self)
{
    self->message.memory = NULL;
    self->message.size = 0;
    self->message.position = 0;
    self->longMessage = LongNone;
}

static void keepRunningStatus(midilib_parser* self, uint8_t status, uint64_t size)
{
    self->buffer[0] = status;
    self->message.memory = self->buffer;
    self->message.size = size;
    self->message.position = 1;
    self->longMessage = LongNone;
}

/* A system common or exclusive message whose status is input[0], whole in
 * the input: 0 with the event, -1 when it is not all there (or malformed).
 * Out of line: the channel messages' path keeps to a few registers. */
MIDILIB_NOINLINE static int32_t parseWholeSystem(midilib_parser* self, midilib_event* event, const uint8_t* input,
                                uint64_t available)
{
    const uint8_t status = input[0];
    if (status == 0xF0) {
        const uint64_t limit = available - 1 < MIDILIB_SystemExclusive_Size_Max - 1
                                   ? available - 1
                                   : MIDILIB_SystemExclusive_Size_Max - 1;
        const uint64_t run = dataRunLength(input + 1, limit);
        if (run == limit || input[1 + run] != 0xF7) {
            return -1;
        }
        const uint64_t size = run + 2;
        event->type = MIDILIB_Event_Type_SystemExclusive;
        event->channelNumber = MIDILIB_ChannelNumber_None;
        event->part = MIDILIB_SystemExclusive_Whole;
        memcpy(event->payload.systemExclusive.bytes, input, size);
        event->payload.systemExclusive.size = size;
        closeAfterSystem(self);
        self->input.position += size;
        return 0;
    }
    const uint64_t size = midilib_status_messageSize(status);
    if (size == 0 || size > available || (size > 1 && input[1] >= 0x80) || (size > 2 && input[2] >= 0x80)) {
        return -1;
    }
    if (midilib_dataToEvent(input, size, event) != 0) {
        return -1;
    }
    closeAfterSystem(self);
    self->input.position += size;
    return 0;
}

/* Fields of a shortMessages entry, by their shift. */
enum {
    ShortType = 0,
    ShortChannel = 8,
    ShortLength = 16,
    ShortRealTime = 24,
    ShortRunning = 25,
    ShortFourteenBit = 26,
    ShortFirstChecked = 32, /* 0x80 when the message has a first data byte */
    ShortSecondChecked = 40 /* 0x80 when it has a second */
};

#define MIDILIB_SHORT(type, channel, length, realTime, running, fourteenBit)                       \
    ((uint64_t)(type) << ShortType | (uint64_t)(channel) << ShortChannel |                         \
     (uint64_t)(length) << ShortLength | (uint64_t)(realTime) << ShortRealTime |                   \
     (uint64_t)(running) << ShortRunning | (uint64_t)(fourteenBit) << ShortFourteenBit |           \
     (uint64_t)((length) > 1 ? 0x80 : 0) << ShortFirstChecked |                                    \
     (uint64_t)((length) > 2 ? 0x80 : 0) << ShortSecondChecked)
#define MIDILIB_NONE4 0, 0, 0, 0
#define MIDILIB_NONE16 MIDILIB_NONE4, MIDILIB_NONE4, MIDILIB_NONE4, MIDILIB_NONE4
#define MIDILIB_CHANNEL(type, length, c) MIDILIB_SHORT(type, c, length, 0, 1, type == MIDILIB_Event_Type_PitchBend)
#define MIDILIB_CHANNEL4(type, length, c)                                                          \
    MIDILIB_CHANNEL(type, length, c), MIDILIB_CHANNEL(type, length, c + 1),                       \
        MIDILIB_CHANNEL(type, length, c + 2), MIDILIB_CHANNEL(type, length, c + 3)
#define MIDILIB_CHANNEL16(type, length)                                                            \
    MIDILIB_CHANNEL4(type, length, 0), MIDILIB_CHANNEL4(type, length, 4),                         \
        MIDILIB_CHANNEL4(type, length, 8), MIDILIB_CHANNEL4(type, length, 12)
#define MIDILIB_COMMON(type, length) MIDILIB_SHORT(type, MIDILIB_ChannelNumber_None, length, 0, 0, length == 3)
#define MIDILIB_REALTIME(type) MIDILIB_SHORT(type, MIDILIB_ChannelNumber_None, 1, 1, 0, 0)

/* What the table-driven path knows of each byte as a message's start: its
 * event type and channel, its length (0: not a message this path takes:
 * data, system exclusive, undefined), what it leaves (a real-time byte the
 * message state as it was, a channel message running status, a system common
 * one no open message), whether its two data bytes make one 14-bit value,
 * and which bytes after it must be data bytes. One load each. */
static const uint64_t shortMessages[256] = {
    MIDILIB_NONE16, MIDILIB_NONE16, MIDILIB_NONE16, MIDILIB_NONE16,
    MIDILIB_NONE16, MIDILIB_NONE16, MIDILIB_NONE16, MIDILIB_NONE16,
    MIDILIB_CHANNEL16(MIDILIB_Event_Type_NoteOff, 3),
    MIDILIB_CHANNEL16(MIDILIB_Event_Type_NoteOn, 3),
    MIDILIB_CHANNEL16(MIDILIB_Event_Type_PolyKeyPressure, 3),
    MIDILIB_CHANNEL16(MIDILIB_Event_Type_ControlChange, 3),
    MIDILIB_CHANNEL16(MIDILIB_Event_Type_ProgramChange, 2),
    MIDILIB_CHANNEL16(MIDILIB_Event_Type_ChannelKeyPressure, 2),
    MIDILIB_CHANNEL16(MIDILIB_Event_Type_PitchBend, 3),
    0, MIDILIB_COMMON(MIDILIB_Event_Type_MTC, 2),
    MIDILIB_COMMON(MIDILIB_Event_Type_SongPositionPointer, 3), MIDILIB_COMMON(MIDILIB_Event_Type_SongSelect, 2),
    0, 0, MIDILIB_COMMON(MIDILIB_Event_Type_TuneRequest, 1), 0,
    MIDILIB_REALTIME(MIDILIB_Event_Type_TimingClock), 0,
    MIDILIB_REALTIME(MIDILIB_Event_Type_Start), MIDILIB_REALTIME(MIDILIB_Event_Type_Continue),
    MIDILIB_REALTIME(MIDILIB_Event_Type_Stop), 0,
    MIDILIB_REALTIME(MIDILIB_Event_Type_ActiveSensing), MIDILIB_REALTIME(MIDILIB_Event_Type_SystemReset)};

static inline uint64_t shortField(uint64_t entry, unsigned shift, uint64_t mask)
{
    return (entry >> shift) & mask;
}

/* Picks a where mask is all ones, b where it is zero: a select the compiler
 * keeps as arithmetic, where a conditional would become a branch that a
 * played stream's random mix of notes and clocks mispredicts. */
static inline uint64_t pick(uint64_t mask, uint64_t a, uint64_t b)
{
    return (a & mask) | (b & ~mask);
}

/* A channel, system common or real-time message with its status, when the
 * three input bytes from `input` are there to look at, with no branch that
 * depends on which: a played stream mixes notes, controllers and clocks at
 * random. The same results as parseWhole. (Running status stays a branch
 * apart: folded in here too, every call would wait on the state the last one
 * stored, which costs more on a running stream than the branch's misses.) */
static inline int32_t parseStatus(midilib_parser* self, midilib_event* event, const uint8_t* input)
{
    const uint8_t status = input[0];
    const uint64_t info = shortMessages[status];
    const uint8_t first = input[1];
    const uint8_t second = input[2];
    const uint64_t length = shortField(info, ShortLength, 0xFF);
    const uint64_t checked = ((uint64_t)first << ShortFirstChecked) | ((uint64_t)second << ShortSecondChecked);
    if ((length == 0) | ((checked & info) != 0)) {
        return -1;
    }
    event->type = (uint8_t)shortField(info, ShortType, 0xFF);
    event->channelNumber = (uint8_t)shortField(info, ShortChannel, 0xFF);
    event->part = MIDILIB_SystemExclusive_Whole;
    /* Both data bytes, or the 14-bit value over the same two bytes (the
     * second is meaningless for one data byte, and for others nothing is). */
    uint16_t value;
    memcpy(&value, input + 1, sizeof(value));
    const uint64_t fourteenBit = (uint64_t)(first | (second << 7));
    event->payload.value = (uint16_t)pick(0 - shortField(info, ShortFourteenBit, 1), fourteenBit, value);
    /* A channel message leaves running status (the status alone collected);
     * a system common one no open message (the status in the buffer then
     * means nothing); a real-time byte changes nothing. */
    const uint64_t keep = 0 - shortField(info, ShortRealTime, 1);
    const uint64_t running = shortField(info, ShortRunning, 1);
    const uint64_t open = 0 - running;
    self->buffer[0] = (uint8_t)pick(keep, self->buffer[0], status);
    self->message.memory =
        (uint8_t*)(uintptr_t)pick(keep, (uintptr_t)self->message.memory, (uintptr_t)self->buffer & open);
    self->message.size = pick(keep, self->message.size, length & open);
    self->message.position = pick(keep, self->message.position, running);
    self->longMessage = (uint8_t)pick(keep, self->longMessage, LongNone);
    self->input.position += length;
    return 0;
}

/* The event of a channel message whose data bytes are first and second
 * (second alone when it has one). */
static inline void channelEvent(midilib_event* event, uint8_t status, uint8_t first, uint8_t second)
{
    event->type = (uint8_t)((status >> 4) - 8);
    event->channelNumber = (uint8_t)(status & 0x0F);
    event->part = MIDILIB_SystemExclusive_Whole;
    if (event->type == MIDILIB_Event_Type_PitchBend) {
        event->payload.value = (uint16_t)(first | (second << 7));
    } else {
        event->payload.dataBytes.firstByte = first;
        event->payload.dataBytes.secondByte = second;
    }
}

/* A data byte at input[0] (of `available`): the channel message open in the
 * buffer goes on, in running status or completing the one whose first data
 * byte came before; or a real-time byte comes between its two data bytes
 * (the first is kept, as the parse loop keeps it, and the real-time one goes
 * out). 0 with the event, -1 to leave it to the parse loop. */
static inline int32_t parseRunning(midilib_parser* self, midilib_event* event, const uint8_t* input,
                                   uint64_t available)
{
    const uint8_t status = self->buffer[0];
    const uint64_t collected = self->message.position;
    if (collected == 0 || collected >= self->message.size || status >= 0xF0) {
        return -1;
    }
    const uint64_t dataBytes = self->message.size - 1;
    if (collected == 2) {
        const uint8_t first = self->buffer[1];
        if (first >= 0x80) {
            return -1; /* an undefined status byte slipped in: the loop drops the message */
        }
        channelEvent(event, status, first, input[0]);
        self->message.position = 1;
        self->input.position += 1;
        return 0;
    }
    if (dataBytes == 1) {
        channelEvent(event, status, input[0], input[0]);
        self->input.position += 1;
        return 0;
    }
    if (available < 2) {
        return -1;
    }
    const uint8_t next = input[1];
    if (next < 0x80) {
        channelEvent(event, status, input[0], next);
        self->input.position += 2;
        return 0;
    }
    if (next < 0xF8 || realTimeEventType[next - 0xF8] < 0) {
        return -1;
    }
    self->buffer[1] = input[0];
    self->message.position = 2;
    event->type = (uint8_t)realTimeEventType[next - 0xF8];
    event->channelNumber = MIDILIB_ChannelNumber_None;
    event->part = MIDILIB_SystemExclusive_Whole;
    self->input.position += 2;
    return 0;
}

/* Whole messages read straight from the input, when the next bytes hold one
 * that the parse loop would complete without any other effect: a channel
 * message with its status, in running status, or completing the one whose
 * first data byte came before; a real-time byte; a system common or a short
 * system exclusive message whole. 0 with the event (the input and the
 * message state moved on as in the loop), -1 to leave it to the parse loop.
 * The two paths above take most of a stream; this takes what they leave
 * with a whole message in it (fewer bytes at hand, a system exclusive).
 * The results are the loop's, byte for byte. */
static int32_t parseWhole(midilib_parser* self, midilib_event* event)
{
    const uint64_t available = self->input.size - self->input.position;
    if (available == 0) {
        return -1; /* also before any input: no pointer arithmetic on none */
    }
    const uint8_t* input = self->input.memory + self->input.position;
    const uint8_t status = input[0];
    if (status < 0x80) {
        return parseRunning(self, event, input, available);
    }
    if (status >= 0xF8) {
        const int8_t type = realTimeEventType[status - 0xF8];
        if (type < 0) {
            return -1;
        }
        event->type = (uint8_t)type;
        event->channelNumber = MIDILIB_ChannelNumber_None;
        event->part = MIDILIB_SystemExclusive_Whole;
        self->input.position++;
        return 0;
    }
    if (status >= 0xF0) {
        return parseWholeSystem(self, event, input, available);
    }
    const uint64_t dataBytes = (status & 0xE0) == 0xC0 ? 1u : 2u;
    if (available <= dataBytes || input[1] >= 0x80 || (dataBytes == 2 && input[2] >= 0x80)) {
        return -1;
    }
    keepRunningStatus(self, status, dataBytes + 1);
    channelEvent(event, status, input[1], input[dataBytes]);
    self->input.position += dataBytes + 1;
    return 0;
}
#endif

/* Every other case, byte by byte: messages split across chunks, system
 * messages, malformed input. Kept out of line, so that the whole-message
 * path above costs no more than its own few registers. */
MIDILIB_NOINLINE static int32_t parseCollecting(midilib_parser* self, midilib_event* event)
{
    const uint8_t* memory = self->input.memory;
    const uint64_t end = self->input.size;
    uint64_t position = self->input.position;
    uint8_t* buffer = self->buffer;
    uint64_t collected = self->message.position; /* bytes of the open message so far */
    uint64_t length = self->message.size;        /* its full length; 0 when none is open */
    int32_t result = -1;
    while (position < end) {
        const uint8_t byte = memory[position++];
        if (byte < 0x80) {
            /* Data: into the open message; none open drops it. */
            if (collected >= length) {
                if (length == MIDILIB_SystemExclusive_Size_Max) {
                    /* A system exclusive longer than the buffer goes on: the
                     * full buffer is a piece, and this byte starts the next. */
                    position--;
                    if (emitPiece(self, event, &collected, &length, 0) == 0) {
                        result = 0;
                        break;
                    }
                }
                continue;
            }
            buffer[collected++] = byte;
            if (buffer[0] == 0xF0) {
                /* The rest of the run in one go, keeping a byte for F7. */
                const uint64_t room = length - collected;
                const uint64_t limit = room > 1 ? room - 1 : 0;
                const uint64_t run = dataRunLength(memory + position,
                                                   end - position < limit ? end - position : limit);
                memcpy(buffer + collected, memory + position, run);
                collected += run;
                position += run;
            } else if (collected == length) {
                if (buffer[0] < 0xF0) {
                    collected = 1;
                    if (completeChannelMessage(buffer, length, event) == 0) {
                        result = 0;
                        break;
                    }
                } else if (completeStoredMessage(self, event, &collected, &length) == 0) {
                    result = 0;
                    break;
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
                event->part = MIDILIB_SystemExclusive_Whole;
                result = 0;
                break;
            }
            continue;
        }
        /* Program change and channel pressure (C0-DF) take one data byte,
         * the other channel messages two. */
        const uint64_t size = byte < 0xF0 ? ((byte & 0xE0) == 0xC0 ? 2u : 3u)
                                          : midilib_status_messageSize(byte);
        if (size != 0) {
            collected = 0; /* a new message */
            length = size;
            if (self->longMessage != LongNone) {
                self->longMessage = LongNone; /* a long one is cut off */
            }
        }
        if (collected >= length) {
            if (length == MIDILIB_SystemExclusive_Size_Max) {
                position--;  /* F7 or a stray byte: as data above */
                if (emitPiece(self, event, &collected, &length, 0) == 0) {
                    result = 0;
                    break;
                }
            }
            continue;
        }
        buffer[collected++] = byte;
        const int isSystemExclusive = (buffer[0] == 0xF0);
        const int full = collected == length;
        if ((byte == 0xF7 && isSystemExclusive) || (full && !isSystemExclusive)) {
            if (self->longMessage != LongNone) {
                if (emitPiece(self, event, &collected, &length, 1) == 0) { /* the last piece */
                    result = 0;
                    break;
                }
            } else if (completeStoredMessage(self, event, &collected, &length) == 0) {
                result = 0;
                break;
            }
        }
    }
    self->input.position = position;
    storeMessage(self, collected, length);
    return result;
}

/* Everything the table-driven path leaves: out of line, so that its
 * registers are not saved for the commonest messages. */
MIDILIB_NOINLINE static int32_t parseOther(midilib_parser* self, midilib_event* event)
{
#if MIDILIB_PARSER_FAST_PATH
    if (parseWhole(self, event) == 0) {
        return 0;
    }
#endif
    return parseCollecting(self, event);
}

int32_t midilib_parser_parse(midilib_parser* self, midilib_event* event)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(event);
#if MIDILIB_PARSER_FAST_PATH
    const uint64_t available = self->input.size - self->input.position;
    if (available != 0) { /* also before any input: no pointer arithmetic on none */
        const uint8_t* input = self->input.memory + self->input.position;
        if (input[0] < 0x80) {
            if (parseRunning(self, event, input, available) == 0) {
                return 0;
            }
        } else if (available >= 3 && parseStatus(self, event, input) == 0) {
            return 0;
        }
    }
#endif
    return parseOther(self, event);
}
