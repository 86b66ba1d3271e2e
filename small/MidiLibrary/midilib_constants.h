/*
 * Value ranges shared by the MIDI library and its users (all inclusive).
 * Channel numbers are 0-based inside the library: 0 is MIDI channel 1.
 */
#ifndef MIDILIB_CONSTANTS_H
#define MIDILIB_CONSTANTS_H

#define MIDILIB_ChannelNumber_Min 0
#define MIDILIB_ChannelNumber_Max 15
#define MIDILIB_NoteNumber_Min 0
#define MIDILIB_NoteNumber_Max 127
#define MIDILIB_Velocity_Min 0
#define MIDILIB_Velocity_Max 127
#define MIDILIB_KeyPressure_Min 0
#define MIDILIB_ControllerNumber_Min 0
#define MIDILIB_ControllerNumber_Max 127
#define MIDILIB_ControllerValue_Min 0
#define MIDILIB_ControllerValue_Max 127
#define MIDILIB_ProgramNumber_Min 0
#define MIDILIB_ProgramNumber_Max 127
#define MIDILIB_Event_Type_Min 0
#define MIDILIB_Event_Type_Max 17
/* Tenths of a beat per minute. */
#define MIDILIB_Tempo_Max 3000
#define MIDILIB_Filter_EventGroup_Min 0
#define MIDILIB_Filter_EventGroup_Max 3

/* Channel number of every system message. */
#define MIDILIB_ChannelNumber_None 255
/* Largest system exclusive message, F0 and F7 included. */
#define MIDILIB_SystemExclusive_Size_Max 16384

#endif
