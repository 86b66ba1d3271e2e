// What a monitor line says in words after its bytes, when details are on:
// the value in decimal for a message with one value (a controller's value,
// the program number in the chosen base, pitch bend as -8192..8191); a data
// entry (controllers 6, 38, 96, 97) as the registered or non-registered
// parameter that controllers 101/100 or 99/98 chose before it on the same
// port and channel ("NRPN 1:35 = 64", the 14-bit value once 38 follows 6,
// the registered ones by name; a choice of the other kind forgets both
// halves, so "NRPN 1:? = 64" when only 99 came; 127:127 in either order is
// the null of its kind); universal system exclusive messages by
// name with their fields (MIDI-CI in full, see CiDecoder); other system
// exclusive by the maker's ID.
// Keeps the parameter choices of every port and channel, so it watches
// every message, shown or not. Not thread-safe: its owner serialises it.
#pragma once

#include <QByteArray>

#include "CiDecoder.h"

class MessageDecoder {
public:
    MessageDecoder();

    // Follows the message and, when show is set, appends " " and its
    // decoding to line (nothing for messages without one). type is the
    // parser's event type; port 0 or 1.
    void decode(QByteArray& line, const unsigned char* data, uint32_t length, unsigned char type,
                unsigned int port, bool show, int programBase);
    // Follows a message nobody sees (hidden by the filter, or its port not
    // monitored): the next data entry still names its parameter.
    void follow(const unsigned char* data, uint32_t length, unsigned char type, unsigned int port);
    void reset();

private:
    struct Selection {
        int parameterMsb;
        int parameterLsb;
        bool registered;
        bool chosen;     // by 101/100 or 99/98, and not null
        int dataMsb;     // of the last controller 6, -1 before one
    };

    void controlChange(QByteArray& line, unsigned int port, int channel, int controller, int value, bool show);
    // length: the bytes before F7, at least 2.
    static void systemExclusive(QByteArray& line, const unsigned char* data, int length);

    Selection m_selections[2][16];
    CiDecoder m_ci;  // MIDI Capability Inquiry, with the bodies being joined
};
