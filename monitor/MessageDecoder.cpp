#include "MessageDecoder.h"

#include <algorithm>
#include <cstdio>

#include "MidiMonitorLine.h"

namespace {

constexpr unsigned char NoteOff = 0, NoteOn = 1, PolyPressure = 2, ControlChange = 3, ProgramChange = 4,
                        ChannelPressure = 5, PitchBend = 6, SystemExclusive = 7;

// The registered parameters with a name, by their number (MSB 0).
const char* const RegisteredNames[] = {"Pitch Bend Sensitivity", "Fine Tuning", "Coarse Tuning",
                                       "Tuning Program Select", "Tuning Bank Select", "Modulation Depth Range"};


QByteArray number(int value)
{
    return value < 0 ? QByteArray("?") : QByteArray::number(value);
}

int fourteenBits(unsigned char lsb, unsigned char msb)
{
    return (lsb & 0x7F) | (msb & 0x7F) << 7;
}

// The maker's ID at data[start]: one byte, or 00 and two more; length
// counts the bytes before F7.
QByteArray makerId(const unsigned char* data, int length, int start, int* size)
{
    char text[12];
    if (start >= length) {
        *size = 0;
        return QByteArray("?");
    }
    if (data[start] == 0x00 && start + 2 < length) {
        std::snprintf(text, sizeof text, "00 %02X %02X", data[start + 1], data[start + 2]);
        *size = 3;
    } else {
        std::snprintf(text, sizeof text, "%02X", data[start]);
        *size = 1;
    }
    return QByteArray(text);
}

void identityReply(QByteArray& line, const unsigned char* data, int length)
{
    // F0 7E dd 06 02 id(1 or 3) family(2) member(2) version(4) F7
    int size = 0;
    const QByteArray maker = makerId(data, length, 5, &size);
    const int at = 5 + size;
    if (at + 8 > length) {
        MidiMonitorLine::appendf(line, "Identity Reply, device %02X, maker %s", data[2], maker.constData());
        return;
    }
    MidiMonitorLine::appendf(line, "Identity Reply, device %02X, maker %s, family %d, member %d, software %d.%d.%d.%d", data[2],
            maker.constData(), fourteenBits(data[at], data[at + 1]), fourteenBits(data[at + 2], data[at + 3]),
            data[at + 4], data[at + 5], data[at + 6], data[at + 7]);
}

}  // namespace

MessageDecoder::MessageDecoder()
{
    reset();
}

void MessageDecoder::reset()
{
    m_ci.reset();
    for (auto& port : m_selections) {
        for (Selection& selection : port) {
            selection = {-1, -1, false, false, -1};
        }
    }
}

void MessageDecoder::decode(QByteArray& line, const unsigned char* data, uint32_t length, unsigned char type,
                            unsigned int port, bool show, int programBase)
{
    if (!data || length == 0 || port > 1) {
        return;
    }
    const int channel = data[0] & 0x0F;
    if (type == ControlChange && length >= 3) {
        controlChange(line, port, channel, data[1] & 0x7F, data[2] & 0x7F, show);
        return;
    }
    if (type == SystemExclusive && CiDecoder::isCi(data, static_cast<int>(length))) {
        // Followed shown or not: a body in chunks is joined either way.
        const int fields = static_cast<int>(length) - (data[length - 1] == 0xF7 ? 1 : 0);
        if (show) {
            line.append(' ');
        }
        m_ci.decode(line, data, fields, port, show);
        return;
    }
    if (!show) {
        return;
    }
    if (type == ProgramChange && length >= 2) {
        MidiMonitorLine::appendf(line, " = %d", (data[1] & 0x7F) + programBase);
    } else if (type == PitchBend && length >= 3) {
        MidiMonitorLine::appendf(line, " = %d", fourteenBits(data[1], data[2]) - 8192);
    } else if ((type == ChannelPressure && length >= 2)) {
        MidiMonitorLine::appendf(line, " = %d", data[1] & 0x7F);
    } else if ((type == PolyPressure || type == NoteOn || type == NoteOff) && length >= 3) {
        return;  // two values: the note's name is shown already
    } else if (type == SystemExclusive) {
        // The fields end before F7.
        const int fields = length - (data[length - 1] == 0xF7 ? 1 : 0);
        if (fields >= 2) {
            line.append(' ');
            systemExclusive(line, data, fields);
        }
    }
}

void MessageDecoder::follow(const unsigned char* data, uint32_t length, unsigned char type, unsigned int port)
{
    QByteArray unused;
    if (type == ControlChange && data && length >= 3 && port <= 1) {
        controlChange(unused, port, data[0] & 0x0F, data[1] & 0x7F, data[2] & 0x7F, false);
    } else if (type == SystemExclusive && port <= 1 && CiDecoder::isCi(data, static_cast<int>(length))) {
        m_ci.decode(unused, data, static_cast<int>(length) - (data[length - 1] == 0xF7 ? 1 : 0), port, false);
    }
}

