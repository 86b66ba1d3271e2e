#include "midilib_messageBuff.h"

#include "smlib_assert.h"

uint16_t midilib_uint14_make(uint8_t low7, uint8_t high7)
{
    return (uint16_t)((high7 * 128u) + low7);
}

uint8_t midilib_uint14_msb(uint16_t value)
{
    return (uint8_t)(value & 0x7Fu);
}

uint8_t midilib_uint14_lsb(uint16_t value)
{
    return (uint8_t)(value >> 7);
}

/* A data byte is in range when it is not negative as a signed 8-bit value.
 * Macros rather than a helper so that the assertion names the public builder. */
#define MIDILIB_ASSERT_DATA_BYTE(byte) SMLIB_ASSERT((int8_t)(byte) >= 0)
#define MIDILIB_ASSERT_MESSAGE(data, channelNumber, first, second)                             \
    do {                                                                                   \
        SMLIB_ASSERT(data);                                                                \
        SMLIB_ASSERT(channelNumber <= MIDILIB_ChannelNumber_Max);                          \
        MIDILIB_ASSERT_DATA_BYTE(first);                                                   \
        MIDILIB_ASSERT_DATA_BYTE(second);                                                  \
    } while (0)

static void writeBytes(uint8_t* data, uint8_t status, uint8_t channelNumber, uint8_t first,
                       uint8_t second, int size)
{
    data[0] = (uint8_t)(status | channelNumber);
    data[1] = first;
    if (size == 3) {
        data[2] = second;
    }
}

void midilib_noteOffBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t noteNumber,
                              uint8_t velocity)
{
    MIDILIB_ASSERT_MESSAGE(data, channelNumber, noteNumber, velocity);
    writeBytes(data, 0x80, channelNumber, noteNumber, velocity, 3);
}

void midilib_noteOnBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t noteNumber,
                             uint8_t velocity)
{
    MIDILIB_ASSERT_MESSAGE(data, channelNumber, noteNumber, velocity);
    writeBytes(data, 0x90, channelNumber, noteNumber, velocity, 3);
}

void midilib_polyKeyPressureBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t noteNumber,
                                      uint8_t pressure)
{
    MIDILIB_ASSERT_MESSAGE(data, channelNumber, noteNumber, pressure);
    writeBytes(data, 0xA0, channelNumber, noteNumber, pressure, 3);
}

void midilib_controlChangeBuff_init(uint8_t* data, uint8_t channelNumber,
                                    uint8_t controllerNumber, uint8_t value)
{
    MIDILIB_ASSERT_MESSAGE(data, channelNumber, controllerNumber, value);
    writeBytes(data, 0xB0, channelNumber, controllerNumber, value, 3);
}

void midilib_programChangeBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t number)
{
    MIDILIB_ASSERT_MESSAGE(data, channelNumber, number, 0);
    writeBytes(data, 0xC0, channelNumber, number, 0, 2);
}

void midilib_channelKeyPressureBuff_init(uint8_t* data, uint8_t channelNumber, uint8_t pressure)
{
    MIDILIB_ASSERT_MESSAGE(data, channelNumber, pressure, 0);
    writeBytes(data, 0xD0, channelNumber, pressure, 0, 2);
}

void midilib_pitchBendData_init(uint8_t* data, uint8_t channelNumber, uint8_t first,
                                uint8_t second)
{
    MIDILIB_ASSERT_MESSAGE(data, channelNumber, first, second);
    writeBytes(data, 0xE0, channelNumber, first, second, 3);
}
