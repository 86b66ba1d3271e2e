// Turns all MIDI traffic into text. Every packet from both input ports is
// parsed, its timing clocks timed, filtered, passed through to the output
// of the same group when MIDI thru is on, and written as monitor lines;
// received system exclusive messages also become hexadecimal text for the
// editors. Sent messages are reported here too and become output lines.
// The main window's timer collects the texts every 100 ms (getMidiData).
//
// Threads: receivedMidi on the input workers; setTransmittedMidiData on
// every sender, including MIDI thru from inside receivedMidi; getMidiData,
// the tempo calls and updateParameter on the user-interface thread.
// Locks: one recursive mutex held by every operation for its whole length;
// MIDI thru sends while holding it (an output port's lock is taken inside,
// never the other way round), and the send echoes back into
// setTransmittedMidiData on the same thread.
#pragma once

#include <QByteArray>

#include <functional>
#include <mutex>

#include "MidiCommon.h"
#include "MidiMonitorLine.h"
#include "ModelAssistant.h"
#include "midilib_filter.h"
#include "midilib_parser.h"
#include "midilib_tempoMeasure.h"

class OstrelModel;

// How MIDI thru sends: the main window's transmit operation, with its
// arguments (bytes, length, message type, output group, skip the bulk
// interval, reserved, host time). It is called with the analyzer's lock
// held and must take the output port's lock inside; true when sent.
using MidiThruTransmitter =
    std::function<bool(const unsigned char* data, unsigned short length, unsigned char type,
                       OutputPortGroup group, bool skipBulkInterval, bool reserved,
                       unsigned long long hostTime)>;

class MidiAnalyzer : public ModelAssistant {
public:
    // Reads the output switches from the model and registers with it. The
    // filter starts with everything passing: saved filter settings arrive
    // as parameter changes.
    explicit MidiAnalyzer(OstrelModel* model);
    ~MidiAnalyzer() override;

    MidiAnalyzer(const MidiAnalyzer&) = delete;
    MidiAnalyzer& operator=(const MidiAnalyzer&) = delete;

    // Installed by the main window; without one, MIDI thru sends nothing.
    void setThruTransmitter(MidiThruTransmitter transmitter);

    // The input workers' callback: context is the analyzer.
    static void callbackReceivedMidi(void* context, const unsigned char* data,
                                     unsigned short length, unsigned int timeStamp,
                                     unsigned long long hostTimeStamp, unsigned int portGroup);
    void receivedMidi(const unsigned char* data, unsigned short length, unsigned int timeStamp,
                      unsigned long long hostTimeStamp, unsigned int portGroup);
    // One output line for a message sent on group (type 20 while the parser is off).
    void setTransmittedMidiData(const unsigned char* data, unsigned short length,
                                unsigned int timeStamp, unsigned char type, OutputPortGroup group);
    // Hands over and empties the three texts and their byte counts; true
    // when any count was not 0.
    bool getMidiData(QByteArray& received, unsigned int& receivedCount, QByteArray& sysEx,
                     unsigned int& sysExCount, QByteArray& transmitted,
                     unsigned int& transmittedCount);
    void clearTransmittedDataBuffer();
    // Tenths of a beat per minute, 0 while no tempo is measured.
    unsigned int getReceivedTimingClock();
    void updateTempo(unsigned int elapsedMicroseconds);

    void updateParameter(unsigned int id) override;

private:
    void receivedParsed(const unsigned char* data, unsigned short length, unsigned int timeStamp,
                        unsigned long long hostTimeStamp, unsigned int portGroup);
    void passThrough(const unsigned char* data, unsigned short length, unsigned char type,
                     unsigned int portGroup, unsigned long long hostTimeStamp);
    void appendMessageToBuffer(const unsigned char* data, unsigned short length,
                               unsigned char type, unsigned int timeStamp, unsigned int group);
    void updateFilterSwitch(unsigned int id, uint8_t on);
    int value(unsigned int id) const;

    midilib_parser m_parsers[2];
    midilib_filter m_filter;
    midilib_tempoMeasure m_tempoMeasure;
    std::recursive_mutex m_mutex;
    QByteArray m_receivedSysExText;
    unsigned int m_receivedSysExCount = 0;
    QByteArray m_receivedText;
    unsigned int m_receivedCount = 0;
    QByteArray m_transmittedText;
    unsigned int m_transmittedCount = 0;
    bool m_thru[2] = {false, false};
    MidiMonitorLineFormat m_format;
    bool m_parsed = true;
    OstrelModel* m_model;
    bool m_monitorPort[2] = {true, true};
    MidiThruTransmitter m_transmitter;
    midilib_event m_event;  // the event being handled; under the mutex
    midilib_data m_encoded;  // its bytes again; under the mutex
};
