// Arbitrary packets on both input groups, with arbitrary monitor, thru and
// filter settings, through the analyzer. No crash; every message passed
// through in parsed mode is one complete, valid MIDI message. Each packet
// also goes through the MIDI-CI decoder as a message's fields.
//
// Input layout: byte 0 switches (parsed, thru 1, thru 2, details, time
// stamps, time format, monitor 1, monitor 2), byte 1 middle C, bytes 2-5
// filter parameters to switch on (an index into the filter ids), then
// packets: a length byte (high bit: second group) and that many bytes.
#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "CiDecoder.h"
#include "MidiAnalyzer.h"
#include "MidiNameTables.h"
#include "MidiSender.h"
#include "OstrelModel.h"
#include "midilib_status.h"

namespace {

void require(bool condition)
{
    if (!condition) {
        abort();
    }
}

bool checkThruMessage(const unsigned char* data, uint32_t length, unsigned char type,
                      OutputPortGroup group)
{
    require(group == OutputPortGroup_First || group == OutputPortGroup_Second);
    require(length > 0);
    if (type == MessageTypeNotParsed) {
        return true;  // the parser is off: the packet passes as it came
    }
    require(data[0] >= 0x80);
    uint64_t end = length;
    if (data[0] == 0xF0) {
        require(length >= 2 && length <= MaximumReceivedMessageSize && data[length - 1] == 0xF7);
        end = length - 1u;
    } else {
        require(length == midilib_status_messageSize(data[0]));
    }
    for (uint64_t i = 1; i < end; i++) {
        require(data[i] < 0x80);
    }
    return true;
}

// Checks what MIDI thru sends, as the application's sending path would get it.
class CheckingSender : public MidiSender {
public:
    bool send(const unsigned char* bytes, uint32_t length, unsigned char eventType,
              OutputPortGroup group, bool, unsigned long long) override
    {
        return checkThruMessage(bytes, length, eventType, group);
    }
    bool isRestoringWindows() const override { return false; }
};

unsigned int filterId(uint8_t index)
{
    const unsigned int firsts[] = {ParamChannelFilterFirst, ParamMessageFilterFirst,
                                   ParamControlChangeFilterFirst, ParamSystemCommonFilterFirst,
                                   ParamSystemRealtimeFilterFirst};
    const unsigned int counts[] = {ParamChannelFilterCount, ParamMessageFilterCount,
                                   ParamControlChangeFilterCount, ParamSystemCommonFilterCount,
                                   ParamSystemRealtimeFilterCount};
    const unsigned int block = index % 5;
    return firsts[block] + (index / 5u) % counts[block];
}

// The packet's bytes as the fields of a MIDI-CI message (F0 7E 7F 0D ...
// F7), through a decoder that keeps its bodies across inputs: whatever the
// fields, a line that names MIDI-CI and nothing else.
void decodeAsCi(const uint8_t* bytes, size_t length, unsigned int port)
{
    static CiDecoder decoder;
    QByteArray message = QByteArray::fromHex("F07E7F0D");
    for (size_t i = 0; i < length; i++) {
        message += static_cast<char>(bytes[i] & 0x7F);
    }
    QByteArray line;
    decoder.decode(line, reinterpret_cast<const unsigned char*>(message.constData()), message.size(), port, true);
    require(line.startsWith("MIDI-CI "));
    require(line.size() <= 4 * CiDecoder::LargestBody + 4096);  // \xNN for each byte at most
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    static auto model = std::make_unique<OstrelModel>();
    static CheckingSender sender;
    static auto analyzer = [] {
        auto created = std::make_unique<MidiAnalyzer>(model.get());
        created->setThruSender(&sender);
        return created;
    }();
    if (size < 6) {
        return 0;
    }
    const uint8_t switches = input[0];
    const unsigned int ids[] = {ParamMessageParsed, ParamMidiThru,     ParamMidiThruSecond,
                                ParamMessageDetail, ParamTimeStamp,    ParamMessageTimeFormat,
                                ParamMonitorPort1,  ParamMonitorPort2};
    for (int bit = 0; bit < 8; bit++) {
        model->setModelIntValue(ids[bit], (switches >> bit) & 1);
    }
    model->setModelIntValue(ParamMessageMiddleC, input[1] % 3);
    model->setModelIntValue(ParamMessageTimeFormat, input[1] / 3 % 3);  // clock, integer or delta
    for (int i = 2; i < 6; i++) {
        model->setModelIntValue(filterId(input[i]), 1);
    }
    size_t at = 6;
    unsigned int time = 0;
    while (at < size) {
        const unsigned int group = input[at] >> 7;
        size_t length = input[at] & 0x7F;
        at++;
        if (length > size - at) {
            length = size - at;
        }
        if (length > 0) {
            analyzer->receivedMidi(input + at, static_cast<unsigned short>(length), time += 7, 1,
                                   group);
            decodeAsCi(input + at, length, group);
        }
        at += length;
    }
    QByteArray received, sysEx, transmitted;
    unsigned int receivedCount = 0, sysExCount = 0, transmittedCount = 0;
    analyzer->getMidiData(received, receivedCount, sysEx, sysExCount, transmitted,
                          transmittedCount);
    for (int i = 2; i < 6; i++) {
        model->setModelIntValue(filterId(input[i]), 0);
    }
    return 0;
}
