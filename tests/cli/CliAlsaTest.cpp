// ostrel-cli through the ALSA sequencer, against a peer client that uses
// alsa-lib's own byte/event converter: the program runs as its own process
// (inside the test's virtual machine where this machine has no sequencer).
#include <QTemporaryDir>
#include <QtTest>

#include "AlsaPeer.h"
#include "CliRun.h"

namespace {

using Bytes = std::vector<unsigned char>;

QByteArray fromBytes(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

const QStringList Alsa{"--midi-api", "alsa"};

}  // namespace

class CliAlsaTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void listNamesThePeer()
    {
        AlsaPeer peer("cli-alsa-peer");
        QVERIFY2(peer.isOpen(), "no ALSA sequencer");
        const cli_run::Result result = cli_run::run(QStringList{"list"} + Alsa);
        QCOMPARE(result.status, 0);
        QVERIFY2(result.out.contains("in\tcli-alsa-peer:out\n"), result.out.constData());
        QVERIFY(result.out.contains("out\tcli-alsa-peer:in\n"));
    }

    void monitorPrintsEachMessagesLine()
    {
        AlsaPeer peer("cli-alsa-monitor");
        QVERIFY(peer.isOpen());
        QProcess process;
        cli_run::start(process, QStringList{"monitor", "--in", "cli-alsa-monitor", "--details", "--count", "4"} + Alsa);
        QVERIFY(port_traffic::waitUntil([&] { return peer.outSubscribers() >= 1; }));
        peer.send({0x90, 0x3C, 0x64, 0x3C, 0x00, 0xB2, 0x07, 0x64, 0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});
        const cli_run::Result result = cli_run::finish(process);
        QVERIFY2(result.status == 0, (result.out + result.err).constData());
        // Running status written out; a note-on of velocity 0 stays one.
        QCOMPARE(result.out, QByteArray("Port1 Ch 1 NoteOn   90 3C 64 [C3]\n"
                                        "Port1 Ch 1 NoteOn   90 3C 00 [C3]\n"
                                        "Port1 Ch 3 CC       B2 07 64 [007 Volume] = 100\n"
                                        "Port1 ---- SysEx    F0 7E 7F 06 01 F7 Identity Request, device 7F\n"));
        QCOMPARE(result.err, QByteArray("received 4, lost 0\n"));
    }

    void requestReturnsTheReplyOrSaysWhyNot()
    {
        AlsaPeer peer("cli-alsa-request");
        QVERIFY(peer.isOpen());
        const QStringList ports = QStringList{"--out", "cli-alsa-request:in", "--in", "cli-alsa-request:out",
                                              "--hex", "F0 7E 7F 06 01 F7"} + Alsa;
        const Bytes reply{0xF0, 0x7E, 0x01, 0x06, 0x02, 0x11, 0x22, 0xF7};
        QProcess answered;
        cli_run::start(answered, QStringList{"request", "--expect", "F0 7E 01 06 02"} + ports);
        QVERIFY(peer.waitForBytes(6));
        peer.send(reply);
        cli_run::Result result = cli_run::finish(answered);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, QByteArray("F0 7E 01 06 02 11 22 F7\n"));

        QProcess wrong;
        cli_run::start(wrong, QStringList{"request", "--expect", "F0 7E 01 06 09"} + ports);
        QVERIFY(peer.waitForBytes(12));
        peer.send(reply);
        QCOMPARE(cli_run::finish(wrong).status, 3);

        result = cli_run::run(QStringList{"request", "--timeout", "0.5"} + ports);
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.contains("No reply received."), result.err.constData());
    }

    void sendDeliversADumpByteForByte()
    {
        AlsaPeer peer("cli-alsa-send");
        QVERIFY(peer.isOpen());
        const QString path = m_dir.filePath("dump.syx");
        const QByteArray dump = cli_run::writeDump(path, 8, 8192);
        QCOMPARE(dump.size(), 8 * 8192);
        const cli_run::Result result =
            cli_run::run(QStringList{"send", "--out", "cli-alsa-send", path, "--bulk-interval", "5"} + Alsa);
        QVERIFY2(result.status == 0, result.err.constData());
        QVERIFY(peer.waitForBytes(static_cast<size_t>(dump.size())));
        QCOMPARE(fromBytes(peer.received()), dump);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(CliAlsaTest)
#include "CliAlsaTest.moc"
