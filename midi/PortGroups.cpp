#include "PortGroups.h"

#include "MidiCommon.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiTime.h"

void PortGroups::create(MidiClient* client, std::unique_ptr<MidiInputPort> (&inputs)[2],
                        std::unique_ptr<MidiOutputPort> (&outputs)[2])
{
    const uint32_t timeOfDay = getCurrentTimeInMilliseconds();
    const uint64_t hostTime = getHostTimeInMilliseconds();
    for (unsigned int group = 0; group < 2; group++) {
        inputs[group] = std::make_unique<MidiInputPort>(client, MaximumPacketSize, group, hostTime, timeOfDay);
        outputs[group] = std::make_unique<MidiOutputPort>(client, MaximumMessageSize, group, hostTime, timeOfDay);
    }
}
