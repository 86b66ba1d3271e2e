/*
 * midilib_filter: decides for one decoded event whether it passes. A flat
 * record of switches; a set switch rejects the messages it covers. Knows
 * nothing of parameters. No allocation, no locking; one user at a time.
 */
#ifndef MIDILIB_FILTER_H
#define MIDILIB_FILTER_H

#include <stdint.h>

#include "midilib_constants.h"
#include "midilib_event.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Event groups of eventGroupSwitch. */
#define MIDILIB_Filter_EventGroup_Channel 0
#define MIDILIB_Filter_EventGroup_SystemCommon 1
#define MIDILIB_Filter_EventGroup_SystemRealTime 2
#define MIDILIB_Filter_EventGroup_SystemExclusive 3

typedef struct midilib_filter {
    uint8_t throughSwitch;                                           /* rejects everything */
    uint8_t channelSwitch[MIDILIB_ChannelNumber_Max + 1];            /* by channel 0-15 */
    uint8_t eventGroupSwitch[MIDILIB_Filter_EventGroup_Max + 1];     /* by group 0-3 */
    uint8_t eventSwitch[MIDILIB_Event_Type_Max + 1];                 /* by event type 0-17 */
    uint8_t controllerSwitch[MIDILIB_ControllerNumber_Max + 1];      /* by controller 0-127 */
} midilib_filter;

/* Every switch off. Asserts self. */
void midilib_filter_init(midilib_filter* self);
void midilib_filter_setThroughSwitch(midilib_filter* self, uint8_t on);
/* Asserts self and channel 0-15. */
void midilib_filter_setChannelSwitch(midilib_filter* self, uint8_t channelNumber, uint8_t on);
/* Asserts self and group 0-3. */
void midilib_filter_setEventGroupSwitch(midilib_filter* self, uint8_t eventGroup, uint8_t on);
/* Asserts self and type 0-17. */
void midilib_filter_setEventSwitch(midilib_filter* self, uint8_t eventType, uint8_t on);
/* Asserts self and controller 0-127. */
void midilib_filter_setControllerSwitch(midilib_filter* self, uint8_t controllerNumber,
                                        uint8_t on);
/* 0 when the event passes, -1 when it is rejected. A note-on with velocity 0
 * is judged by the note-off switch. Asserts self and event. */
int32_t midilib_filter_apply(const midilib_filter* self, const midilib_event* event);

#ifdef __cplusplus
}
#endif

#endif
