#include "SmfRecorder.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr long TrackLengthOffset = 18;  // after "MThd", its 6 bytes and "MTrk"
constexpr uint64_t TicksPerSecond =
    uint64_t(SmfRecorder::TicksPerQuarterNote) * 1000000u / SmfRecorder::MicrosecondsPerQuarterNote;

void bigEndian(unsigned char* out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; i--) {
        out[i] = static_cast<unsigned char>(value & 0xFF);
        value >>= 8;
    }
}

}  // namespace

SmfRecorder::~SmfRecorder()
{
    close();
}

bool SmfRecorder::open(const QString& path, uint64_t startHostTime)
{
    close();
    m_file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!m_file) {
        return false;
    }
    m_start = startHostTime;
    m_lastTick = 0;
    m_trackLength = 0;
    m_failed = false;
    m_error.clear();
    unsigned char header[22] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 0, 'M', 'T', 'r', 'k', 0, 0, 0, 0};
    bigEndian(header + 12, TicksPerQuarterNote, 2);
    put(header, sizeof header);
    m_trackLength = 0;  // the header is not part of the track
    const unsigned char tempo[] = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};
    static_assert(MicrosecondsPerQuarterNote == 0x07A120, "the tempo event's bytes");
    put(tempo, sizeof tempo);
    return sync();
}

void SmfRecorder::fail()
{
    if (!m_failed) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
    }
    m_failed = true;
}

bool SmfRecorder::writeTrackLength(uint32_t length)
{
    unsigned char field[4];
    bigEndian(field, length, 4);
    const long end = std::ftell(m_file);
    return end >= 0 && std::fseek(m_file, TrackLengthOffset, SEEK_SET) == 0 &&
           std::fwrite(field, 1, sizeof field, m_file) == sizeof field && std::fseek(m_file, end, SEEK_SET) == 0;
}

bool SmfRecorder::sync()
{
    if (!m_file || m_failed || m_synced) {
        return m_file && !m_failed;
    }
    const unsigned char end[] = {0x00, 0xFF, 0x2F, 0x00};
    const long at = std::ftell(m_file);
    if (at < 0 || std::fwrite(end, 1, sizeof end, m_file) != sizeof end ||
        !writeTrackLength(m_trackLength + static_cast<uint32_t>(sizeof end)) || std::fflush(m_file) != 0 ||
        std::fseek(m_file, at, SEEK_SET) != 0) {
        fail();
        return false;
    }
    m_synced = true;
    return true;
}

void SmfRecorder::put(const void* bytes, size_t length)
{
    if (std::fwrite(bytes, 1, length, m_file) != length) {
        fail();
    }
    m_synced = false;
    m_trackLength += static_cast<uint32_t>(length);
}

void SmfRecorder::putVariableLength(uint32_t value)
{
    unsigned char bytes[5];
    int count = 0;
    bytes[4 - count++] = value & 0x7F;
    while ((value >>= 7) != 0 && count < 5) {
        bytes[4 - count++] = static_cast<unsigned char>(0x80 | (value & 0x7F));
    }
    put(bytes + 5 - count, static_cast<size_t>(count));
}

void SmfRecorder::add(uint64_t hostTime, const unsigned char* data, int length, bool parsed)
{
    if (!m_file || !data || length <= 0) {
        return;
    }
    const uint64_t since = hostTime > m_start ? hostTime - m_start : 0;
    // Rounded to the nearest tick; never before the previous event.
    const uint64_t tick = std::max(m_lastTick, (since * TicksPerSecond + 500000000u) / 1000000000u);
    putVariableLength(static_cast<uint32_t>(std::min<uint64_t>(tick - m_lastTick, 0x0FFFFFFF)));
    m_lastTick = tick;
    if (parsed && data[0] >= 0x80 && data[0] < 0xF0) {
        put(data, static_cast<size_t>(length));  // a channel message as it is
    } else if (parsed && data[0] == 0xF0) {
        put(data, 1);
        putVariableLength(static_cast<uint32_t>(length - 1));
        put(data + 1, static_cast<size_t>(length - 1));
    } else {
        const unsigned char escape = 0xF7;
        put(&escape, 1);
        putVariableLength(static_cast<uint32_t>(length));
        put(data, static_cast<size_t>(length));
    }
}

bool SmfRecorder::close()
{
    if (!m_file) {
        return false;
    }
    const unsigned char end[] = {0x00, 0xFF, 0x2F, 0x00};
    put(end, sizeof end);
    const bool patched = writeTrackLength(m_trackLength);
    if (!patched) {
        fail();
    }
    const bool closed = std::fclose(m_file) == 0;
    if (!closed) {
        fail();
    }
    m_file = nullptr;
    return patched && closed && !m_failed;
}
