// MIDI-CI messages built by hand from the published field layouts
// (versions 1.1 and 1.2), each with the words a monitor line gets; bodies
// in chunks; malformed messages.
#include <QtTest>

#include "CiDecoder.h"

namespace {

using Bytes = QByteArray;

Bytes sevenBit(uint32_t value, int count)
{
    Bytes bytes;
    for (int i = 0; i < count; i++) {
        bytes += static_cast<char>(value >> (7 * i) & 0x7F);
    }
    return bytes;
}

constexpr uint32_t Source = 0x0123456;
constexpr uint32_t Target = 0x0ABCDEF;

// F0 7E device 0D subId version source destination payload F7.
Bytes ci(int subId, const Bytes& payload, int version = 2, uint32_t destination = CiDecoder::Broadcast,
         int device = 0x7F, uint32_t source = Source)
{
    Bytes message = Bytes::fromHex("F07E");
    message += static_cast<char>(device);
    message += static_cast<char>(0x0D);
    message += static_cast<char>(subId);
    message += static_cast<char>(version);
    return message + sevenBit(source, 4) + sevenBit(destination, 4) + payload + static_cast<char>(0xF7);
}

Bytes hex(const char* text)
{
    return Bytes::fromHex(text);
}

// A Property Exchange message: request ID, header, chunk of chunks, body.
Bytes pe(int subId, int requestId, const Bytes& header, int total, int number, const Bytes& body,
         uint32_t source = Source)
{
    Bytes payload(1, static_cast<char>(requestId));
    payload += sevenBit(static_cast<uint32_t>(header.size()), 2) + header + sevenBit(static_cast<uint32_t>(total), 2) +
               sevenBit(static_cast<uint32_t>(number), 2) + sevenBit(static_cast<uint32_t>(body.size()), 2) + body;
    return ci(subId, payload, 2, Target, 0x7F, source);
}

const Bytes Discovery = hex("7D0000") + sevenBit(258, 2) + sevenBit(3, 2) + hex("01020304") + hex("1C") +
                        sevenBit(512, 4);
const Bytes Profile = hex("7E00010203");

QByteArray words(CiDecoder& decoder, const Bytes& message, unsigned int port = 0, bool show = true)
{
    QByteArray line;
    const auto* data = reinterpret_cast<const unsigned char*>(message.constData());
    decoder.decode(line, data, message.size() - 1, port, show);
    return line;
}

}  // namespace

class CiDecoderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachKindByNameWithItsFields_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head = "version 2, from 0123456 to broadcast";
        const QByteArray toTarget = "version 2, from 0123456 to 0ABCDEF";
        QTest::newRow("discovery 1.2") << ci(0x70, Discovery + hex("00"))
                                       << "MIDI-CI Discovery, " + head +
                                              ": maker 7D 00 00, family 258, model 3, software 01 02 03 04, categories "
                                              "1C (profiles, properties, process inquiry), receivable 512 bytes, output "
                                              "path 0";
        QTest::newRow("discovery 1.1") << ci(0x70, Discovery, 1)
                                       << QByteArray("MIDI-CI Discovery, version 1, from 0123456 to broadcast: maker 7D "
                                                     "00 00, family 258, model 3, software 01 02 03 04, categories 1C "
                                                     "(profiles, properties, process inquiry), receivable 512 bytes");
        QTest::newRow("reply to discovery") << ci(0x71, Discovery + hex("0102"), 2, Target)
                                            << "MIDI-CI Reply to Discovery, " + toTarget +
                                                   ": maker 7D 00 00, family 258, model 3, software 01 02 03 04, "
                                                   "categories 1C (profiles, properties, process inquiry), receivable "
                                                   "512 bytes, output path 1, function block 2";
        QTest::newRow("reply, no function block") << ci(0x71, Discovery + hex("007F"), 2, Target)
                                                  << "MIDI-CI Reply to Discovery, " + toTarget +
                                                         ": maker 7D 00 00, family 258, model 3, software 01 02 03 04, "
                                                         "categories 1C (profiles, properties, process inquiry), "
                                                         "receivable 512 bytes, output path 0, no function block";
        QTest::newRow("endpoint inquiry")
            << ci(0x72, hex("00")) << "MIDI-CI Endpoint Inquiry, " + head + ": status 00 (product instance ID)";
        QTest::newRow("reply to endpoint") << ci(0x73, hex("00") + sevenBit(4, 2) + "SN42", 2, Target)
                                           << "MIDI-CI Reply to Endpoint Inquiry, " + toTarget +
                                                  ": status 00, 4 bytes: \"SN42\"";
        QTest::newRow("invalidate") << ci(0x7E, sevenBit(Target, 4))
                                    << "MIDI-CI Invalidate MUID, " + head + ": target 0ABCDEF";
        QTest::newRow("ack") << ci(0x7D, hex("3400000000000000") + sevenBit(2, 2) + "OK", 2, Target)
                             << "MIDI-CI ACK, " + toTarget +
                                    ": to 34 (PE Get), status 00, data 00, details 00 00 00 00 00, \"OK\"";
        QTest::newRow("nak 1.1") << ci(0x7F, Bytes(), 1, Target)
                                 << QByteArray("MIDI-CI NAK, version 1, from 0123456 to 0ABCDEF");
        QTest::newRow("nak 1.2") << ci(0x7F, hex("2241050102030405") + sevenBit(4, 2) + "busy", 2, Target)
                                 << "MIDI-CI NAK, " + toTarget +
                                        ": to 22 (Set Profile On), status 41, data 05, details 01 02 03 04 05, \"busy\"";
        QTest::newRow("profile inquiry")
            << ci(0x20, Bytes()) << "MIDI-CI Profile Inquiry, " + head + ", function block";
        QTest::newRow("reply to profile inquiry")
            << ci(0x21, sevenBit(1, 2) + Profile + sevenBit(2, 2) + hex("7E00010204") + hex("7E00010205"), 2, Target, 0x00)
            << "MIDI-CI Reply to Profile Inquiry, " + toTarget +
                   ", channel 1: enabled 1 [7E 00 01 02 03]; disabled 2 [7E 00 01 02 04], [7E 00 01 02 05]";
        QTest::newRow("set profile on 1.2") << ci(0x22, Profile + sevenBit(2, 2), 2, Target, 0x7E)
                                            << "MIDI-CI Set Profile On, " + toTarget +
                                                   ", group: profile [7E 00 01 02 03], 2 channels";
        QTest::newRow("set profile on 1.1") << ci(0x22, Profile, 1, Target, 0x03)
                                            << QByteArray("MIDI-CI Set Profile On, version 1, from 0123456 to 0ABCDEF, "
                                                          "channel 4: profile [7E 00 01 02 03]");
        QTest::newRow("set profile off") << ci(0x23, Profile + sevenBit(0, 2), 2, Target)
                                         << "MIDI-CI Set Profile Off, " + toTarget +
                                                ", function block: profile [7E 00 01 02 03]";
        QTest::newRow("enabled report") << ci(0x24, Profile + sevenBit(16, 2))
                                        << "MIDI-CI Profile Enabled Report, " + head +
                                               ", function block: profile [7E 00 01 02 03], 16 channels";
        QTest::newRow("removed report") << ci(0x27, Profile)
                                        << "MIDI-CI Profile Removed Report, " + head +
                                               ", function block: profile [7E 00 01 02 03]";
        QTest::newRow("details inquiry") << ci(0x28, Profile + hex("01"), 2, Target)
                                         << "MIDI-CI Profile Details Inquiry, " + toTarget +
                                                ", function block: profile [7E 00 01 02 03], target 01";
        QTest::newRow("details reply") << ci(0x29, Profile + hex("01") + sevenBit(2, 2) + hex("0A0B"), 2, Target)
                                       << "MIDI-CI Reply to Profile Details Inquiry, " + toTarget +
                                              ", function block: profile [7E 00 01 02 03], target 01, 2 bytes: 0A 0B";
        QTest::newRow("profile specific data") << ci(0x2F, Profile + sevenBit(3, 4) + hex("010203"), 2, Target)
                                               << "MIDI-CI Profile Specific Data, " + toTarget +
                                                      ", function block: profile [7E 00 01 02 03], 3 bytes: 01 02 03";
        QTest::newRow("pe capabilities 1.2") << ci(0x30, hex("040100"))
                                             << "MIDI-CI PE Capabilities Inquiry, " + head +
                                                    ": 4 simultaneous requests, PE version 1.0";
        QTest::newRow("pe capabilities 1.1")
            << ci(0x31, hex("01"), 1, Target)
            << QByteArray("MIDI-CI Reply to PE Capabilities Inquiry, version 1, from 0123456 to 0ABCDEF: 1 simultaneous "
                          "requests");
        QTest::newRow("pe get") << pe(0x34, 1, "{\"resource\":\"DeviceInfo\"}", 1, 1, Bytes())
                                << "MIDI-CI PE Get, " + toTarget +
                                       ": request 1, chunk 1 of 1, header {\"resource\":\"DeviceInfo\"}";
        QTest::newRow("pe reply to get") << pe(0x35, 1, "{\"status\":200}", 1, 1, "{\"version\":\"1.0\"}")
                                         << "MIDI-CI PE Reply to Get, " + toTarget +
                                                ": request 1, chunk 1 of 1, header {\"status\":200}, body "
                                                "{\"version\":\"1.0\"}";
        QTest::newRow("pe notify") << pe(0x3F, 9, "{\"subscribeId\":\"a\",\"command\":\"end\"}", 1, 1, Bytes())
                                   << "MIDI-CI PE Notify, " + toTarget +
                                          ": request 9, chunk 1 of 1, header {\"subscribeId\":\"a\",\"command\":\"end\"}";
        QTest::newRow("process inquiry") << ci(0x40, Bytes()) << "MIDI-CI Process Inquiry Capabilities, " + head;
        QTest::newRow("process inquiry reply") << ci(0x41, hex("01"), 2, Target)
                                               << "MIDI-CI Reply to Process Inquiry Capabilities, " + toTarget +
                                                      ": features 01";
        QTest::newRow("midi message report") << ci(0x42, hex("7F7F007F7F"), 2, Target, 0x05)
                                             << "MIDI-CI Process Inquiry MIDI Message Report, " + toTarget +
                                                    ": data control 7F, system 7F, channel controllers 7F, notes 7F";
        QTest::newRow("report reply") << ci(0x43, hex("0100033F"))
                                      << "MIDI-CI Reply to MIDI Message Report, " + head +
                                             ": system 01, channel controllers 03, notes 3F";
        QTest::newRow("end of report") << ci(0x44, Bytes()) << "MIDI-CI End of MIDI Message Report, " + head;
        QTest::newRow("protocol negotiation 1.1")
            << ci(0x10, hex("00020100000000"), 1)
            << QByteArray("MIDI-CI Initiate Protocol Negotiation, version 1, from 0123456 to broadcast");
        QTest::newRow("unknown kind") << ci(0x50, hex("0102")) << "MIDI-CI sub-ID 50, " + head;
    }

    void eachKindByNameWithItsFields()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, expected);
        CiDecoder decoder;
        QCOMPARE(words(decoder, message), expected);
    }

    void malformedMessagesSayWhy_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("header cut") << hex("F07E7F0D70020102F7") << QByteArray("MIDI-CI (malformed: Discovery too short)");
        QTest::newRow("discovery cut") << ci(0x70, Discovery.left(10))
                                       << QByteArray("MIDI-CI (malformed: Discovery: too short)");
        QTest::newRow("length past the end") << pe(0x34, 1, "{}", 1, 1, Bytes()).left(15) + sevenBit(100, 2) + hex("7B7DF7")
                                             << QByteArray("MIDI-CI (malformed: PE Get: a length field past the end)");
        QTest::newRow("endpoint reply past the end")
            << ci(0x73, hex("00") + sevenBit(40, 2) + "SN")
            << QByteArray("MIDI-CI (malformed: Reply to Endpoint Inquiry: a length field past the end)");
        QTest::newRow("chunk beyond the total") << pe(0x35, 2, Bytes(), 2, 3, "x")
                                                << QByteArray("MIDI-CI (malformed: PE Reply to Get: chunk 3 of 2)");
        QTest::newRow("a later chunk first")
            << pe(0x35, 2, Bytes(), 3, 2, "x")
            << QByteArray("MIDI-CI (malformed: PE Reply to Get: chunk 2 of 3 out of order, 1 expected)");
        QTest::newRow("profile list cut") << ci(0x21, sevenBit(3, 2) + Profile)
                                          << QByteArray("MIDI-CI (malformed: Reply to Profile Inquiry: a length field "
                                                        "past the end)");
    }

    void malformedMessagesSayWhy()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, expected);
        CiDecoder decoder;
        QCOMPARE(words(decoder, message), expected);
    }

    // A reply in three chunks: each chunk says its size, the last one the
    // body whole; another port, MUID or request ID is another body.
    void aBodyInChunksIsShownWholeOnItsLastLine()
    {
        CiDecoder decoder;
        const QByteArray head = "MIDI-CI PE Reply to Get, version 2, from 0123456 to 0ABCDEF: request 5, chunk ";
        QCOMPARE(words(decoder, pe(0x35, 5, "{\"status\":200}", 3, 1, "[{\"resource\":")),
                 head + "1 of 3, header {\"status\":200} (13 bytes)");
        // Interleaved: the same request ID from another MUID, and on the other port.
        QVERIFY(words(decoder, pe(0x35, 5, Bytes(), 2, 1, "{\"a\":", Target)).endsWith("chunk 1 of 2 (5 bytes)"));
        QCOMPARE(words(decoder, pe(0x35, 5, Bytes(), 3, 2, "nope"), 1),
                 QByteArray("MIDI-CI (malformed: PE Reply to Get: chunk 2 of 3 out of order, 1 expected)"));
        QCOMPARE(words(decoder, pe(0x35, 5, Bytes(), 3, 2, "\"DeviceInfo\"},")), head + "2 of 3 (14 bytes)");
        QCOMPARE(words(decoder, pe(0x35, 5, Bytes(), 3, 3, "{\"resource\":\"ChannelList\"}]")),
                 head + "3 of 3, body of 54 bytes in 3 chunks [{\"resource\":\"DeviceInfo\"},{\"resource\":"
                        "\"ChannelList\"}]");
        QVERIFY(words(decoder, pe(0x35, 5, Bytes(), 2, 2, "1}", Target)).endsWith("body of 7 bytes in 2 chunks {\"a\":1}"));
        // Once shown, the body is gone: a repeated last chunk is out of order.
        QVERIFY(words(decoder, pe(0x35, 5, Bytes(), 3, 3, "]")).endsWith("chunk 3 of 3 out of order, 1 expected)"));
    }

    // Chunks nobody sees (details off, hidden, another monitor) are joined too.
    void hiddenChunksAreFollowed()
    {
        CiDecoder decoder;
        QVERIFY(words(decoder, pe(0x35, 1, Bytes(), 2, 1, "ab"), 0, false).isEmpty());
        QVERIFY(words(decoder, pe(0x35, 1, Bytes(), 2, 2, "cd")).endsWith("body of 4 bytes in 2 chunks abcd"));
    }

    void openRequestsAndBodiesAreBounded()
    {
        CiDecoder decoder;
        for (int request = 0; request < CiDecoder::MostOpenRequests; request++) {
            QVERIFY(!words(decoder, pe(0x35, request, Bytes(), 2, 1, "x")).contains("dropped"));
        }
        QVERIFY(words(decoder, pe(0x35, 99, Bytes(), 2, 1, "x"))
                    .endsWith("(16 requests open on this port: request 0 from 0123456 dropped) (1 bytes)"));
        QVERIFY(words(decoder, pe(0x35, 0, Bytes(), 2, 2, "y")).contains("out of order"));
        QVERIFY(words(decoder, pe(0x35, 1, Bytes(), 2, 2, "y")).endsWith("body of 2 bytes in 2 chunks xy"));

        // 1 MiB at most: chunks of 16383 bytes, the 65th crosses it.
        const Bytes piece(16383, 'z');
        const int chunks = 70;
        words(decoder, pe(0x35, 100, Bytes(), chunks, 1, piece));
        QByteArray line;
        int number = 2;
        for (; number <= chunks && !line.contains("dropped"); number++) {
            line = words(decoder, pe(0x35, 100, Bytes(), chunks, number, piece));
        }
        QCOMPARE(number - 1, 65);
        QVERIFY(line.endsWith("(body over 1 MiB: dropped)"));
        QVERIFY(words(decoder, pe(0x35, 100, Bytes(), chunks, number, piece)).contains("out of order"));
    }

    void onlyMidiCiIsTaken()
    {
        const Bytes identity = hex("F07E7F0601F7");
        QVERIFY(!CiDecoder::isCi(reinterpret_cast<const unsigned char*>(identity.constData()), identity.size()));
        const Bytes realTime = hex("F07F7F0D70F7");
        QVERIFY(!CiDecoder::isCi(reinterpret_cast<const unsigned char*>(realTime.constData()), realTime.size()));
        CiDecoder decoder;
        QVERIFY(words(decoder, identity).isEmpty());
    }
};

QTEST_GUILESS_MAIN(CiDecoderTest)
#include "CiDecoderTest.moc"
