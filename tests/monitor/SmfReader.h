// A Standard MIDI File reader of the tests' own, written from the file
// format alone (not from the recorder): header fields and every event of
// every track with its absolute tick. Running status is understood.
#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>

struct SmfEvent {
    uint64_t tick = 0;
    QByteArray bytes;  // status and data; F0 events with F0 first; F7 escapes without F7; meta FF type data
    bool escape = false;
};

struct SmfFile {
    bool valid = false;
    int format = -1;
    int tracks = 0;
    int division = 0;
    QList<QList<SmfEvent>> events;  // per track
};

inline SmfFile readSmf(const QByteArray& file)
{
    SmfFile smf;
    int at = 0;
    auto u = [&](int bytes) {
        uint32_t value = 0;
        for (int i = 0; i < bytes; i++) {
            value = value << 8 | static_cast<unsigned char>(file.at(at++));
        }
        return value;
    };
    auto varLength = [&] {
        uint32_t value = 0;
        for (int i = 0; i < 4; i++) {
            const auto byte = static_cast<unsigned char>(file.at(at++));
            value = value << 7 | (byte & 0x7F);
            if (!(byte & 0x80)) {
                break;
            }
        }
        return value;
    };
    if (file.size() < 14 || file.left(4) != "MThd") {
        return smf;
    }
    at = 4;
    if (u(4) != 6) {
        return smf;
    }
    smf.format = static_cast<int>(u(2));
    smf.tracks = static_cast<int>(u(2));
    smf.division = static_cast<int>(u(2));
    for (int track = 0; track < smf.tracks; track++) {
        if (at + 8 > file.size() || file.mid(at, 4) != "MTrk") {
            return smf;
        }
        at += 4;
        const auto trackLength = static_cast<int>(u(4));
        const int end = at + trackLength;
        if (end > file.size()) {
            return smf;
        }
        QList<SmfEvent> events;
        uint64_t tick = 0;
        unsigned char running = 0;
        while (at < end) {
            tick += varLength();
            SmfEvent event;
            event.tick = tick;
            auto status = static_cast<unsigned char>(file.at(at));
            if (status < 0x80) {
                status = running;  // running status: the byte is data
            } else {
                at++;
            }
            if (status == 0xFF) {
                const auto type = static_cast<unsigned char>(file.at(at++));
                const uint32_t length = varLength();
                event.bytes = QByteArray(1, '\xFF') + char(type) + file.mid(at, static_cast<int>(length));
                at += static_cast<int>(length);
            } else if (status == 0xF0 || status == 0xF7) {
                const uint32_t length = varLength();
                event.escape = status == 0xF7;
                event.bytes = (status == 0xF0 ? QByteArray(1, '\xF0') : QByteArray()) + file.mid(at, static_cast<int>(length));
                at += static_cast<int>(length);
            } else {
                running = status;
                const int data = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
                event.bytes = QByteArray(1, char(status)) + file.mid(at, data);
                at += data;
            }
            events.append(event);
        }
        if (at != end) {
            return smf;
        }
        smf.events.append(events);
    }
    smf.valid = at == file.size();
    return smf;
}
