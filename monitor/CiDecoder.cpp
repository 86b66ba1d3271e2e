#include "CiDecoder.h"

#include <algorithm>
#include <cstdio>

#include "MidiMonitorLine.h"

namespace {

constexpr int HeaderSize = 14;  // F0 7E device 0D sub-ID version source(4) destination(4)

// The fields of one message, read in order; the first read past the end
// marks the message malformed.
class Fields {
public:
    Fields(const unsigned char* data, int length) : m_data(data), m_length(length) {}

    bool ok() const { return m_why.isEmpty(); }
    const QByteArray& why() const { return m_why; }
    bool atEnd() const { return m_at >= m_length; }
    int remaining() const { return m_length - m_at; }

    int byte() { return static_cast<int>(number(1)); }
    // A number of count 7-bit bytes, least significant first.
    uint32_t number(int count)
    {
        if (!take(count, "too short")) {
            return 0;
        }
        uint32_t value = 0;
        for (int i = 0; i < count; i++) {
            value |= static_cast<uint32_t>(m_data[m_at - count + i] & 0x7F) << (7 * i);
        }
        return value;
    }
    // count bytes of a field of that size.
    QByteArray fixed(int count)
    {
        if (!take(count, "too short")) {
            return QByteArray();
        }
        return QByteArray(reinterpret_cast<const char*>(m_data + m_at - count), count);
    }
    // count bytes that a length field announced.
    QByteArray bytes(uint32_t count)
    {
        if (count > static_cast<uint32_t>(remaining())) {
            fail("a length field past the end");
            return QByteArray();
        }
        if (!take(static_cast<int>(count), "a length field past the end")) {
            return QByteArray();
        }
        return QByteArray(reinterpret_cast<const char*>(m_data + m_at - count), static_cast<int>(count));
    }
    void fail(const QByteArray& why)
    {
        if (m_why.isEmpty()) {
            m_why = why;
        }
    }

private:
    bool take(int count, const QByteArray& why)
    {
        if (!ok() || count > remaining()) {
            fail(why);
            return false;
        }
        m_at += count;
        return true;
    }

    const unsigned char* m_data;
    int m_length;
    int m_at = HeaderSize;
    QByteArray m_why;
};


QByteArray muid(uint32_t value)
{
    if (value == CiDecoder::Broadcast) {
        return QByteArray("broadcast");
    }
    char text[12];
    std::snprintf(text, sizeof text, "%07X", static_cast<unsigned int>(value));
    return QByteArray(text);
}

QByteArray hexBytes(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper();
}

// Text as it came: printable characters as they are, others as \xNN.
QByteArray printable(const QByteArray& bytes)
{
    QByteArray text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto value = static_cast<unsigned char>(c);
        if (value >= 0x20 && value < 0x7F) {
            text += c;
        } else {
            char escaped[6];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", value);
            text += escaped;
        }
    }
    return text;
}

const char* nameOf(int subId)
{
    switch (subId) {
    case 0x10: return "Initiate Protocol Negotiation";
    case 0x11: return "Reply to Initiate Protocol Negotiation";
    case 0x12: return "Set New Protocol";
    case 0x13: return "Test New Protocol Initiator to Responder";
    case 0x14: return "Test New Protocol Responder to Initiator";
    case 0x15: return "Confirmation New Protocol Established";
    case 0x20: return "Profile Inquiry";
    case 0x21: return "Reply to Profile Inquiry";
    case 0x22: return "Set Profile On";
    case 0x23: return "Set Profile Off";
    case 0x24: return "Profile Enabled Report";
    case 0x25: return "Profile Disabled Report";
    case 0x26: return "Profile Added Report";
    case 0x27: return "Profile Removed Report";
    case 0x28: return "Profile Details Inquiry";
    case 0x29: return "Reply to Profile Details Inquiry";
    case 0x2F: return "Profile Specific Data";
    case 0x30: return "PE Capabilities Inquiry";
    case 0x31: return "Reply to PE Capabilities Inquiry";
    case 0x32: return "PE Has Property Data Inquiry";
    case 0x33: return "Reply to PE Has Property Data";
    case 0x34: return "PE Get";
    case 0x35: return "PE Reply to Get";
    case 0x36: return "PE Set";
    case 0x37: return "PE Reply to Set";
    case 0x38: return "PE Subscription";
    case 0x39: return "PE Reply to Subscription";
    case 0x3F: return "PE Notify";
    case 0x40: return "Process Inquiry Capabilities";
    case 0x41: return "Reply to Process Inquiry Capabilities";
    case 0x42: return "Process Inquiry MIDI Message Report";
    case 0x43: return "Reply to MIDI Message Report";
    case 0x44: return "End of MIDI Message Report";
    case 0x70: return "Discovery";
    case 0x71: return "Reply to Discovery";
    case 0x72: return "Endpoint Inquiry";
    case 0x73: return "Reply to Endpoint Inquiry";
    case 0x7D: return "ACK";
    case 0x7E: return "Invalidate MUID";
    case 0x7F: return "NAK";
    default: return nullptr;
    }
}

