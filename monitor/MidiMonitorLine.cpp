#include "MidiMonitorLine.h"

#include <cstdarg>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "MidiNameTables.h"

namespace {

const char HexDigits[] = "0123456789ABCDEF";

// Writes value as exactly digits decimal digits with leading zeros.
char* putDecimal(char* out, unsigned int value, int digits)
{
    for (int i = digits - 1; i >= 0; i--) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + digits;
}

char* putText(char* out, const char* text)
{
    const size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

// Milliseconds with three decimals, right-aligned in twelve places.
char* putDelta(char* out, uint64_t nanoseconds)
{
    const uint64_t microseconds = std::min<uint64_t>(nanoseconds / 1000u, 99999999999ull);
    return out + std::sprintf(out, "%8u.%03u ", static_cast<unsigned int>(microseconds / 1000u),
                              static_cast<unsigned int>(microseconds % 1000u));
}

char* putTimeStamp(char* out, unsigned int t, int timeFormat)
{
    if (timeFormat == 0) {
        out = putDecimal(out, t / 3600000, 2);
        *out++ = ':';
        out = putDecimal(out, t % 3600000 / 60000, 2);
        *out++ = ':';
        out = putDecimal(out, t / 1000 % 60, 2);
        *out++ = ':';
        out = putDecimal(out, t % 1000, 3);
    } else {
        out = putDecimal(out, t, 12);
    }
    *out++ = ' ';
    return out;
}

char* putDetailColumns(char* out, const unsigned char* data, uint32_t length,
                       unsigned char type, unsigned int portGroup)
{
    out = putText(out, "Port");
    out += std::sprintf(out, "%u ", portGroup + 1);
    if (type <= 6 && length > 0) {
        const unsigned int channel = (data[0] & 0x0F) + 1u;
        out += std::sprintf(out, channel < 10 ? "Ch %u " : "Ch%u ", channel);
    } else {
        out = putText(out, "---- ");
    }
    out = putText(out, MessageType[type < MessageTypeCount ? type : MessageTypeNotParsed]);
    *out++ = ' ';
    return out;
}

char* putNames(char* out, const unsigned char* data, unsigned char type, int middleC)
{
    if (type == 0 || type == 1) {
        const int note = data[1] & 0x7F;
        out = putText(out, " [");
        out = putText(out, OctaveNoteList[note % 12]);
        out += std::sprintf(out, "%d]", note / 12 + middleC - 2);
    } else if (type == 3) {
        out = putText(out, " [");
        out = putText(out, ControlChangeNameList[data[1] & 0x7F]);
        *out++ = ']';
    }
    return out;
}

// "1 MiB", "16 KiB", or bytes.
QByteArray sizeText(uint64_t bytes)
{
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) {
        return QByteArray::number(static_cast<qulonglong>(bytes >> 20)) + " MiB";
    }
    if (bytes >= 1024 && bytes % 1024 == 0) {
        return QByteArray::number(static_cast<qulonglong>(bytes >> 10)) + " KiB";
    }
    return QByteArray::number(static_cast<qulonglong>(bytes)) + " bytes";
}

}  // namespace

void MidiMonitorLine::appendNotKept(QByteArray& text, const MidiMonitorLineFormat& format, const unsigned char* data,
                                    uint64_t length, uint64_t keptLimit, unsigned int timeStamp,
                                    unsigned int portGroup, uint64_t sincePrevious)
{
    append(text, format, data, ShownOfLong, 7, timeStamp, portGroup, sincePrevious);
    text += " ... (" + QByteArray::number(static_cast<qulonglong>(length)) + " bytes: longer than " +
            sizeText(keptLimit) + ", not kept)";
}

void MidiMonitorLine::append(QByteArray& text, const MidiMonitorLineFormat& format,
                             const unsigned char* data, uint32_t length, unsigned char type,
                             unsigned int timeStamp, unsigned int portGroup, uint64_t sincePrevious)
{
    const uint32_t shown = length > LongestShown ? ShownOfLong : length;
    // Everything but the bytes fits in this head; the bytes go straight to
    // the text, so a long system exclusive needs no scratch space.
    char head[128];
    char* out = head;
    *out++ = '\n';
    if (format.showTimeStamp) {
        out = format.timeFormat == 2 ? putDelta(out, sincePrevious) : putTimeStamp(out, timeStamp, format.timeFormat);
    }
    if (format.showDetail) {
        out = putDetailColumns(out, data, length, type, portGroup);
    }
    const int start = text.size();
    text.resize(start + static_cast<int>(out - head) + (shown > 0 ? static_cast<int>(shown) * 3 - 1 : 0));
    char* target = text.data() + start;
    std::memcpy(target, head, static_cast<size_t>(out - head));
    target += out - head;
    for (uint32_t i = 0; i < shown; i++) {
        if (i > 0) {
            *target++ = ' ';
        }
        *target++ = HexDigits[data[i] >> 4];
        *target++ = HexDigits[data[i] & 0x0F];
    }
    if (format.showDetail && length == 3) {
        char names[64];
        const char* end = putNames(names, data, type, format.middleC);
        text.append(names, static_cast<int>(end - names));
    }
    if (shown < length) {
        text += " ... (" + QByteArray::number(length) + " bytes)";
    }
}

void MidiMonitorLine::appendf(QByteArray& text, const char* format, ...)
{
    char buffer[200];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (length > 0) {
        text.append(buffer, std::min(length, static_cast<int>(sizeof buffer) - 1));
    }
}

void MidiMonitorLine::appendSystemExclusiveText(QByteArray& text, const unsigned char* data,
                                                uint32_t length)
{
    uint32_t inMessage = 0;  // bytes since the status byte (or the start)
    for (uint32_t i = 0; i < length; i++, inMessage++) {
        const unsigned char byte = data[i];
        if (byte >= 0x80 && byte != 0xF7) {
            text.append('\n');
            inMessage = 0;
        } else if (inMessage == LongestShown) {
            // A long message takes a line per 16384 bytes: an editor lays
            // out and colours a line at a time, and one of megabytes would
            // hold it up for seconds.
            text[text.size() - 1] = '\n';
            inMessage = 0;
        }
        const char pair[2] = {HexDigits[byte >> 4], HexDigits[byte & 0x0F]};
        text.append(pair, 2);
        if (i + 1 < length) {
            text.append(' ');
        }
    }
}
