// Records received messages to a Standard MIDI File: format 0, one track,
// 960 ticks per quarter note at 120 BPM (a tempo event first), each message
// at the tick of its host time since recording began. Channel messages keep
// their status bytes (no running status); system exclusive messages become
// F0 events; system common and real-time messages, and raw packets from
// the parser-off mode, become F7 (escape) events with their bytes as they
// came. sync() makes the file on disk complete as it stands (the end of the
// track written, the track's length patched, everything handed to the
// system), so a program killed at any moment leaves a valid file with all
// it synced; the next message overwrites that end of track.
// User-interface thread (it writes what the timer hands it).
#pragma once

#include <QString>

#include <cstdint>
#include <cstdio>

class SmfRecorder {
public:
    static constexpr int TicksPerQuarterNote = 960;
    static constexpr int MicrosecondsPerQuarterNote = 500000;  // 120 BPM

    SmfRecorder() = default;
    ~SmfRecorder();
    SmfRecorder(const SmfRecorder&) = delete;
    SmfRecorder& operator=(const SmfRecorder&) = delete;

    // Starts a file at path (a file there is replaced); startHostTime (ns)
    // is tick 0. False when it cannot be written.
    bool open(const QString& path, uint64_t startHostTime);
    bool isOpen() const { return m_file != nullptr; }
    // One message or raw packet (parsed false) received at hostTime (ns).
    void add(uint64_t hostTime, const unsigned char* data, int length, bool parsed);
    // See above; false when a write failed (then or before).
    bool sync();
    bool failed() const { return m_failed; }
    // Why the last write failed ("No space left on device").
    QString error() const { return m_error; }
    // Ends the track and the file; false when a write failed on the way.
    bool close();

private:
    void put(const void* bytes, size_t length);
    // The track length field, then back to where writing goes on.
    bool writeTrackLength(uint32_t length);
    void fail();
    void putVariableLength(uint32_t value);

    std::FILE* m_file = nullptr;
    uint64_t m_start = 0;
    uint64_t m_lastTick = 0;
    uint32_t m_trackLength = 0;
    bool m_failed = false;
    bool m_synced = true;  // nothing written since the last sync
    QString m_error;
};
