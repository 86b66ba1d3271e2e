#include "midilib_status.h"

#include "smlib_assert.h"

/* Lengths of the system messages F0-FF; the undefined F4, F5, F9, FD and the
 * end of exclusive F7 start nothing. */
static const uint16_t systemMessageSize[16] = {
    MIDILIB_SystemExclusive_Size_Max, 2, 3, 2, 0, 0, 1, 0, 1, 0, 1, 1, 1, 0, 1, 1};

/* Lengths of the channel messages 0x8n-0xEn by high nibble. */
static const uint8_t channelMessageSize[7] = {3, 3, 3, 3, 2, 2, 3};

int midilib_status_check(uint8_t status)
{
    return status >= 0x80 && midilib_status_messageSize(status) != 0;
}

uint8_t midilib_status_plain(uint8_t status)
{
    return midilib_status_isChannelMessage(status) ? (uint8_t)(status & 0xF0) : status;
}

uint64_t midilib_status_messageSize(uint8_t status)
{
    if (status < 0x80) {
        return 0;
    }
    if (status >= 0xF0) {
        return systemMessageSize[status & 0x0F];
    }
    return channelMessageSize[(status >> 4) - 8];
}

int midilib_status_isChannelMessage(uint8_t status)
{
    return status >= 0x80 && status <= 0xEF;
}

uint8_t midilib_status_getChannelNumber(uint8_t status)
{
    return midilib_status_isChannelMessage(status) ? (uint8_t)(status & 0x0F)
                                                   : (uint8_t)MIDILIB_ChannelNumber_None;
}

uint8_t midilib_status_setChannelNumber(uint8_t* status, uint8_t channelNumber)
{
    SMLIB_ASSERT(status);
    SMLIB_ASSERT(channelNumber <= MIDILIB_ChannelNumber_Max);
    if (midilib_status_isChannelMessage(*status)) {
        *status = (uint8_t)((*status & 0xF0) | channelNumber);
    }
    return *status;
}