// The fields of Discovery and its reply; the maker's ID in its three bytes
// as they came (a one-byte ID is followed by two zeros).
void discovery(QByteArray& text, Fields& fields, int subId, int version)
{
    const QByteArray maker = fields.fixed(3);
    const uint32_t family = fields.number(2);
    const uint32_t model = fields.number(2);
    const QByteArray software = fields.fixed(4);
    const int categories = fields.byte();
    const uint32_t largest = fields.number(4);
    if (!fields.ok()) {
        return;
    }
    MidiMonitorLine::appendf(text, "maker %s, family %u, model %u, software %s, categories %02X", hexBytes(maker).constData(),
            family, model, hexBytes(software).constData(), categories);
    const char* const kinds[] = {"protocol negotiation", "profiles", "properties", "process inquiry"};
    QByteArray named;
    for (int bit = 1; bit <= 4; bit++) {
        if (categories & (1 << bit)) {
            named += (named.isEmpty() ? "" : ", ") + QByteArray(kinds[bit - 1]);
        }
    }
    if (!named.isEmpty()) {
        text += " (" + named + ")";
    }
    MidiMonitorLine::appendf(text, ", receivable %u bytes", largest);
    if (version >= 2 && !fields.atEnd()) {
        MidiMonitorLine::appendf(text, ", output path %d", fields.byte());
        if (subId == 0x71 && !fields.atEnd()) {
            const int block = fields.byte();
            if (block == 0x7F) {
                text += ", no function block";
            } else {
                MidiMonitorLine::appendf(text, ", function block %d", block);
            }
        }
    }
}

void acknowledgement(QByteArray& text, Fields& fields)
{
    if (fields.atEnd()) {
        return;  // a version 1 NAK has no fields
    }
    const int original = fields.byte();
    const int status = fields.byte();
    const int statusData = fields.byte();
    const QByteArray details = fields.fixed(5);
    const QByteArray message = fields.bytes(fields.number(2));
    if (!fields.ok()) {
        return;
    }
    const char* originalName = nameOf(original);
    MidiMonitorLine::appendf(text, "to %02X%s%s%s, status %02X, data %02X, details %s", original, originalName ? " (" : "",
            originalName ? originalName : "", originalName ? ")" : "", status, statusData, hexBytes(details).constData());
    if (!message.isEmpty()) {
        text += ", \"" + printable(message) + '"';
    }
}

// Profile IDs of five bytes, count first (two bytes).
QByteArray profileList(Fields& fields)
{
    const uint32_t count = fields.number(2);
    QByteArray list = QByteArray::number(count);
    for (uint32_t i = 0; i < count && fields.ok(); i++) {
        list += (i == 0 ? " [" : ", [") + hexBytes(fields.bytes(5)) + ']';
    }
    return list;
}

