// Results, port groups and constants shared by the MIDI port layer and its
// users.
#pragma once

#include <cstdint>

enum MIDI_RESULT {
    MIDI_RESULT_SUCCESS = 0,
    MIDI_RESULT_ERROR = 1,
};

// Writes value through result when result is not null.
inline void setMidiResult(MIDI_RESULT* result, MIDI_RESULT value)
{
    if (result) {
        *result = value;
    }
}

enum InputPortGroup {
    InputPortGroup_First = 0,
    InputPortGroup_Second = 1,
};

// OutputPortGroup_Both asks the main window to send the same bytes to both
// output ports; no port accepts it.
enum OutputPortGroup {
    OutputPortGroup_First = 0,
    OutputPortGroup_Second = 1,
    OutputPortGroup_Both = 2,
};

// Length of the time-stamp day.
constexpr uint32_t MsecsPerDay = 86400000u;
// Added to a stopwatch difference that went negative.
constexpr int64_t ElapsedTimeMax = 86400000;
// Added to a host-time difference when the host clock went backwards.
constexpr uint64_t HostTimeMaxValue = UINT64_MAX;
constexpr int32_t InvalidPortIndex = -1;
constexpr int32_t InvalidPortId = 0x7FFFFFFF;
constexpr int32_t InvalidPortRef = -1;
// Bytes of a time stamp in a worker ring record.
constexpr unsigned int TimeStampDataSize = 4;
// The largest message the application sends: a firmware image may be one
// system exclusive.
constexpr uint32_t MaximumMessageSize = 16u << 20;
// The largest packet a service hands a receiver; a longer message comes in
// several, which the parser joins.
constexpr uint32_t MaximumPacketSize = 16384;
// Added to the port group a received packet's callback gets when the MIDI
// service passed the packet's MIDI thru itself (JACK, in the cycle it came
// in): the analyzer then passes nothing of it.
constexpr unsigned int PassedByServiceThru = 0x100;
// The largest received system exclusive kept whole (the editors, MIDI thru,
// the monitors' texts); a longer one is said and counted lost.
constexpr uint32_t MaximumReceivedMessageSize = 1u << 20;

// Port name shown when no endpoint is connected.
inline constexpr const char* NoAssign = "Not Connected";
// Destination name that marks a Bluetooth output, paced at three bytes per ms.
inline constexpr const char* BluetoothDevicePropertyName = "Bluetooth";
