/*
 * midilib_parser: turns a MIDI byte stream, delivered in arbitrary chunks,
 * into complete events, one per call. It keeps a partly received message
 * between chunks, supports running status for channel messages and collects
 * system exclusive messages of up to 16384 bytes (F0 and F7 included) whole;
 * longer ones, of any length, in pieces of at most 16384 bytes (see
 * midilib_systemExclusivePart): the caller joins them.
 * Caller-owned record, no allocation, no locking; one user at a time.
 *
 * Call midilib_parser_setData once per chunk, then midilib_parser_parse until
 * it returns -1. Malformed input never fails a call; bytes that fit nowhere
 * are dropped:
 * - Data bytes with no open message (at the start, after a system message,
 *   after midilib_parser_clearRunningStatus) are dropped.
 * - Any status byte with a length (see midilib_status_messageSize) opens a
 *   new message and drops whatever was being collected.
 * - Real-time bytes may appear between the bytes of any message, system
 *   exclusive included: F8, FA, FB, FC, FE and FF are emitted as events of
 *   their own and leave the message being collected and the running status
 *   untouched; the undefined F9 and FD are dropped without effect. So
 *   90 3C F8 40 yields a timing clock, then the note-on 90 3C 40.
 * - F4, F5, and F7 outside a system exclusive, are appended like data bytes
 *   when a message is open and has room, and dropped otherwise.
 * - Every emitted event carries only data bytes below 0x80, so it can always
 *   be encoded again with midilib_eventToData: a completed message that holds
 *   F4, F5 or a stray F7 among its data bytes is dropped whole. For a channel
 *   message the running status stays, as after any completed channel message.
 * - A system exclusive that fills 16384 bytes without F7 is emitted as its
 *   first piece when the next byte comes, and goes on; each further 16384
 *   bytes become a middle piece, and the bytes up to F7 the last. A status
 *   byte with a length cuts it off: no last piece comes, and the caller
 *   drops what it joined so far (the next event it gets is not a piece of
 *   that message, real-time ones aside). A piece holding F4, F5 or a stray
 *   byte is not emitted, nor is any later piece of that message.
 */
#ifndef MIDILIB_PARSER_H
#define MIDILIB_PARSER_H

#include <stdint.h>

#include "midilib_constants.h"
#include "midilib_event.h"
#include "smlib_constData.h"
#include "smlib_data.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct midilib_parser {
    smlib_constData input; /* the chunk being read: reference into the caller's buffer */
    smlib_data message;    /* cursor over buffer; size 0 when no message is open */
    /* A system exclusive longer than the buffer: 0 none, 1 its first piece
     * was emitted, 2 its pieces are dropped (a byte that fits nowhere). Its
     * later pieces are collected after the F0 kept at buffer[0]. */
    uint8_t longMessage;
    uint8_t buffer[MIDILIB_SystemExclusive_Size_Max]; /* the message being collected */
} midilib_parser;

/* No input and no message. Asserts self. */
void midilib_parser_init(midilib_parser* self);
/* As init: drops unread input, any partial message and the running status. */
void midilib_parser_clear(midilib_parser* self);
/* Forgets a running status held after an emitted channel message; a partly
 * collected message and a system message are left alone. Asserts self. */
void midilib_parser_clearRunningStatus(midilib_parser* self);
/* The next chunk to read; the partial message stays. The chunk must stay
 * valid until parse returns -1. Asserts self, and data null exactly when size is 0. */
void midilib_parser_setData(midilib_parser* self, const uint8_t* data, uint64_t size);
/* 0 and a filled event when a message was completed; -1 when the chunk is
 * used up without completing one. Asserts self and event. */
int32_t midilib_parser_parse(midilib_parser* self, midilib_event* event);

#ifdef __cplusplus
}
#endif

#endif
