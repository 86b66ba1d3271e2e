// ostrel-cli against a JACK peer standing in for an instrument: the program
// runs as its own process; the peer sends, answers and records.
#include <QJsonArray>
#include <QMdiSubWindow>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "CliRun.h"
#include "JackPeer.h"
#include "MainWindow.h"
#include "MidiClient.h"
#include "MidiEditGeneralView.h"
#include "MidiEditTextView.h"
#include "MidiEditView.h"
#include "OstrelModel.h"
#include "PortSet.h"
#include "WindowRestorationInfo.h"

namespace {

using Bytes = std::vector<unsigned char>;

QByteArray fromBytes(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

// What the peer sends in the monitor tests: notes (one in running status),
// a parameter choice the decoder names, a program change, pitch bend, a
// system exclusive and a song position.
std::vector<Bytes> traffic()
{
    return {{0x90, 0x3C, 0x64}, {0x80, 0x3C, 0x00}, {0xB1, 0x63, 0x01}, {0xB1, 0x62, 0x02},
            {0xB1, 0x06, 0x40}, {0xC2, 0x05},       {0xE0, 0x00, 0x40}, {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7},
            {0xF2, 0x10, 0x00}};
}

void sendAll(JackPeer& peer, const std::vector<Bytes>& messages)
{
    for (const Bytes& message : messages) {
        peer.send(message);
    }
}

// The output without the lines that say what a client's xruns may have cost.
QString withoutNotices(const QByteArray& out)
{
    QStringList lines = QString::fromLatin1(out).split('\n');
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const QString& line) { return line.startsWith("-- "); }),
                lines.end());
    return lines.join('\n');
}

bool waitForListener(JackPeer& peer, int count = 1)
{
    return port_traffic::waitUntil([&] { return peer.outConnections() >= count; });
}

}  // namespace

class CliJackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(m_dir.isValid(), "no temporary folder");
    }

    void listNamesThePeersPorts()
    {
        JackPeer peer("cli-list-peer");
        QVERIFY2(peer.isOpen(), "no JACK server: the test command starts one");
        const cli_run::Result text = cli_run::run({"list", "--midi-api", "jack"});
        QCOMPARE(text.status, 0);
        QVERIFY2(text.out.contains("in\t" + peer.name().toUtf8() + ":out\n"), text.out.constData());
        QVERIFY(text.out.contains("out\t" + peer.name().toUtf8() + ":in\n"));
        QVERIFY(text.err.isEmpty());
        const cli_run::Result json = cli_run::run({"list", "--json", "--midi-api", "jack"});
        QCOMPARE(json.status, 0);
        const QJsonObject list = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(list.value("service").toString(), QString("JACK"));
        QVERIFY(list.value("inputs").toArray().contains(peer.name() + ":out"));
        QVERIFY(list.value("outputs").toArray().contains(peer.name() + ":in"));
    }

    // The same traffic to the window's In monitor and to the program: the
    // same lines, details and decoded parameters included.
    void monitorPrintsTheWindowsLines()
    {
        JackPeer peer("cli-monitor-peer");
        QVERIFY(peer.isOpen());
        OstrelModel model;
        MainWindow window(nullptr, &model, MidiApi::Jack);
        model.setModelIntValue(ParamMessageDetail, 1);
        QStringList names;
        unsigned int current = 0;
        window.ports()->getInputPortList(InputPortGroup_First, names, current);
        const int source = names.indexOf(peer.name() + ":out");
        QVERIFY(source > 0);
        QVERIFY(window.ports()->inputPortMenuSelected(InputPortGroup_First, static_cast<unsigned int>(source - 1)));
        auto* in = qobject_cast<MidiEditView*>(window.openWindow(WindowRestorationInfo::MidiInMonitorId)->widget());
        QVERIFY(in);
        in->clearText();

        const std::vector<Bytes> messages = traffic();
        QProcess process;
        // A part of the name that only the peer's output has.
        cli_run::start(process, {"monitor", "--midi-api", "jack", "--in", "cli-monitor-peer", "--details", "--count",
                                 QString::number(messages.size())});
        QVERIFY(waitForListener(peer, 2));
        sendAll(peer, messages);
        const cli_run::Result result = cli_run::finish(process);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.err, QByteArray("received 9, lost 0\n"));
        // Each says the xruns its own client saw ("-- JACK xrun ... --").
        const QStringList printed = withoutNotices(result.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), static_cast<int>(messages.size()));
        QTRY_COMPARE(withoutNotices(in->generalView()->textView()->toPlainText().toLatin1()).split('\n', Qt::SkipEmptyParts),
                     printed);
        QVERIFY2(printed.at(4).contains("NRPN"), qPrintable(printed.at(4)));
    }

    void monitorWritesJsonAndEndsAtSigterm()
    {
        JackPeer peer("cli-json-peer");
        QVERIFY(peer.isOpen());
        QProcess process;
        const QString log = m_dir.filePath("monitor.log");
        cli_run::start(process, {"monitor", "--midi-api", "jack", "--in", peer.name() + ":out", "--json", "--log", log});
        QVERIFY(waitForListener(peer));
        sendAll(peer, {{0x91, 0x40, 0x7F}, {0xF0, 0x01, 0x02, 0xF7}, {0xF8}});
        QByteArray out;
        QTRY_VERIFY2_WITH_TIMEOUT((out += process.readAllStandardOutput()).count("\"bytes\"") >= 3, out.constData(), 20000);
        cli_run::signal(process, SIGTERM);
        const cli_run::Result result = cli_run::finish(process);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.err, QByteArray("received 3, lost 0\n"));
        out += result.out;
        QList<QByteArray> lines = out.trimmed().split('\n');
        // An xrun the program's client saw comes as a notice of its own.
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const QByteArray& line) { return line.startsWith("{\"notice\":\"-- JACK xrun"); }),
                    lines.end());
        QCOMPARE(lines.size(), 3);
        const QJsonObject note = QJsonDocument::fromJson(lines.at(0)).object();
        QCOMPARE(note.value("port").toString(), peer.name() + ":out");
        QCOMPARE(note.value("bytes").toString(), QString("91 40 7F"));
        QCOMPARE(note.value("type").toString(), QString("NoteOn"));
        QCOMPARE(note.value("channel").toInt(), 2);
        QCOMPARE(note.value("text").toString(), QString("91 40 7F"));
        QVERIFY(note.value("time").toDouble() > 0);
        const QJsonObject sysEx = QJsonDocument::fromJson(lines.at(1)).object();
        QCOMPARE(sysEx.value("bytes").toString(), QString("F0 01 02 F7"));
        QVERIFY(sysEx.value("channel").isNull());
        QCOMPARE(QJsonDocument::fromJson(lines.at(2)).object().value("type").toString(), QString("T.Clock"));
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), out.trimmed() + '\n');
    }

    void monitorStampsEachLineInTheChosenFormat()
    {
        JackPeer peer("cli-time-peer");
        QVERIFY(peer.isOpen());
        const QStringList formats{"clock", "integer", "delta"};
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const QString& format : formats) {
            processes.push_back(std::make_unique<QProcess>());
            cli_run::start(*processes.back(),
                           {"monitor", "--midi-api", "jack", "--in", "cli-time-peer", "--time", format, "--count", "2"});
        }
        QVERIFY(waitForListener(peer, 3));
        sendAll(peer, {{0x90, 0x40, 0x40}, {0x80, 0x40, 0x00}});
        const QStringList patterns{R"(^\d\d:\d\d:\d\d:\d\d\d 90 40 40\n\d\d:\d\d:\d\d:\d\d\d 80 40 00\n$)",
                                   R"(^\d{12} 90 40 40\n\d{12} 80 40 00\n$)",
                                   R"(^ {4,}\d+\.\d{3} 90 40 40\n {4,}\d+\.\d{3} 80 40 00\n$)"};
        for (int i = 0; i < formats.size(); i++) {
            const cli_run::Result result = cli_run::finish(*processes[static_cast<size_t>(i)]);
            QCOMPARE(result.status, 0);
            QVERIFY2(QRegularExpression(patterns.at(i)).match(withoutNotices(result.out)).hasMatch(),
                     result.out.constData());
        }
    }

    // A dump longer than a JACK port takes in one cycle: refused before
    // anything of it goes, the line and both sizes said.
    void sendRefusesWhatThePortCannotTake()
    {
        JackPeer peer("cli-long-peer");
        QVERIFY(peer.isOpen());
        QByteArray dump(40000, 0x11);
        dump[0] = static_cast<char>(0xF0);
        dump[dump.size() - 1] = static_cast<char>(0xF7);
        const QString path = m_dir.filePath("long.syx");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromHex("903C40") + dump);
        file.close();
        const cli_run::Result result = cli_run::run({"send", "--midi-api", "jack", "--out", "cli-long-peer", path});
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.contains("Line 2: a system exclusive message of 40000 bytes; the output port takes at most"),
                 result.err.constData());
        QVERIFY(peer.waitForBytes(3));
        QTest::qWait(100);
        QCOMPARE(peer.received(), Bytes({0x90, 0x3C, 0x40}));
    }

    void requestReturnsTheReplyOrSaysWhyNot()
    {
        JackPeer peer("cli-request-peer");
        QVERIFY(peer.isOpen());
        const QStringList ports{"--midi-api", "jack", "--out", peer.name() + ":in", "--in", peer.name() + ":out"};
        const Bytes request{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
        const Bytes reply{0xF0, 0x7E, 0x01, 0x06, 0x02, 0x11, 0x22, 0x33, 0xF7};

        // A reply that matches.
        QProcess answered;
        const QString saved = m_dir.filePath("reply.syx");
        cli_run::start(answered, QStringList{"request", "--hex", "F0 7E 7F 06 01 F7", "--expect", "F0 7E 01 06 02",
                                             "--save", saved} + ports);
        QVERIFY(peer.waitForBytes(request.size()));
        QCOMPARE(peer.received(), request);
        peer.send(reply);
        cli_run::Result result = cli_run::finish(answered);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, QByteArray("F0 7E 01 06 02 11 22 33 F7\n"));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), fromBytes(reply));

        // One that does not.
        QProcess wrong;
        cli_run::start(wrong, QStringList{"request", "--hex", "F0 7E 7F 06 01 F7", "--expect", "F0 7E 01 06 03"} + ports);
        QVERIFY(peer.waitForBytes(2 * request.size()));
        peer.send(reply);
        result = cli_run::finish(wrong);
        QCOMPARE(result.status, 3);
        QCOMPARE(result.out, QByteArray("F0 7E 01 06 02 11 22 33 F7\n"));
        QVERIFY2(result.err.contains("does not begin with F0 7E 01 06 03"), result.err.constData());

        // Silence.
        result = cli_run::run(QStringList{"request", "--hex", "F0 7E 7F 06 01 F7", "--timeout", "0.3"} + ports);
        QCOMPARE(result.status, 2);
        QVERIFY(result.out.isEmpty());
        QVERIFY2(result.err.contains("No reply received."), result.err.constData());
        QCOMPARE(peer.received().size(), 3 * request.size());

        // Two replies awaited, one comes.
        QProcess partly;
        cli_run::start(partly, QStringList{"request", "--hex", "F0 7E 7F 06 01 F7", "--count", "2", "--timeout", "0.5"} +
                                   ports);
        QVERIFY(peer.waitForBytes(4 * request.size()));
        peer.send(reply);
        result = cli_run::finish(partly);
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.contains("1 of 2 replies received."), result.err.constData());
    }

    // A 1 MiB dump of 64 messages: every byte arrives, and each message
    // after the bulk interval (less one period's placing) since the last.
    void sendKeepsEveryByteAndTheBulkInterval()
    {
        JackPeer peer("cli-send-peer");
        QVERIFY(peer.isOpen());
        const QString path = m_dir.filePath("firmware.syx");
        const QByteArray dump = cli_run::writeDump(path, 64, 16384);
        QCOMPARE(dump.size(), 64 * 16384);
        const int bulkInterval = 20;
        const cli_run::Result result = cli_run::run({"send", "--midi-api", "jack", "--out", "cli-send-peer:in", path,
                                                     "--bulk-interval", QString::number(bulkInterval)});
        QCOMPARE(result.status, 0);
        QVERIFY(result.out.isEmpty());
        QVERIFY(peer.waitForBytes(static_cast<size_t>(dump.size())));
        QCOMPARE(fromBytes(peer.received()), dump);
        const std::vector<JackPeer::Arrival> arrivals = peer.arrivals();
        QCOMPARE(arrivals.size(), size_t(64));
        const jack_nframes_t least = peer.sampleRate() * bulkInterval / 1000 - peer.bufferSize();
        for (size_t i = 1; i < arrivals.size(); i++) {
            QVERIFY2(arrivals[i].frame - arrivals[i - 1].frame >= least, qPrintable(QString::number(i)));
        }
    }

    void sendPutsAChecksumBeforeEachEndAndRepeats()
    {
        JackPeer peer("cli-checksum-peer");
        QVERIFY(peer.isOpen());
        const cli_run::Result result =
            cli_run::run({"send", "--midi-api", "jack", "--out", "cli-checksum-peer", "--hex",
                          "F0 41 10 42 12 40 00 7F 00 F7 C0 05", "--checksum", "sum", "--repeat", "2", "--interval",
                          "10"});
        QCOMPARE(result.status, 0);
        // Sum from byte 5: 40 00 7F 00 -> 41 (0x40 + 0x7F = 0xBF; 128 - 0x3F).
        const Bytes once{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7, 0xC0, 0x05};
        Bytes twice = once;
        twice.insert(twice.end(), once.begin(), once.end());
        QVERIFY(peer.waitForBytes(twice.size()));
        QCOMPARE(peer.received(), twice);
    }

    void recordWritesAValidMidiFileUntilSigint()
    {
        JackPeer peer("cli-record-peer");
        QVERIFY(peer.isOpen());
        const QString take = m_dir.filePath("take.mid");
        QProcess process;
        cli_run::start(process, {"record", "--midi-api", "jack", "--in", "cli-record-peer", take});
        QVERIFY(waitForListener(peer));
        std::vector<Bytes> notes;
        for (int i = 0; i < 10; i++) {
            notes.push_back({0x90, static_cast<unsigned char>(0x30 + i), 0x40});
        }
        sendAll(peer, notes);
        QVERIFY(peer.waitUntilSent());
        // Written through every 100 ms: the file holds the notes before the end.
        const auto events = [&] {
            QProcess reader;
            reader.start("python3", {QStringLiteral(OSTREL_MIDI_FILE_READER), take});
            reader.waitForFinished();
            return QString::fromLatin1(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        };
        QTRY_COMPARE_WITH_TIMEOUT(events().size(), 10, 20000);
        cli_run::signal(process, SIGINT);
        const cli_run::Result result = cli_run::finish(process);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.err, QByteArray("received 10, lost 0\n"));
        const QStringList read = events();
        QCOMPARE(read.size(), 10);
        for (int i = 0; i < 10; i++) {
            QCOMPARE(read.at(i).section(' ', 1), QStringLiteral("90") + QString::number(0x30 + i, 16).toUpper() + "40");
        }
    }

    // From one instrument to another, filtered: in the cycle and at the
    // frame each message came in, as a direct connection passes it.
    void thruPassesWhatTheFilterLetsInTheSameCycle()
    {
        JackPeer source("cli-thru-source");
        JackPeer destination("cli-thru-destination");
        QVERIFY(source.isOpen() && destination.isOpen());
        const QString filter = m_dir.filePath("filter.ini");
        QFile file(filter);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[MidiFilter]\nNote%20Off=1\n");
        file.close();
        QProcess process;
        cli_run::start(process, {"thru", "--midi-api", "jack", "--in", "cli-thru-source", "--out",
                                 "cli-thru-destination", "--filter", filter});
        QVERIFY(waitForListener(source));
        QVERIFY(port_traffic::waitUntil([&] { return destination.inConnections() >= 1; }));
        // The first note, while the route may still be being published: passed
        // once, by the service or by the analyzer, whichever took it.
        source.send({0x90, 0x10, 0x01});
        QVERIFY(destination.waitForBytes(3));
        QTest::qWait(100);
        const size_t before = destination.received().size();
        const size_t arrivedBefore = destination.arrivals().size();
        source.send({0x90, 0x40, 0x40}, 10);
        source.send({0xB0, 0x07, 0x64}, 100);
        source.send({0x80, 0x40, 0x00}, 200);
        const Bytes passed{0x90, 0x40, 0x40, 0xB0, 0x07, 0x64};
        QVERIFY(destination.waitForBytes(before + passed.size()));
        QVERIFY(source.waitUntilSent());
        QTest::qWait(100);
        cli_run::signal(process, SIGINT);
        const cli_run::Result result = cli_run::finish(process);
        QVERIFY2(result.status == 0, result.err.constData());
        // A late cycle may add a line of its own ("-- JACK xrun ...").
        QVERIFY2(QRegularExpression("received \\d+, lost 0\n$").match(QString::fromLatin1(result.err)).hasMatch(),
                 result.err.constData());
        const Bytes received = destination.received();
        QCOMPARE(fromBytes(Bytes(received.begin() + static_cast<long>(before), received.end())).toHex(' '),
                 fromBytes(passed).toHex(' '));
        const std::vector<jack_nframes_t> sent = source.sentFrames();
        const std::vector<JackPeer::Arrival> arrived = destination.arrivals();
        QCOMPARE(arrived.size(), arrivedBefore + 2);
        QCOMPARE(arrived[arrivedBefore].frame, sent[sent.size() - 3]);
        QCOMPARE(arrived[arrivedBefore + 1].frame, sent[sent.size() - 2]);
    }

    // The README's continuous integration step: passes with an Identity
    // Reply, fails the job without one.
    void identityCheckExampleFailsTheJobWithoutAReply()
    {
        JackPeer peer("cli-identity-peer");
        QVERIFY(peer.isOpen());
        QProcess step;
        step.setWorkingDirectory(m_dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", QFileInfo(cli_run::program()).path() + ':' + environment.value("PATH"));
        step.setProcessEnvironment(environment);
        const QStringList script{QStringLiteral(OSTREL_SOURCE_DIR "/docs/examples/identity-check.sh"), "cli-identity-peer"};
        step.start("bash", script);
        QVERIFY(peer.waitForBytes(6));
        const Bytes reply{0xF0, 0x7E, 0x10, 0x06, 0x02, 0x7D, 0x01, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0xF7};
        peer.send(reply);
        QVERIFY(step.waitForFinished(30000));
        const QByteArray said = step.readAllStandardOutput();
        QVERIFY2(step.exitCode() == 0, said.constData());
        QVERIFY2(said.startsWith("identity: F0 7E 10 06 02"), said.constData());
        QFile saved(m_dir.filePath("identity.syx"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), fromBytes(reply));

        step.start("bash", script);
        QVERIFY(step.waitForFinished(30000));
        QCOMPARE(step.exitCode(), 1);
        QVERIFY(step.readAllStandardOutput().contains("::error::no Identity Reply from cli-identity-peer within 2 s"));
    }

    // Nothing usable: a clear reason, status 1, nothing sent.
    void badInputIsRefusedAndNothingSent()
    {
        JackPeer peer("cli-refusal-peer");
        QVERIFY(peer.isOpen());
        const QString noF7 = m_dir.filePath("open.syx");
        QFile file(noF7);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromHex("F07E7F0601"));
        file.close();
        const QStringList out{"--midi-api", "jack", "--out", "cli-refusal-peer"};
        struct Case {
            QStringList arguments;
            QByteArray says;
        };
        const QList<Case> cases{
            {QStringList{"send", "--midi-api", "jack", "--out", "no-such-port", "--hex", "90 40 40"},
             "no output port matches \"no-such-port\""},
            {QStringList{"send", "--hex", "90 40 4"} + out, "the last digit has no partner"},
            {QStringList{"send", "--hex", "F0 7E ZZ F7"} + out, "is not a hexadecimal pair"},
            {QStringList{"send", noF7} + out, "has no F7"},
            {QStringList{"send", m_dir.filePath("missing.syx")} + out, "cannot read"},
            {QStringList{"request", "--in", "cli-refusal-peer", "--hex", "F0 7E 7F 06 01 F7", "--timeout", "-1"} + out,
             "--timeout takes seconds"},
            {QStringList{"monitor", "--midi-api", "jack", "--in", "no-such-port"}, "no input port matches"},
            {QStringList{"send", "--hex", "90 40 40", "--checksum", "crc"} + out, "--checksum takes sum or xor"},
            {QStringList{"frobnicate"}, "no command"},
        };
        for (const Case& refused : cases) {
            const cli_run::Result result = cli_run::run(refused.arguments);
            QVERIFY2(result.status == 1, qPrintable(refused.arguments.join(' ')));
            QVERIFY2(result.err.contains(refused.says), result.err.constData());
            QVERIFY(result.out.isEmpty());
        }
        QTest::qWait(100);
        QCOMPARE(peer.receivedEvents(), size_t(0));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(CliJackTest)
#include "CliJackTest.moc"