void profile(QByteArray& text, Fields& fields, int subId, int version)
{
    if (subId == 0x20) {
        return;
    }
    if (subId == 0x21) {
        const QByteArray enabled = profileList(fields);
        const QByteArray disabled = profileList(fields);
        if (fields.ok()) {
            text += "enabled " + enabled + "; disabled " + disabled;
        }
        return;
    }
    const QByteArray id = fields.fixed(5);
    if (!fields.ok()) {
        return;
    }
    text += "profile [" + hexBytes(id) + ']';
    if ((subId == 0x22 || subId == 0x24 || subId == 0x25) && version >= 2 && fields.remaining() >= 2) {
        const uint32_t channels = fields.number(2);
        if (channels != 0) {
            MidiMonitorLine::appendf(text, ", %u channels", channels);
        }
    } else if (subId == 0x28) {
        MidiMonitorLine::appendf(text, ", target %02X", fields.byte());
    } else if (subId == 0x29) {
        const int target = fields.byte();
        const QByteArray data = fields.bytes(fields.number(2));
        if (fields.ok()) {
            MidiMonitorLine::appendf(text, ", target %02X, %d bytes", target, data.size());
            if (!data.isEmpty()) {
                text += ": " + hexBytes(data);
            }
        }
    } else if (subId == 0x2F) {
        const QByteArray data = fields.bytes(fields.number(4));
        if (fields.ok()) {
            MidiMonitorLine::appendf(text, ", %d bytes", data.size());
            if (!data.isEmpty()) {
                text += ": " + hexBytes(data.left(32)) + (data.size() > 32 ? " ..." : "");
            }
        }
    }
}

void processInquiry(QByteArray& text, Fields& fields, int subId)
{
    if (subId == 0x41) {
        MidiMonitorLine::appendf(text, "features %02X", fields.byte());
    } else if (subId == 0x42) {
        const int control = fields.byte();
        const int system = fields.byte();
        fields.byte();  // reserved
        const int controllers = fields.byte();
        const int notes = fields.byte();
        MidiMonitorLine::appendf(text, "data control %02X, system %02X, channel controllers %02X, notes %02X", control, system,
                controllers, notes);
    } else if (subId == 0x43) {
        const int system = fields.byte();
        fields.byte();  // reserved
        const int controllers = fields.byte();
        const int notes = fields.byte();
        MidiMonitorLine::appendf(text, "system %02X, channel controllers %02X, notes %02X", system, controllers, notes);
    }
}

}  // namespace

bool CiDecoder::isCi(const unsigned char* data, int length)
{
    return data && length >= 5 && data[0] == 0xF0 && data[1] == 0x7E && data[3] == 0x0D;
}

void CiDecoder::reset()
{
    m_open[0].clear();
    m_open[1].clear();
}

void CiDecoder::decode(QByteArray& line, const unsigned char* data, int length, unsigned int port, bool show)
{
    if (!isCi(data, length) || port > 1) {
        return;
    }
    const int subId = data[4];
    const char* name = nameOf(subId);
    if (length < HeaderSize) {
        if (show) {
            MidiMonitorLine::appendf(line, "MIDI-CI (malformed: %s%stoo short)", name ? name : "", name ? " " : "");
        }
        return;
    }
    Fields fields(data, length);
    const int version = data[5];
    const uint32_t source = static_cast<uint32_t>(data[6] & 0x7F) | (data[7] & 0x7F) << 7 | (data[8] & 0x7F) << 14 |
                            static_cast<uint32_t>(data[9] & 0x7F) << 21;
    const uint32_t destination = static_cast<uint32_t>(data[10] & 0x7F) | (data[11] & 0x7F) << 7 |
                                 (data[12] & 0x7F) << 14 | static_cast<uint32_t>(data[13] & 0x7F) << 21;
    QByteArray text = "MIDI-CI ";
    if (name) {
        text += name;
    } else {
        MidiMonitorLine::appendf(text, "sub-ID %02X", subId);
    }
    MidiMonitorLine::appendf(text, ", version %d, from %s to %s", version, muid(source).constData(), muid(destination).constData());
    if (subId >= 0x20 && subId <= 0x2F) {
        const int device = data[2];
        if (device < 0x10) {
            MidiMonitorLine::appendf(text, ", channel %d", device + 1);
        } else {
            text += device == 0x7E ? ", group" : device == 0x7F ? ", function block" : ", device " + QByteArray::number(device);
        }
    }
    QByteArray said;
    if (subId == 0x70 || subId == 0x71) {
        discovery(said, fields, subId, version);
    } else if (subId == 0x72) {
        const int status = fields.byte();
        MidiMonitorLine::appendf(said, "status %02X%s", status, status == 0 ? " (product instance ID)" : "");
    } else if (subId == 0x73) {
        const int status = fields.byte();
        const QByteArray information = fields.bytes(fields.number(2));
        MidiMonitorLine::appendf(said, "status %02X, %d bytes", status, information.size());
        if (!information.isEmpty()) {
            said += ": \"" + printable(information) + '"';
        }
    } else if (subId == 0x7E) {
        said += "target " + muid(fields.number(4));
    } else if (subId == 0x7D || subId == 0x7F) {
        acknowledgement(said, fields);
    } else if (subId >= 0x20 && subId <= 0x2F) {
        profile(said, fields, subId, version);
    } else if (subId == 0x30 || subId == 0x31) {
        MidiMonitorLine::appendf(said, "%d simultaneous requests", fields.byte());
        if (version >= 2 && fields.remaining() >= 2) {
            const int major = fields.byte();
            MidiMonitorLine::appendf(said, ", PE version %d.%d", major, fields.byte());
        }
    } else if ((subId >= 0x34 && subId <= 0x39) || subId == 0x3F) {
        const int requestId = fields.byte();
        const QByteArray header = fields.bytes(fields.number(2));
        const int total = static_cast<int>(fields.number(2));
        const int number = static_cast<int>(fields.number(2));
        const QByteArray body = fields.bytes(fields.number(2));
        if (fields.ok()) {
            MidiMonitorLine::appendf(said, "request %d, chunk %d of %d", requestId, number, total);
            if (!header.isEmpty()) {
                said += ", header " + printable(header);
            }
            QByteArray why;
            if (!chunk(said, why, port, source, requestId, number, total, body)) {
                fields.fail(why);
            }
        }
    } else if (subId >= 0x40 && subId <= 0x44) {
        processInquiry(said, fields, subId);
    }
    if (!show) {
        return;
    }
    if (!fields.ok()) {
        MidiMonitorLine::appendf(line, "MIDI-CI (malformed: %s%s%s)", name ? name : "", name ? ": " : "", fields.why().constData());
        return;
    }
    line += text;
    if (!said.isEmpty()) {
        line += ": " + said;
    }
}

