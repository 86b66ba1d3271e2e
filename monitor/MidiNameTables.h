// Names shown for MIDI messages: the monitor's type column, note names and
// controller names. Shared by the monitor, the filter window, the control
// change window and the Views menu.
#pragma once

// Message type codes: the event types 0-17, and 20 for bytes not parsed.
constexpr unsigned char MessageTypeNotParsed = 20;
constexpr int MessageTypeCount = 21;
constexpr int OctaveNoteCount = 12;
constexpr int ControlChangeNameCount = 128;

// Each exactly 8 characters; index = message type code.
extern const char* const MessageType[MessageTypeCount];
// "C", "C#", ... "B".
extern const char* const OctaveNoteList[OctaveNoteCount];
// "000 Bank (MSB)" ... "127 Poly On"; "---" marks an undefined controller.
extern const char* const ControlChangeNameList[ControlChangeNameCount];

// The filter's kinds, in the order of their parameters: message kinds,
// system common and system real-time messages (also the INI keys).
constexpr int MessageFilterNameCount = 10;
constexpr int SystemCommonFilterNameCount = 4;
constexpr int SystemRealtimeFilterNameCount = 6;
extern const char* const MessageFilterNames[MessageFilterNameCount];
extern const char* const SystemCommonFilterNames[SystemCommonFilterNameCount];
extern const char* const SystemRealtimeFilterNames[SystemRealtimeFilterNameCount];
