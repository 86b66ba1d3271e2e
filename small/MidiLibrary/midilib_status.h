/*
 * Status-byte functions: message lengths and channel nibbles. The length
 * table here is the single source of message lengths for the parser.
 * Pure functions, any thread.
 */
#ifndef MIDILIB_STATUS_H
#define MIDILIB_STATUS_H

#include <stdint.h>

#include "midilib_constants.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Non-zero for a byte of 0x80 or above that starts a message (length not 0). */
int midilib_status_check(uint8_t status);
/* 0x80-0xEF with the channel nibble cleared; every other byte unchanged. */
uint8_t midilib_status_plain(uint8_t status);
/* Message length in bytes (F0: 16384); 0 for data bytes and for F4, F5, F7, F9, FD. */
uint64_t midilib_status_messageSize(uint8_t status);
/* Non-zero for 0x80-0xEF. */
int midilib_status_isChannelMessage(uint8_t status);
/* status & 0x0F for 0x80-0xEF, else 255. */
uint8_t midilib_status_getChannelNumber(uint8_t status);
/* Replaces the channel nibble of a channel status in place (other bytes stay)
 * and returns the byte. Asserts status and channel 0-15. */
uint8_t midilib_status_setChannelNumber(uint8_t* status, uint8_t channelNumber);

#ifdef __cplusplus
}
#endif

#endif
