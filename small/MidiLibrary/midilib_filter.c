#include "midilib_filter.h"

#include <string.h>

#include "smlib_assert.h"

void midilib_filter_init(midilib_filter* self)
{
    SMLIB_ASSERT(self);
    memset(self, 0, sizeof(*self));
}

void midilib_filter_setThroughSwitch(midilib_filter* self, uint8_t on)
{
    SMLIB_ASSERT(self);
    self->throughSwitch = on;
}

void midilib_filter_setChannelSwitch(midilib_filter* self, uint8_t channelNumber, uint8_t on)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(channelNumber <= MIDILIB_ChannelNumber_Max);
    self->channelSwitch[channelNumber] = on;
}

void midilib_filter_setEventGroupSwitch(midilib_filter* self, uint8_t eventGroup, uint8_t on)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(eventGroup <= MIDILIB_Filter_EventGroup_Max);
    self->eventGroupSwitch[eventGroup] = on;
}

void midilib_filter_setEventSwitch(midilib_filter* self, uint8_t eventType, uint8_t on)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(eventType <= MIDILIB_Event_Type_Max);
    self->eventSwitch[eventType] = on;
}

void midilib_filter_setControllerSwitch(midilib_filter* self, uint8_t controllerNumber, uint8_t on)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(controllerNumber <= MIDILIB_ControllerNumber_Max);
    self->controllerSwitch[controllerNumber] = on;
}

static int32_t applyChannelMessage(const midilib_filter* self, const midilib_event* event)
{
    if (self->eventGroupSwitch[MIDILIB_Filter_EventGroup_Channel] ||
        self->channelSwitch[event->channelNumber & 0x0F]) {
        return -1;
    }
    uint8_t index = event->type;
    if (event->type == MIDILIB_Event_Type_NoteOn && event->payload.dataBytes.secondByte == 0) {
        index = MIDILIB_Event_Type_NoteOff;
    }
    if (self->eventSwitch[index]) {
        return -1;
    }
    if (event->type == MIDILIB_Event_Type_ControlChange &&
        self->controllerSwitch[event->payload.dataBytes.firstByte & 0x7F]) {
        return -1;
    }
    return 0;
}

static uint8_t groupOf(uint8_t type)
{
    if (type == MIDILIB_Event_Type_SystemExclusive) {
        return MIDILIB_Filter_EventGroup_SystemExclusive;
    }
    return (type <= MIDILIB_Event_Type_TuneRequest) ? MIDILIB_Filter_EventGroup_SystemCommon
                                                    : MIDILIB_Filter_EventGroup_SystemRealTime;
}

int32_t midilib_filter_apply(const midilib_filter* self, const midilib_event* event)
{
    SMLIB_ASSERT(self);
    SMLIB_ASSERT(event);
    if (self->throughSwitch || event->type > MIDILIB_Event_Type_Max) {
        return -1;
    }
    if (event->type <= MIDILIB_Event_Type_PitchBend) {
        return applyChannelMessage(self, event);
    }
    if (self->eventGroupSwitch[groupOf(event->type)] || self->eventSwitch[event->type]) {
        return -1;
    }
    return 0;
}
