// Builds the monitor's text: one line per message, column by column, and
// the hexadecimal text of system exclusive messages for the editors.
// Pure functions on the caller's buffer; any thread.
#pragma once

#include <QByteArray>

#include <cstdint>

struct MidiMonitorLineFormat {
    bool showTimeStamp = false;
    bool showDetail = false;
    int middleC = 0;     // 0: note 60 is C3, 1: C4, 2: C5
    int timeFormat = 0;  // 0: 13:05:09:042, 1: 000047109042, 2: "    1234.567" since the previous line
};

class MidiMonitorLine {
public:
    // Appends "\n" and the columns: time stamp, port, channel and type (the
    // last three with details), the bytes, and note or controller names.
    // The Delta time format shows sincePrevious (nanoseconds) as
    // milliseconds with three decimals. A message longer than LongestShown
    // shows its first ShownOfLong bytes and " ... (N bytes)".
    static constexpr uint32_t LongestShown = 16384;
    static constexpr uint32_t ShownOfLong = 32;
    static void append(QByteArray& text, const MidiMonitorLineFormat& format,
                       const unsigned char* data, uint32_t length, unsigned char type,
                       unsigned int timeStamp, unsigned int portGroup, uint64_t sincePrevious = 0);
    // The line of a system exclusive of length bytes that was not kept (it
    // exceeds keptLimit): its first bytes (data holds at least ShownOfLong)
    // and " ... (N bytes: longer than 1 MiB, not kept)".
    static void appendNotKept(QByteArray& text, const MidiMonitorLineFormat& format, const unsigned char* data,
                              uint64_t length, uint64_t keptLimit, unsigned int timeStamp, unsigned int portGroup,
                              uint64_t sincePrevious = 0);

    // printf into text (at most 200 characters), for the words after the bytes.
    static void appendf(QByteArray& text, const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Appends the bytes as hexadecimal pairs separated by spaces, starting a
    // new line before every status byte other than F7, and in a message
    // longer than LongestShown after every LongestShown bytes of it.
    static void appendSystemExclusiveText(QByteArray& text, const unsigned char* data,
                                          uint32_t length);
};
