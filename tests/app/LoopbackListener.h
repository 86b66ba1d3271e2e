// What the main window sends on its first output, heard back: the output
// goes to "Ostrel Loopback 1", and a second input port on that loopback
// hands every packet to a collector. Null when the port cannot be opened.
#pragma once

#include <memory>

#include "MainWindow.h"
#include "PortSet.h"
#include "MidiInputPort.h"
#include "PacketCollector.h"

inline std::unique_ptr<MidiInputPort> listenToLoopback(MainWindow& window, PacketCollector& collector)
{
    if (!window.ports()->outputPortMenuSelected(OutputPortGroup_First, 0)) {  // Loopback 1
        return nullptr;
    }
    auto listener = std::make_unique<MidiInputPort>(window.ports()->client(), 16384, 0, 0, 0);
    collector.attach(*listener);
    if (listener->openInputPort(QStringLiteral("Ostrel Loopback 1")) != MIDI_RESULT_SUCCESS) {
        return nullptr;
    }
    return listener;
}
