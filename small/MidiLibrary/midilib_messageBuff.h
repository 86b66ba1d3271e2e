/*
 * Fixed-size channel message builders and the 14-bit value helpers. Each
 * builder writes into a caller buffer of at least 3 bytes. Any thread.
 */
#ifndef MIDILIB_MESSAGEBUFF_H
#define MIDILIB_MESSAGEBUFF_H

#include <stdint.h>

#include "midilib_constants.h"

#ifdef __cplusplus
extern "C" {
#endif

/* high7 * 128 + low7. */
uint16_t midilib_uint14_make(uint8_t low7, uint8_t high7);
/* The low seven bits (value & 0x7F), which go first on the wire. */
uint8_t midilib_uint14_msb(uint16_t value);
/* The high part (value >> 7), which goes second on the wire. */
uint8_t midilib_uint14_lsb(uint16_t value);

/* Each builder asserts a non-null data, channel 0-15 and data bytes 0-127. */
void midilib_noteOffBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t noteNumber,
                              uint8_t velocity);
void midilib_noteOnBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t noteNumber,
                             uint8_t velocity);
void midilib_polyKeyPressureBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t noteNumber,
                                      uint8_t pressure);
void midilib_controlChangeBuff_init(uint8_t* data, uint8_t channelNumber,
                                    uint8_t controllerNumber, uint8_t value);
/* Two bytes. */
void midilib_programChangeBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t number);
/* Two bytes. */
void midilib_channelKeyPressureBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t pressure);
/* E0 + channel, first, second: the caller passes the low seven bits first. */
void midilib_pitchBendData_init(uint8_t* data, uint8_t channelNumber, uint8_t first,
                                uint8_t second);

#ifdef __cplusplus
}
#endif

#endif
