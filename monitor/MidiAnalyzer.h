// Turns all MIDI traffic into text. Every packet from both input ports is
// parsed, its timing clocks timed, filtered, passed through to the output
// of the same group when MIDI thru is on, and written as monitor lines;
// received system exclusive messages also become hexadecimal text for the
// editors. One longer than the parser's buffer is joined from its pieces
// (a buffer per input, outside any real-time thread) and handled whole up
// to MaximumReceivedMessageSize; a longer one becomes a line that says its
// length and that it was not kept, and counts as lost (lostMessages).
// Sent messages are reported here too and become output lines.
// The main window's timer collects the texts every 100 ms (getMidiData);
// it may sleep while nothing happens (markIdle), and the first text after
// that wakes it (the wake-up call, on the thread that brought the text,
// with no lock held).
//
// Threads: receivedMidi on the input workers; setTransmittedMidiData on
// every sender, including MIDI thru; getMidiData, the tempo calls and
// updateParameter on the user-interface thread; setThruSender on the
// user-interface thread while no worker delivers.
// Locks: one mutex, held by every operation for its own short work only.
// MIDI thru messages are collected under it (per calling thread) and sent
// in order after it is released, each with the received packet's own host
// time, so a send that waits for a slow port never holds up the monitors,
// the tempo or another sender; the send's report comes back through
// setTransmittedMidiData, which takes the mutex anew. A system exclusive
// longer than the thru outputs take is not sent; a line says so (the mutex
// taken anew for it).
#pragma once

#include <QByteArray>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "MidiCommon.h"
#include "MidiService.h"
#include "MessageDecoder.h"
#include "MidiMonitorLine.h"
#include "ModelAssistant.h"
#include "midilib_filter.h"
#include "midilib_parser.h"
#include "midilib_tempoMeasure.h"

class MidiSender;
class OstrelModel;

class MidiAnalyzer : public ModelAssistant {
public:
    // Reads the output switches from the model and registers with it. The
    // filter starts with everything passing: saved filter settings arrive
    // as parameter changes.
    explicit MidiAnalyzer(OstrelModel* model);
    ~MidiAnalyzer() override;

    MidiAnalyzer(const MidiAnalyzer&) = delete;
    MidiAnalyzer& operator=(const MidiAnalyzer&) = delete;

    // Installed by the application (it outlives every worker that delivers
    // while it is set); without one, MIDI thru sends nothing. Thru sends to
    // the output group of the input's group, without the bulk interval.
    void setThruSender(MidiSender* sender);
    // A packet whose thru its service passed itself (in the cycle it came
    // in) comes with PassedByServiceThru added to its port group: the
    // analyzer then sends nothing of it (a system exclusive joined from
    // pieces when every piece came so), and the service's reports come back as
    // setTransmittedMidiData and sayThruRefused. Decided packet by packet,
    // nothing is passed twice or lost while a route is set up or taken back.
    // What such a service needs to pass an input's thru as the analyzer
    // would: on, parsed and the filter (the route's endpoints left empty).
    ThruRoute thruRoute(unsigned int group) const;
    // Called on the user-interface thread, no lock held, after a thru,
    // parser or filter setting changed. Set before the model changes.
    void setThruSettingsListener(std::function<void()> listener) { m_thruSettingsChanged = std::move(listener); }
    // A line in the In monitor for a thru message an output could not take:
    // longer than largest bytes, or no room (largest 0). Any thread.
    void sayThruRefused(uint32_t length, uint32_t largest);
    // Set by the owner before any worker delivers; called when text arrives
    // while marked idle, once per markIdle.
    void setWakeUp(std::function<void()> wakeUp) { m_wakeUp = std::move(wakeUp); }
    // The owner's timer means to sleep: true when no text waits (the next
    // text then calls the wake-up), false when some does (keep taking it).
    bool markIdle();

    // The input workers' callback: context is the analyzer.
    static void callbackReceivedMidi(void* context, const unsigned char* data,
                                     unsigned short length, unsigned int timeStamp,
                                     unsigned long long hostTimeStamp, unsigned int portGroup);
    void receivedMidi(const unsigned char* data, unsigned short length, unsigned int timeStamp,
                      unsigned long long hostTimeStamp, unsigned int portGroup);
    // One output line for a message sent on group (type 20 while the parser is off).
    void setTransmittedMidiData(const unsigned char* data, uint32_t length,
                                unsigned int timeStamp, unsigned char type, OutputPortGroup group);
    // Hands over and empties the three texts and their byte counts; true
    // when any count or text was not empty.
    bool getMidiData(QByteArray& received, unsigned int& receivedCount, QByteArray& sysEx,
                     unsigned int& sysExCount, QByteArray& transmitted,
                     unsigned int& transmittedCount);
    void clearTransmittedDataBuffer();
    // The messages the MIDI In monitor shows, kept while recording is on
    // and handed over (swapped) with takeRecording, for a MIDI file.
    // With each message its monitor line as the In monitor shows it
    // (without the line break before it, decoded parameters included); a
    // system exclusive too long to keep comes with its line and no bytes.
    struct RecordedMessage {
        uint64_t hostTime;  // ns
        size_t offset;      // into bytes
        uint32_t length;
        bool parsed;        // false: a raw packet (parser off)
        unsigned char type;  // a midilib event type, MessageTypeNotParsed for a raw packet
        unsigned char group;  // the input
        int lineOffset;      // into lines
        int lineLength;
    };
    struct Recording {
        std::vector<unsigned char> bytes;
        std::vector<RecordedMessage> messages;
        QByteArray lines;
    };
    void setRecording(bool on);
    // Messages received on an input (group 0 or 1) since the analyzer began,
    // filtered or not (packets while the parser is off).
    uint64_t receivedMessages(unsigned int group) const;
    // Received messages too long to keep, since the analyzer began.
    uint64_t lostMessages(unsigned int group) const;
    void takeRecording(Recording& into);
    // Tenths of a beat per minute, 0 while no tempo is measured.
    unsigned int getReceivedTimingClock();
    void updateTempo(unsigned int elapsedMicroseconds);

