// ostrel-cli without any MIDI service but the built-in loopback, where what
// goes out comes back in: a request answers itself. Also how a word names a
// port, and each command's help.
#include <QTemporaryDir>
#include <QtTest>

#include "CliRun.h"
#include "PortMatch.h"

namespace {

const QStringList Loopback{"--out", "Ostrel Loopback 1", "--in", "Loopback 1"};

}  // namespace

class CliLoopbackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // No JACK server of another test may show up here.
        qputenv("JACK_DEFAULT_SERVER", "ostrel-cli-test-none");
    }

    void aWordNamesOnePort()
    {
        const QStringList names{"synth:out", "synth:out 2", "Drum Machine:midi", "Ostrel Loopback 1"};
        QString error;
        QCOMPARE(PortMatch::find(names, "synth:out", "input", error), 0);  // the whole name, though a part of another
        QCOMPARE(PortMatch::find(names, "drum", "input", error), 2);        // a part, in any case
        QCOMPARE(PortMatch::find(names, "out 2", "input", error), 1);
        QCOMPARE(PortMatch::find(names, "synth", "input", error), -1);
        QCOMPARE(error, QString("\"synth\" matches several input ports: \"synth:out\", \"synth:out 2\""));
        QCOMPARE(PortMatch::find(names, "piano", "output", error), -1);
        QVERIFY(error.startsWith("no output port matches \"piano\"; there are: \"synth:out\""));
        QCOMPARE(PortMatch::find(names, "", "input", error), -1);
        QCOMPARE(PortMatch::find({}, "x", "input", error), -1);
        QVERIFY(error.endsWith("there are: (none)"));
    }

    void everyCommandHasItsHelp()
    {
        for (const char* command : {"list", "monitor", "send", "request", "record", "thru"}) {
            const cli_run::Result result = cli_run::run({command, "--help"});
            QCOMPARE(result.status, 0);
            QVERIFY2(result.out.startsWith("Usage: ostrel-cli " + QByteArray(command) + " [options]"),
                     result.out.constData());
            QVERIFY(result.out.contains("--midi-api"));
            QVERIFY(result.err.isEmpty());
        }
        QCOMPARE(cli_run::run({"--help"}).status, 0);
        const cli_run::Result none = cli_run::run({});
        QCOMPARE(none.status, 1);
        QVERIFY(none.err.contains("a command is needed"));
        QCOMPARE(cli_run::run({"list", "--bogus"}).status, 1);
    }

    void aRequestOverTheLoopbackAnswersItself()
    {
        const cli_run::Result result =
            cli_run::run(QStringList{"request", "--hex", "F0 7E 7F 06 01 F7", "--expect", "F0 7E 7F 06 01"} + Loopback);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, QByteArray("F0 7E 7F 06 01 F7\n"));
        const cli_run::Result wrong =
            cli_run::run(QStringList{"request", "--hex", "F0 7E 7F 06 01 F7", "--expect", "F0 7E 7F 06 02"} + Loopback);
        QCOMPARE(wrong.status, 3);
        // Not a system exclusive: no reply.
        const cli_run::Result none = cli_run::run(QStringList{"request", "--hex", "90 40 40", "--timeout", "0.2"} + Loopback);
        QCOMPARE(none.status, 2);
        QCOMPARE(none.err, QByteArray("ostrel-cli request: No reply received.\n"));
    }

    // The checksum start comes from a user's settings file unless given.
    void theSettingsFileGivesTheChecksumStart()
    {
        const QString settings = m_dir.filePath("Ostrel.ini");
        QFile file(settings);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Preferences]\nChecksumStart=7\n");
        file.close();
        const QStringList request = QStringList{"request", "--hex", "F0 41 10 42 12 40 00 7F 00 F7", "--checksum",
                                                "sum"} +
                                    Loopback;
        // From byte 7: 7F 00 -> 01; from byte 5 (the default): 40 00 7F 00 -> 41.
        QCOMPARE(cli_run::run(request + QStringList{"--settings", settings}).out,
                 QByteArray("F0 41 10 42 12 40 00 7F 00 01 F7\n"));
        QCOMPARE(cli_run::run(request).out, QByteArray("F0 41 10 42 12 40 00 7F 00 41 F7\n"));
        QCOMPARE(cli_run::run(request + QStringList{"--settings", settings, "--checksum-start", "5"}).out,
                 QByteArray("F0 41 10 42 12 40 00 7F 00 41 F7\n"));
        const cli_run::Result missing = cli_run::run(request + QStringList{"--settings", m_dir.filePath("none.ini")});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains("cannot read"));
    }

    // Saved as the editor saves: .syx as bytes, anything else as its text.
    void repliesAreSavedAsBytesOrText()
    {
        const QString syx = m_dir.filePath("reply.syx");
        const QString txt = m_dir.filePath("reply.txt");
        const QStringList request = QStringList{"request", "--hex", "F0 01 02 F7 F0 03 F7", "--count", "2"} + Loopback;
        QCOMPARE(cli_run::run(request + QStringList{"--save", syx}).status, 0);
        QCOMPARE(cli_run::run(request + QStringList{"--save", txt}).out, QByteArray("F0 01 02 F7\nF0 03 F7\n"));
        QFile bytes(syx);
        QVERIFY(bytes.open(QIODevice::ReadOnly));
        QCOMPARE(bytes.readAll(), QByteArray::fromHex("F00102F7F003F7"));
        QFile text(txt);
        QVERIFY(text.open(QIODevice::ReadOnly));
        QCOMPARE(text.readAll(), QByteArray("F0 01 02 F7\nF0 03 F7"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(CliLoopbackTest)
#include "CliLoopbackTest.moc"
