// The analyzer: monitor lines column by column, parsed and raw modes, the
// text for the editors, MIDI thru, the filter parameters, the tempo, and
// two input ports at once.
#include <QRegularExpression>
#include <QtTest>

#include <memory>
#include <thread>
#include <vector>

#include "MidiAnalyzer.h"
#include "MidiNameTables.h"
#include "OstrelModel.h"
#include "PortTraffic.h"
#include "RecordingSender.h"
#include "midilib_status.h"

namespace {

using Bytes = std::vector<unsigned char>;

// 13:05:09.042 in milliseconds since midnight.
constexpr unsigned int SampleTime = 13 * 3600000 + 5 * 60000 + 9 * 1000 + 42;

}  // namespace

class MidiAnalyzerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<OstrelModel> m_model;
    std::unique_ptr<MidiAnalyzer> m_analyzer;
    RecordingSender m_thru;

    void receive(const Bytes& bytes, unsigned int group = 0, unsigned int time = SampleTime,
                 unsigned long long hostTime = 77)
    {
        m_analyzer->receivedMidi(bytes.data(), static_cast<unsigned short>(bytes.size()), time,
                                 hostTime, group);
    }

    struct Texts {
        QByteArray received;
        unsigned int receivedCount = 0;
        QByteArray sysEx;
        unsigned int sysExCount = 0;
        QByteArray transmitted;
        unsigned int transmittedCount = 0;
        bool any = false;
    };

    Texts take()
    {
        Texts t;
        t.any = m_analyzer->getMidiData(t.received, t.receivedCount, t.sysEx, t.sysExCount,
                                        t.transmitted, t.transmittedCount);
        return t;
    }

    void set(unsigned int id, int value) { m_model->setModelIntValue(id, value); }

    void showEverything()
    {
        set(ParamTimeStamp, 1);
        set(ParamMessageDetail, 1);
    }