    void updateParameter(unsigned int id) override;

private:
    // The thru messages of one packet, collected under the mutex.
    struct ThruMessage {
        size_t offset;  // into bytes
        uint32_t length;
        unsigned char type;
    };
    struct ThruBatch {
        std::vector<unsigned char> bytes;
        std::vector<ThruMessage> messages;
    };
    static ThruBatch& threadThruBatch();

    void receivedParsed(const unsigned char* data, unsigned short length, unsigned int timeStamp,
                        uint64_t hostTime, unsigned int portGroup, ThruBatch& batch);
    // A piece of a long system exclusive (m_event): joined, and the whole
    // handled as any message when its last piece comes.
    void receivedPiece(unsigned int group, unsigned int timeStamp, uint64_t hostTime, ThruBatch& batch);
    // The parameter choices of a message the filter hides (m_event).
    void followHidden(unsigned int portGroup);
    // After text was added, no lock held: the wake-up, when marked idle.
    void wakeIfIdle();
    void appendTransmitted(const unsigned char* data, uint32_t length, unsigned int timeStamp, unsigned char type,
                           OutputPortGroup group);
    // byService: the service passed it (see callbackReceivedMidi).
    void passThrough(ThruBatch& batch, const unsigned char* data, uint32_t length,
                     unsigned char type, unsigned int portGroup, bool byService);
    void appendMessageToBuffer(const unsigned char* data, uint32_t length, unsigned char type,
                               unsigned int timeStamp, uint64_t hostTime, unsigned int group);
    // The message whose monitor line begins at lineStart of the received
    // text, kept while recording (length 0: a message too long to keep).
    void record(const unsigned char* data, uint32_t length, unsigned char type, unsigned int group, int lineStart);
    // The time since the last line of a monitor's text (hostTime in
    // nanoseconds, 0 for now), which becomes the last line's time.
    static uint64_t sinceLastLine(uint64_t& lastLine, uint64_t hostTime);
    // One setting under the mutex: true when thru depends on it.
    bool updateSetting(unsigned int id, int v);
    // False when id is no filter setting.
    bool updateFilterSwitch(unsigned int id, uint8_t on);
    int value(unsigned int id) const;

    midilib_parser m_parsers[2];
    midilib_filter m_filter;
    midilib_tempoMeasure m_tempoMeasure;
    mutable std::mutex m_mutex;
    QByteArray m_receivedSysExText;
    unsigned int m_receivedSysExCount = 0;
    QByteArray m_receivedText;
    unsigned int m_receivedCount = 0;
    QByteArray m_transmittedText;
    unsigned int m_transmittedCount = 0;
    uint64_t m_lastReceivedLine = 0;     // host times (ns) of the last lines
    uint64_t m_lastTransmittedLine = 0;
    bool m_thru[2] = {false, false};
    bool m_packetByService = false;  // the packet being handled; under the mutex
    std::function<void()> m_thruSettingsChanged;
    MidiMonitorLineFormat m_format;
    int m_programBase = 1;
    MessageDecoder m_receivedDecoder;     // the In monitor's parameter choices
    MessageDecoder m_transmittedDecoder;  // the Out monitor's
    uint64_t m_receivedMessages[2] = {0, 0};
    struct LongMessage {
        std::vector<unsigned char> bytes;  // what is kept, at most MaximumReceivedMessageSize
        uint64_t length = 0;               // every byte so far
        bool open = false;
        bool byService = false;  // every piece so far passed by the service
    };
    LongMessage m_long[2];
    uint64_t m_lostMessages[2] = {0, 0};
    bool m_recording = false;
    Recording m_recorded;
    bool m_parsed = true;
    OstrelModel* m_model;
    bool m_monitorPort[2] = {true, true};
    MidiSender* m_thruSender = nullptr;
    std::function<void()> m_wakeUp;
    std::atomic<bool> m_idle{false};
    midilib_event m_event;  // the event being handled; under the mutex
    midilib_data m_encoded;  // its bytes again; under the mutex
};
