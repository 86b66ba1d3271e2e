// The two inputs and two outputs a program opens on one client, created on
// one time origin: every time stamp they give compares with every other.
// Call on the thread that owns the client.
#pragma once

#include <memory>

class MidiClient;
class MidiInputPort;
class MidiOutputPort;

class PortGroups {
public:
    static void create(MidiClient* client, std::unique_ptr<MidiInputPort> (&inputs)[2],
                       std::unique_ptr<MidiOutputPort> (&outputs)[2]);
};