CiDecoder::Body* CiDecoder::find(unsigned int port, uint32_t muid, int requestId)
{
    for (Body& body : m_open[port]) {
        if (body.muid == muid && body.requestId == requestId) {
            return &body;
        }
    }
    return nullptr;
}

void CiDecoder::close(unsigned int port, const Body* body)
{
    std::vector<Body>& open = m_open[port];
    open.erase(open.begin() + (body - open.data()));
}

bool CiDecoder::chunk(QByteArray& line, QByteArray& why, unsigned int port, uint32_t muid, int requestId, int number,
                      int total, const QByteArray& data)
{
    Body* body = find(port, muid, requestId);
    if (number < 1 || total < 1 || number > total) {
        if (body) {
            close(port, body);
        }
        why = "chunk " + QByteArray::number(number) + " of " + QByteArray::number(total);
        return false;
    }
    if (number == 1) {
        if (body) {
            close(port, body);  // a new request under the same ID
        }
        if (total == 1) {
            if (!data.isEmpty()) {
                line += ", body " + printable(data);
            }
            return true;
        }
        std::vector<Body>& open = m_open[port];
        if (static_cast<int>(open.size()) >= MostOpenRequests) {
            const auto oldest = std::min_element(open.begin(), open.end(), [](const Body& a, const Body& b) {
                return a.opened < b.opened;
            });
            line += ", (" + QByteArray::number(MostOpenRequests) + " requests open on this port: request " +
                    QByteArray::number(oldest->requestId) + " from " + ::muid(oldest->muid) + " dropped)";
            open.erase(oldest);
        }
        open.push_back({muid, requestId, total, 2, data, ++m_opened});
        MidiMonitorLine::appendf(line, " (%d bytes)", data.size());
        return true;
    }
    if (!body || body->next != number || body->total != total) {
        const int expected = body ? body->next : 1;
        if (body) {
            close(port, body);
        }
        why = "chunk " + QByteArray::number(number) + " of " + QByteArray::number(total) + " out of order, " +
              QByteArray::number(expected) + " expected";
        return false;
    }
    if (body->bytes.size() + data.size() > LargestBody) {
        line += ", (body over 1 MiB: dropped)";
        close(port, body);
        return true;
    }
    body->bytes += data;
    body->next++;
    if (number < total) {
        MidiMonitorLine::appendf(line, " (%d bytes)", data.size());
        return true;
    }
    MidiMonitorLine::appendf(line, ", body of %d bytes in %d chunks ", body->bytes.size(), total);
    line += printable(body->bytes);
    close(port, body);
    return true;
}