private Q_SLOTS:
    void init()
    {
        m_model = std::make_unique<OstrelModel>();
        m_analyzer = std::make_unique<MidiAnalyzer>(m_model.get());
        m_thru.clear();
        m_thru.hook = nullptr;
        m_analyzer->setThruSender(&m_thru);
    }

    void cleanup()
    {
        m_analyzer.reset();
        m_model.reset();
    }

    void workedExamples()
    {
        showEverything();
        receive({0x90, 0x3C, 0x40});
        QCOMPARE(take().received, QByteArray("\n13:05:09:042 Port1 Ch 1 NoteOn   90 3C 40 [C3]"));
        set(ParamTimeStamp, 0);
        set(ParamMessageDetail, 0);
        receive({0x90, 0x3C, 0x40});
        const Texts texts = take();
        QCOMPARE(texts.received, QByteArray("\n90 3C 40"));
        QCOMPARE(texts.receivedCount, 3u);
        QVERIFY(texts.any);
        QVERIFY(!take().any);
    }

    void columns_data()
    {
        QTest::addColumn<int>("timeStamp");
        QTest::addColumn<int>("detail");
        QTest::addColumn<int>("timeFormat");
        QTest::addColumn<int>("middleC");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("time");
        QTest::addColumn<QByteArray>("line");
        auto row = [](const char* name, int stamp, int detail, int format, int middleC,
                      QByteArray bytes, int group, int time, const char* line) {
            QTest::newRow(name) << stamp << detail << format << middleC << bytes << group << time
                                << QByteArray(line);
        };
        row("clock midnight", 1, 0, 0, 0, "\x90\x3C\x40", 0, 0, "\n00:00:00:000 90 3C 40");
        row("integer", 1, 0, 1, 0, "\xF8", 0, 47109042, "\n000047109042 F8");
        row("last millisecond", 1, 0, 0, 0, "\xF8", 0, 86399999, "\n23:59:59:999 F8");
        row("port 2", 0, 1, 0, 0, "\xFA", 1, 0, "\nPort2 ---- Start    FA");
        row("channel 9", 0, 1, 0, 0, QByteArray("\x88\x00\x00", 3), 0, 0,
            "\nPort1 Ch 9 NoteOff  88 00 00 [C-2]");
        row("channel 16", 0, 1, 0, 0, "\xCF\x05", 0, 0, "\nPort1 Ch16 PC       CF 05 = 6");  // one-based
        row("middle C 5", 0, 1, 0, 2, "\x90\x3D\x40", 0, 0, "\nPort1 Ch 1 NoteOn   90 3D 40 [C#5]");
        row("top note", 0, 1, 0, 0, "\x90\x7F\x40", 0, 0, "\nPort1 Ch 1 NoteOn   90 7F 40 [G8]");
        row("controller", 0, 1, 0, 0, "\xB0\x07\x64", 0, 0,
            "\nPort1 Ch 1 CC       B0 07 64 [007 Volume] = 100");
        row("channel pressure", 0, 1, 0, 0, "\xD0\x10", 0, 0, "\nPort1 Ch 1 Ch.Pre   D0 10 = 16");
        row("pitch bend", 0, 1, 0, 0, QByteArray("\xE0\x00\x40", 3), 0, 0,
            QByteArray("\nPort1 Ch 1 PB       E0 00 40 = 0"));
        row("system exclusive", 0, 1, 0, 0, QByteArray("\xF0\x7E\x7F\x09\x01\xF7"), 0, 0,
            "\nPort1 ---- SysEx    F0 7E 7F 09 01 F7 GM System On");
        row("time code", 0, 1, 0, 0, "\xF1\x10", 0, 0, "\nPort1 ---- TimeCode F1 10");
        row("song position", 0, 1, 0, 0, "\xF2\x10\x02", 0, 0, "\nPort1 ---- SongPos  F2 10 02");
        row("clock", 0, 1, 0, 0, "\xF8", 0, 0, "\nPort1 ---- T.Clock  F8");
        row("active sensing", 0, 1, 0, 0, "\xFE", 0, 0, "\nPort1 ---- A.Sense  FE");
    }

    void columns()
    {
        QFETCH(int, timeStamp);
        QFETCH(int, detail);
        QFETCH(int, timeFormat);
        QFETCH(int, middleC);
        QFETCH(QByteArray, bytes);
        QFETCH(int, group);
        QFETCH(int, time);
        QFETCH(QByteArray, line);
        set(ParamTimeStamp, timeStamp);
        set(ParamMessageDetail, detail);
        set(ParamMessageTimeFormat, timeFormat);
        set(ParamMessageMiddleC, middleC);
        receive(Bytes(bytes.begin(), bytes.end()), static_cast<unsigned int>(group),
                static_cast<unsigned int>(time));
        QCOMPARE(take().received, line);
    }

    // Delta: milliseconds since the previous line of the same monitor, from
    // the packets' host times; the In and Out texts count apart.
    void deltaTimesBetweenLines()
    {
        set(ParamTimeStamp, 1);
        set(ParamMessageTimeFormat, 2);
        receive({0x90, 0x3C, 0x40}, 0, SampleTime, 5000000000ull);
        receive({0xF8, 0xF8}, 1, SampleTime, 5001234567ull);  // two lines, one packet
        receive({0xF8}, 0, SampleTime, 5000000001ull);          // handed over late: no negative time
        receive({0xFA}, 0, SampleTime, 5000000000ull + 123456789012ull);
        QCOMPARE(take().received, QByteArray("\n       0.000 90 3C 40"
                                             "\n       1.234 F8"
                                             "\n       0.000 F8"
                                             "\n       0.000 F8"
                                             "\n  123455.554 FA"));
        m_analyzer->setTransmittedMidiData(Bytes{0xFC}.data(), 1, SampleTime, MIDILIB_Event_Type_Stop,
                                           OutputPortGroup_First);
        QCOMPARE(take().transmitted, QByteArray("\n       0.000 FC"));  // the Out monitor's first line
        receive({0xFE}, 0, SampleTime, 5000000000ull + 200000000000000ull);  // days later: held at the widest
        QCOMPARE(take().received, QByteArray("\n99999999.999 FE"));
    }

    // What the details say after the bytes: parameters chosen before a data
    // entry on the same port and channel, with running status and other
    // channels in between; universal system exclusive messages by name.
    void decodingAfterTheBytes()
    {
        set(ParamMessageDetail, 1);
        const auto words = [this](const Bytes& bytes, unsigned int group = 0) {
            receive(bytes, group);
            QList<QByteArray> lines = take().received.mid(1).split('\n');
            for (QByteArray& line : lines) {
                const int bytesEnd = line.indexOf("] ") >= 0 ? line.indexOf("] ") + 2 : -1;
                line = bytesEnd >= 0 ? line.mid(bytesEnd) : line.mid(line.lastIndexOf("F7") + 3);
            }
            return lines;
        };
        // NRPN 1:35 on channel 1, running status throughout; an RPN on channel 2 between.
        QCOMPARE(words({0xB0, 0x63, 0x01, 0x62, 0x23}), (QList<QByteArray>{"= 1", "= 35"}));
        QCOMPARE(words({0xB1, 0x65, 0x00, 0x64, 0x00, 0x06, 0x02}),
                 (QList<QByteArray>{"= 0", "= 0", "RPN 0:0 Pitch Bend Sensitivity = 2"}));
        QCOMPARE(words({0xB0, 0x06, 0x40, 0x26, 0x05}),
                 (QList<QByteArray>{"NRPN 1:35 = 64", "NRPN 1:35 = 8197"}));  // 64 * 128 + 5
        QCOMPARE(words({0xB0, 0x60, 0x00, 0x61, 0x00}),
                 (QList<QByteArray>{"NRPN 1:35 increment", "NRPN 1:35 decrement"}));
        QCOMPARE(words({0xB0, 0x06, 0x10}, 1), QList<QByteArray>{"= 16"});  // port 2 chose nothing
        QCOMPARE(words({0xB1, 0x64, 0x05, 0x06, 0x01}),
                 (QList<QByteArray>{"= 5", "RPN 0:5 Modulation Depth Range = 1"}));
        QCOMPARE(words({0xB1, 0x65, 0x7F, 0x64, 0x7F, 0x06, 0x01}),
                 (QList<QByteArray>{"= 127", "= 127 RPN Null", "= 1"}));  // data entry after null: a plain value
        QCOMPARE(words({0xB2, 0x26, 0x05}), QList<QByteArray>{"= 5"});  // channel 3 chose nothing
        // Details off: the choices are still followed.
        set(ParamMessageDetail, 0);
        receive({0xB3, 0x65, 0x00, 0x64, 0x01});
        set(ParamMessageDetail, 1);
        take();
        QCOMPARE(words({0xB3, 0x06, 0x40}), QList<QByteArray>{"RPN 0:1 Fine Tuning = 64"});
        // Choices hidden by the filter, or made on a port nobody monitors, still count.
        set(ParamControlChangeFilterFirst + 101, 1);
        set(ParamControlChangeFilterFirst + 100, 1);
        QCOMPARE(words({0xB4, 0x65, 0x00, 0x64, 0x00, 0x06, 0x02}),
                 QList<QByteArray>{"RPN 0:0 Pitch Bend Sensitivity = 2"});
        set(ParamControlChangeFilterFirst + 101, 0);
        set(ParamControlChangeFilterFirst + 100, 0);
        set(ParamMonitorPort2, 0);
        receive({0xB5, 0x63, 0x02, 0x62, 0x03}, 1);
        set(ParamMonitorPort2, 1);
        QCOMPARE(words({0xB5, 0x06, 0x01}, 1), QList<QByteArray>{"NRPN 2:3 = 1"});
        set(ParamMonitorPort1, 0);
        for (const Bytes& sent : {Bytes{0xB5, 0x65, 0x00}, Bytes{0xB5, 0x64, 0x02}}) {
            m_analyzer->setTransmittedMidiData(sent.data(), 3, SampleTime, MIDILIB_Event_Type_ControlChange,
                                               OutputPortGroup_First);
        }
        set(ParamMonitorPort1, 1);
        m_analyzer->setTransmittedMidiData(Bytes{0xB5, 0x06, 0x05}.data(), 3, SampleTime,
                                           MIDILIB_Event_Type_ControlChange, OutputPortGroup_First);
        QVERIFY(take().transmitted.endsWith("RPN 0:2 Coarse Tuning = 5"));
        // Null in either order, the NRPN's own too; the two kinds never share a half.
        QCOMPARE(words({0xB6, 0x64, 0x7F, 0x65, 0x7F, 0x06, 0x01}),
                 (QList<QByteArray>{"= 127", "= 127 RPN Null", "= 1"}));
        QCOMPARE(words({0xB6, 0x63, 0x7F, 0x62, 0x7F, 0x06, 0x01}),
                 (QList<QByteArray>{"= 127", "= 127 NRPN Null", "= 1"}));
        QCOMPARE(words({0xB2, 0x65, 0x00, 0x64, 0x00, 0x63, 0x01, 0x06, 0x40}),
                 (QList<QByteArray>{"= 0", "= 0", "= 1", "NRPN 1:? = 64"}));
        QCOMPARE(words({0xB2, 0x62, 0x07, 0x06, 0x40}), (QList<QByteArray>{"= 7", "NRPN 1:7 = 64"}));

        const struct {
            Bytes bytes;
            const char* words;
        } sysEx[] = {
            {{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, "Identity Request, device 7F"},
            {{0xF0, 0x7E, 0x10, 0x06, 0x02, 0x41, 0x05, 0x01, 0x02, 0x00, 0x01, 0x02, 0x03, 0x04, 0xF7},
             "Identity Reply, device 10, maker 41, family 133, member 2, software 1.2.3.4"},
            {{0xF0, 0x7E, 0x00, 0x06, 0x02, 0x00, 0x20, 0x33, 0x01, 0x00, 0x02, 0x00, 0x05, 0x00, 0x00, 0x00, 0xF7},
             "Identity Reply, device 00, maker 00 20 33, family 1, member 2, software 5.0.0.0"},
            {{0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x61, 0x02, 0x03, 0x04, 0xF7}, "MTC Full Frame 01:02:03:04 (30 fps)"},
            {{0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x7F, 0xF7}, "Master Volume 16383"},
            {{0xF0, 0x7F, 0x7F, 0x04, 0x02, 0x00, 0x20, 0xF7}, "Master Balance -4096"},
            {{0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7}, "GM2 System On"},
            {{0xF0, 0x7E, 0x7F, 0x08, 0x00, 0xF7}, "Universal Non-Real Time, device 7F, 08 00"},
            {{0xF0, 0x43, 0x10, 0x4C, 0xF7}, "Maker 43"},
            {{0xF0, 0x7D, 0x01, 0xF7}, "Non-Commercial"},
        };
        for (const auto& entry : sysEx) {
            QCOMPARE(words(entry.bytes), QList<QByteArray>{entry.words});
        }
        QCOMPARE(words({0xF0, 0xF7}), QList<QByteArray>{""});  // nothing to say
    }

    // A system exclusive longer than a packet is joined: one line with its
    // first bytes and its length, the editors' text and MIDI thru whole. One
    // above 1 MiB is said with its length, not kept, and counted lost.
    void longSystemExclusiveIsJoinedOrSaid()
    {
        set(ParamMidiThru, 1);
        const auto dump = port_traffic::systemExclusive;
        const auto receiveInPackets = [this](const Bytes& bytes) {
            for (size_t at = 0; at < bytes.size(); at += 16384) {
                receive(Bytes(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + 16384)));
            }
        };
        const Bytes long20k = dump(20000);
        receiveInPackets(long20k);
        const Texts texts = take();
        const QByteArray hex = QByteArray(reinterpret_cast<const char*>(long20k.data()), 20000).toHex(' ').toUpper();
        QCOMPARE(texts.received, "\n" + hex.left(32 * 3 - 1) + " ... (20000 bytes)");
        QCOMPARE(texts.sysEx, "\n" + hex.left(16384 * 3 - 1) + "\n" + hex.mid(16384 * 3));  // a line per 16 KiB
        QCOMPARE(texts.receivedCount, 20000u);
        QCOMPARE(m_thru.count(), size_t(1));
        QVERIFY(m_thru.sent()[0].bytes == long20k);
        // Thru to outputs that take less: not sent, and said.
        m_thru.largest = 16000;
        receiveInPackets(long20k);
        QVERIFY(take().received.endsWith(
            "\n-- MIDI thru: a system exclusive of 20000 bytes is longer than the output takes (16000 bytes); "
            "not passed on --"));
        QCOMPARE(m_thru.count(), size_t(1));
        m_thru.largest = MaximumMessageSize;

        const Bytes huge = dump(2 << 20);
        receiveInPackets(huge);
        receive({0x90, 0x3C, 0x40});
        const QByteArray said = take().received;
        QVERIFY2(said.startsWith("\n" + hex.left(32 * 3 - 1) + " ... (2097152 bytes: longer than 1 MiB, not kept)\n90 3C 40"),
                 said.left(300).constData());
        QCOMPARE(m_analyzer->lostMessages(0), uint64_t(1));
        QCOMPARE(m_thru.count(), size_t(2));  // the note alone

        // Cut off by a note: no line for it, and the next one is whole again.
        Bytes cut = dump(20000);
        cut.resize(17000);
        receiveInPackets(cut);
        receive({0x80, 0x3C, 0x00});
        receiveInPackets(long20k);
        QCOMPARE(take().received, "\n80 3C 00\n" + hex.left(32 * 3 - 1) + " ... (20000 bytes)");
        QCOMPARE(m_analyzer->lostMessages(0), uint64_t(1));
    }

    void parsedOffGivesOneRawLinePerPacket()
    {
        set(ParamMessageParsed, 0);
        set(ParamMessageDetail, 1);
        receive({0x90, 0x3C, 0x40, 0x80, 0x3C, 0x00});
        receive({0xF0, 0x01, 0xF7});
        QCOMPARE(take().received,
                 QByteArray("\nPort1 ---- -------- 90 3C 40 80 3C 00\nPort1 ---- -------- F0 01 F7"));
    }

    void parsedOnSplitsRunningStatus()
    {
        receive({0x90, 0x3C, 0x40, 0x3E, 0x40});
        QCOMPARE(take().received, QByteArray("\n90 3C 40\n90 3E 40"));
        // A message split across packets is shown when it completes.
        receive({0xB0, 0x07});
        QCOMPARE(take().received, QByteArray());
        receive({0x64});
        QCOMPARE(take().received, QByteArray("\nB0 07 64"));
    }

    void systemExclusiveTextForTheEditors()
    {
        set(ParamMonitorPort1, 0);  // the editors' text does not depend on the monitor
        receive({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
        receive({0xF0, 0x01, 0xF7, 0xF0, 0x02, 0x03, 0xF7});
        const Texts texts = take();
        QCOMPARE(texts.sysEx, QByteArray("\nF0 7E 7F 09 01 F7\nF0 01 F7\nF0 02 03 F7"));
        QCOMPARE(texts.sysExCount, 13u);
        QVERIFY(texts.received.isEmpty());
    }

    // A packet the service passed itself is shown but not passed again,
    // packet by packet: a route set up or taken back while messages are on
    // their way passes each once.
    void thruOfWhatTheServicePassedIsLeftToIt()
    {
        set(ParamMidiThru, 1);
        receive({0x90, 0x3C, 0x40}, PassedByServiceThru);
        receive({0x90, 0x3D, 0x40}, 0);
        receive({0x90, 0x3E, 0x40}, 0 | PassedByServiceThru);
        QCOMPARE(m_thru.count(), size_t(1));
        QCOMPARE(m_thru.sent()[0].bytes, (Bytes{0x90, 0x3D, 0x40}));
        QCOMPARE(take().received, QByteArray("\n90 3C 40\n90 3D 40\n90 3E 40"));
        QCOMPARE(m_analyzer->receivedMessages(0), uint64_t(3));

        m_thru.clear();
        // A system exclusive longer than a packet comes in packets of one
        // event, marked alike.
        Bytes first(MaximumPacketSize, 0x11);
        first[0] = 0xF0;
        const Bytes last{0x22, 0x33, 0xF7};
        receive(first, PassedByServiceThru);
        receive(last, PassedByServiceThru);
        QCOMPARE(m_thru.count(), size_t(0));
        receive(first, 0);
        receive(last, 0);
        QCOMPARE(m_thru.count(), size_t(1));
        QCOMPARE(m_thru.sent()[0].bytes.size(), first.size() + last.size());
    }

    void thruAfterTheFilterMessageByMessage()
    {
        set(ParamMidiThru, 1);
        set(ParamMessageFilterFirst + 1, 1);  // note on filtered
        receive({0x90, 0x3C, 0x40, 0x3E, 0x00, 0xB0, 0x07, 0x64, 0x08, 0x10, 0xFE, 0xF8}, 0,
                SampleTime, 12345);
        QCOMPARE(m_thru.count(), size_t(4));
        // The velocity-0 note on passes: it counts as a note off.
        QCOMPARE(m_thru.sent()[0].bytes, (Bytes{0x90, 0x3E, 0x00}));
        QCOMPARE(m_thru.sent()[1].bytes, (Bytes{0xB0, 0x07, 0x64}));
        QCOMPARE(m_thru.sent()[2].bytes, (Bytes{0xB0, 0x08, 0x10}));
        QCOMPARE(m_thru.sent()[3].bytes, (Bytes{0xF8}));  // active sensing never passes
        QCOMPARE(m_thru.sent()[1].group, OutputPortGroup_First);
        QVERIFY(m_thru.sent()[1].skipBulkInterval);
        QCOMPARE(m_thru.sent()[1].hostTime, 12345ull);
        QCOMPARE(take().received, QByteArray("\n90 3E 00\nB0 07 64\nB0 08 10\nFE\nF8"));

        m_thru.clear();
        receive({0xFA}, 1);  // the second group's thru is off
        QVERIFY((m_thru.count() == 0));
        set(ParamMidiThruSecond, 1);
        receive({0xFA}, 1);
        QCOMPARE(m_thru.count(), size_t(1));
        QCOMPARE(m_thru.sent()[0].group, OutputPortGroup_Second);

        m_thru.clear();
        set(ParamMessageParsed, 0);
        receive({0x90, 0x3C, 0x40, 0xFE}, 1, 0, 9);
        QCOMPARE(m_thru.count(), size_t(1));
        QCOMPARE(m_thru.sent()[0].bytes, (Bytes{0x90, 0x3C, 0x40, 0xFE}));
        QCOMPARE(int(m_thru.sent()[0].type), int(MessageTypeNotParsed));
        set(ParamMidiThru, 0);
        set(ParamMidiThruSecond, 0);
        receive({0xFA}, 0);
        receive({0xFA}, 1);
        QCOMPARE(m_thru.count(), size_t(1));
    }

    // Each group of filter parameters reaches its own switch: a message it
    // must reject and one it must pass, at the edges of each group.
    void filterParametersReachTheirSwitches()
    {
        const struct {
            unsigned int id;
            Bytes rejected;
            Bytes passed;
        } cases[] = {
            {ParamChannelFilterFirst, {0x90, 1, 1}, {0x91, 1, 1}},
            {ParamChannelFilterFirst + 15, {0x9F, 1, 1}, {0x90, 1, 1}},
            {ParamMessageFilterFirst, {0x80, 1, 1}, {0x90, 1, 1}},
            {ParamMessageFilterFirst + 7, {0xF0, 1, 0xF7}, {0xE0, 1, 1}},
            {ParamControlChangeFilterFirst, {0xB3, 0, 0}, {0xB3, 1, 0}},
            {ParamControlChangeFilterFirst + 127, {0xB3, 127, 0}, {0xB3, 126, 0}},
            {ParamSystemCommonFilterFirst, {0xF1, 1}, {0xF6}},
            {ParamSystemCommonFilterFirst + 3, {0xF6}, {0xF3, 1}},
            {ParamSystemRealtimeFilterFirst, {0xF8}, {0xFF}},
            {ParamSystemRealtimeFilterFirst + 5, {0xFF}, {0xFE}},
        };
        for (const auto& c : cases) {
            set(c.id, 1);
            receive(c.rejected);
            receive(c.passed);
            QCOMPARE(take().receivedCount, unsigned(c.passed.size()));
            set(c.id, 0);
            receive(c.rejected);
            QCOMPARE(take().receivedCount, unsigned(c.rejected.size()));
        }
        // Control change, system common and system real-time as a whole are
        // the filter window's business, member by member.
        set(ParamMessageFilterFirst + 3, 1);
        set(ParamMessageFilterFirst + 8, 1);
        set(ParamMessageFilterFirst + 9, 1);
        receive({0xB0, 0x07, 0x64, 0xF2, 0x01, 0x02, 0xF8});
        QCOMPARE(take().receivedCount, 7u);
    }

    void filteredTimingClockIsStillMeasured()
    {
        set(ParamSystemRealtimeFilterFirst, 1);
        QCOMPARE(m_analyzer->getReceivedTimingClock(), 0u);
        for (unsigned int i = 0; i < 5; i++) {
            receive({0xF8}, 0, 1000 + 20 * i);  // 20 ms apart: 125.0 BPM
        }
        QCOMPARE(m_analyzer->getReceivedTimingClock(), 1250u);
        QVERIFY(take().received.isEmpty());
        for (int i = 0; i < 30; i++) {
            m_analyzer->updateTempo(100000);
        }
        QCOMPARE(m_analyzer->getReceivedTimingClock(), 1250u);
        m_analyzer->updateTempo(100000);
        QCOMPARE(m_analyzer->getReceivedTimingClock(), 0u);
    }

    void switchingTheParserDropsThePartialMessage()
    {
        receive({0xF0, 0x01, 0x02});
        set(ParamMessageParsed, 0);
        set(ParamMessageParsed, 1);
        receive({0x03, 0xF7, 0x90, 0x3C, 0x40});
        const Texts texts = take();
        QVERIFY(texts.sysEx.isEmpty());
        QCOMPARE(texts.received, QByteArray("\n90 3C 40"));
    }

    void transmittedLinesFollowTheMonitorAndParserSwitches()
    {
        set(ParamMessageDetail, 1);
        const Bytes note{0x91, 0x3C, 0x40};
        m_analyzer->setTransmittedMidiData(note.data(), 3, 0, MIDILIB_Event_Type_NoteOn,
                                           OutputPortGroup_Second);
        set(ParamMonitorPort2, 0);
        m_analyzer->setTransmittedMidiData(note.data(), 3, 0, MIDILIB_Event_Type_NoteOn,
                                           OutputPortGroup_Second);
        set(ParamMessageParsed, 0);
        m_analyzer->setTransmittedMidiData(note.data(), 3, 0, MIDILIB_Event_Type_NoteOn,
                                           OutputPortGroup_First);
        m_analyzer->setTransmittedMidiData(note.data(), 3, 0, MIDILIB_Event_Type_NoteOn,
                                           OutputPortGroup_Both);
        const Texts texts = take();
        QCOMPARE(texts.transmitted, QByteArray("\nPort2 Ch 2 NoteOn   91 3C 40 [C3]"
                                               "\nPort1 ---- -------- 91 3C 40"));
        QCOMPARE(texts.transmittedCount, 6u);
    }

    void thruEchoesIntoTheOutputTextWithTheLockReleased()
    {
        // As the sending path does: send, then report what was sent, which
        // takes the analyzer's lock again (a lock held across the send would
        // hang here).
        m_thru.hook = [this](const RecordingSender::Sent& sent) {
            m_analyzer->setTransmittedMidiData(sent.bytes.data(),
                                               static_cast<unsigned short>(sent.bytes.size()), 0,
                                               sent.type, sent.group);
            return true;
        };
        set(ParamMidiThru, 1);
        receive({0x90, 0x3C, 0x40});
        const Texts texts = take();
        QCOMPARE(texts.received, QByteArray("\n90 3C 40"));
        QCOMPARE(texts.transmitted, QByteArray("\n90 3C 40"));
    }

    void twoInputPortsAtOnceNeverInterleave()
    {
        set(ParamMessageDetail, 1);
        set(ParamTimeStamp, 1);
        const int count = 3000;
        auto sender = [this](unsigned int group, Bytes message) {
            for (int i = 0; i < count; i++) {
                receive(message, group, static_cast<unsigned int>(i));
            }
        };
        std::thread first(sender, 0u, Bytes{0x90, 0x3C, 0x40});
        std::thread second(sender, 1u, Bytes{0xF0, 0x01, 0x02, 0x03, 0xF7});
        QByteArray all;
        while (first.joinable() || second.joinable()) {
            all += take().received;  // the timer polls meanwhile
            if (first.joinable()) {
                first.join();
            }
            if (second.joinable()) {
                second.join();
            }
        }
        all += take().received;
        const QList<QByteArray> lines = all.mid(1).split('\n');
        QCOMPARE(lines.size(), 2 * count);
        const QRegularExpression shape(
            "^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d (Port1 Ch 1 NoteOn   90 3C 40 \\[C3\\]|"
            "Port2 ---- SysEx    F0 01 02 03 F7 Maker 01)$");
        for (const QByteArray& line : lines) {
            QVERIFY2(shape.match(QString::fromLatin1(line)).hasMatch(), line.constData());
        }
    }
};

QTEST_GUILESS_MAIN(MidiAnalyzerTest)
#include "MidiAnalyzerTest.moc"
