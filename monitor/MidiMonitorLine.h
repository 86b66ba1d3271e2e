// Builds the monitor's text: one line per message, column by column, and
// the hexadecimal text of system exclusive messages for the editors.
// Pure functions on the caller's buffer; any thread.
#pragma once

#include <QByteArray>

struct MidiMonitorLineFormat {
    bool showTimeStamp = false;
    bool showDetail = false;
    int middleC = 0;     // 0: note 60 is C3, 1: C4, 2: C5
    int timeFormat = 0;  // 0: 13:05:09:042, 1: 000047109042
};

class MidiMonitorLine {
public:
    // Appends "\n" and the columns: time stamp, port, channel and type (the
    // last three with details), the bytes, and note or controller names.
    static void append(QByteArray& text, const MidiMonitorLineFormat& format,
                       const unsigned char* data, unsigned short length, unsigned char type,
                       unsigned int timeStamp, unsigned int portGroup);

    // Appends the bytes as hexadecimal pairs separated by spaces, starting a
    // new line before every status byte other than F7.
    static void appendSystemExclusiveText(QByteArray& text, const unsigned char* data,
                                          unsigned short length);
};
