// One input port: lists the service's sources, connects to one by index or
// name, and hands every received packet, time-stamped, to its own worker
// thread, which calls the registered callback outside the service's thread.
//
// Threads: open, close, lists and the callback registration on the
// user-interface thread; receivedPacket on the service's thread.
#pragma once

#include <memory>

#include "Midi.h"
#include "MidiDataTransmissionThread.h"

class MidiInputPort : public Midi, private MidiServiceReceiver {
public:
    MidiInputPort(MidiClient* client, uint32_t maximumMessageSize, unsigned int portGroup,
                  uint64_t startHostTime, uint32_t startTimeOfDay);
    // Closes the connection, then stops the worker; queued packets are dropped.
    ~MidiInputPort() override;

    // Rebuilds and returns the source names (empty, with an error, when the
    // service cannot be asked).
    QStringList getInputPortNameList(MIDI_RESULT* result);
    unsigned int getInputPortCount(MIDI_RESULT* result) const;
    // Closes the current connection first. Error (and disconnected) for an
    // index not below the number of sources, a refused connection or an
    // index the last listed names do not reach.
    MIDI_RESULT openInputPort(unsigned int index);
    // Opens the first listed source named exactly name; error and no change
    // when none is.
    MIDI_RESULT openInputPort(const QString& name);
    // Error when not connected or the source is gone; always ends disconnected.
    MIDI_RESULT closeInputPort();
    void setReceivedMidiCallbackFunc(MidiReceivedCallback callback, void* context);
    // Packets the worker's ring dropped and messages the service dropped
    // on their way to this port, counted since the port was made
    // (user-interface thread).
    uint64_t droppedPackets() const;
    // The service of the connected source (null when none) and the source's
    // id: where MIDI thru can start (user-interface thread).
    MidiService* connectedService() const { return m_connectedService; }

private:
    void receivedPacket(const unsigned char* data, unsigned short length,
                        unsigned long long hostTime, bool passedByThru) override;
    void detach();

    std::unique_ptr<MidiDataTransmissionThread> m_worker;
    MidiService* m_connectedService = nullptr;
    uint64_t m_serviceDroppedAtConnect = 0;  // the service's count for the source when it connected
    uint64_t m_serviceDroppedBefore = 0;     // what it dropped for earlier connections
};