void MessageDecoder::controlChange(QByteArray& line, unsigned int port, int channel, int controller, int value,
                                   bool show)
{
    Selection& selection = m_selections[port][channel];
    QByteArray text = " = " + QByteArray::number(value);
    switch (controller) {
    case 101:
    case 100:
    case 99:
    case 98: {
        const bool registered = controller >= 100;
        if (selection.chosen && selection.registered != registered) {
            // The other kind's half is no half of this one.
            selection.parameterMsb = -1;
            selection.parameterLsb = -1;
        }
        const bool mostSignificant = controller == 101 || controller == 99;
        (mostSignificant ? selection.parameterMsb : selection.parameterLsb) = value;
        selection.registered = registered;
        selection.chosen = true;
        selection.dataMsb = -1;
        if (selection.parameterMsb == 127 && selection.parameterLsb == 127) {
            // Null in either order: data entry means nothing until a new choice.
            selection = {-1, -1, registered, false, -1};
            text += registered ? " RPN Null" : " NRPN Null";
        }
        break;
    }
    case 6:
    case 38:
    case 96:
    case 97: {
        if (!selection.chosen) {
            break;
        }
        QByteArray parameter = (selection.registered ? " RPN " : " NRPN ") + number(selection.parameterMsb) + ':' +
                               number(selection.parameterLsb);
        if (selection.registered && selection.parameterMsb == 0 && selection.parameterLsb >= 0 &&
            selection.parameterLsb < static_cast<int>(sizeof RegisteredNames / sizeof RegisteredNames[0])) {
            parameter += QByteArray(" ") + RegisteredNames[selection.parameterLsb];
        }
        if (controller == 6) {
            selection.dataMsb = value;
            text = parameter + " = " + QByteArray::number(value);
        } else if (controller == 38) {
            text = parameter + " = " +
                   (selection.dataMsb >= 0 ? QByteArray::number(selection.dataMsb << 7 | value)
                                           : "LSB " + QByteArray::number(value));
        } else {
            text = parameter + (controller == 96 ? " increment" : " decrement");
        }
        break;
    }
    default:
        break;
    }
    if (show) {
        line += text;
    }
}

void MessageDecoder::systemExclusive(QByteArray& line, const unsigned char* data, int length)
{
    const bool universal = data[1] == 0x7E || data[1] == 0x7F;
    if (!universal) {
        int size = 0;
        if (data[1] == 0x7D) {
            line += "Non-Commercial";
        } else {
            MidiMonitorLine::appendf(line, "Maker %s", makerId(data, length, 1, &size).constData());
        }
        return;
    }
    const bool realTime = data[1] == 0x7F;
    if (length < 5) {
        MidiMonitorLine::appendf(line, "Universal %s", realTime ? "Real Time" : "Non-Real Time");
        return;
    }
    const int device = data[2];
    const int subId1 = data[3];
    const int subId2 = data[4];
    if (!realTime && subId1 == 0x06 && subId2 == 0x01) {
        MidiMonitorLine::appendf(line, "Identity Request, device %02X", device);
    } else if (!realTime && subId1 == 0x06 && subId2 == 0x02) {
        identityReply(line, data, length);
    } else if (!realTime && subId1 == 0x09 && subId2 >= 1 && subId2 <= 3) {
        const char* const names[] = {"GM System On", "GM System Off", "GM2 System On"};
        line += names[subId2 - 1];
    } else if (realTime && subId1 == 0x01 && subId2 == 0x01 && length >= 9) {
        const char* const rates[] = {"24", "25", "29.97", "30"};
        MidiMonitorLine::appendf(line, "MTC Full Frame %02d:%02d:%02d:%02d (%s fps)", data[5] & 0x1F, data[6] & 0x7F, data[7] & 0x7F,
                data[8] & 0x7F, rates[data[5] >> 5 & 0x03]);
    } else if (realTime && subId1 == 0x04 && (subId2 == 0x01 || subId2 == 0x02) && length >= 7) {
        const int value = fourteenBits(data[5], data[6]);
        if (subId2 == 0x01) {
            MidiMonitorLine::appendf(line, "Master Volume %d", value);
        } else {
            MidiMonitorLine::appendf(line, "Master Balance %d", value - 8192);
        }
    } else {
        MidiMonitorLine::appendf(line, "Universal %s, device %02X, %02X %02X", realTime ? "Real Time" : "Non-Real Time", device,
                subId1, subId2);
    }
}
