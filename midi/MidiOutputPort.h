// One output port: lists the service's destinations, connects to one by
// index or name, and sends byte sequences at once.
//
// Threads: transmitMidi from any thread (user interface, MIDI thru on the
// input workers, the generator windows' sending threads); open and close
// from the user-interface thread. The port mutex serialises all three; a
// Bluetooth pacing wait holds it, delaying other senders on this port.
#pragma once

#include <QElapsedTimer>

#include <memory>
#include <mutex>

#include "Midi.h"

class MidiOutputPort : public Midi {
public:
    MidiOutputPort(MidiClient* client, unsigned short maximumMessageSize, unsigned int portGroup,
                   uint64_t startHostTime, uint32_t startTimeOfDay);
    ~MidiOutputPort() override;

    QStringList getOutputPortNameList(MIDI_RESULT* result);
    unsigned int getOutputPortCount(MIDI_RESULT* result) const;
    // An index not below the number of destinations: error, connection
    // unchanged. A refused connection or an index the last listed names do
    // not reach: error, disconnected. Replaces the destination otherwise.
    MIDI_RESULT openOutputPort(unsigned int index);
    MIDI_RESULT openOutputPort(const QString& name);
    // Forgets the destination; error when there was none.
    MIDI_RESULT closeOutputPort();
    // Sends one message now (hostTime 0) and sets timeStamp to the time of
    // sending. Error when not connected, for a length of 0 or above the
    // maximum message size, and when the service refuses (destination gone).
    MIDI_RESULT transmitMidi(const unsigned char* data, unsigned short length,
                             unsigned int& timeStamp, unsigned long long hostTime);
    bool isBluetooth() const;

private:
    void releaseDestination();  // mutex held
    void paceBluetooth(unsigned short length);

    mutable std::mutex m_mutex;
    MidiService* m_destinationService = nullptr;  // null: no destination
    int32_t m_destinationId = InvalidPortRef;
    bool m_isBluetooth = false;
    std::unique_ptr<QElapsedTimer> m_stopwatch;
    unsigned short m_maximumMessageSize;
};
