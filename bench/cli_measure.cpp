// How ostrel-cli's monitor --json keeps up with a flood: a JACK peer sends
// note-on messages at 20,000 a second (a cycle's worth at a time, each message's
// note and velocity a running count, so order and gaps show), ostrel-cli
// prints them as JSON to a pipe this program reads. Reports the messages
// sent, the lines read, those out of order or missing, the program's own
// summary ("received N, lost M") and its CPU time.
//   cli_measure OSTREL-CLI [seconds=10] [rate=20000]
// Needs a running JACK server (JACK_DEFAULT_SERVER for a named one).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <thread>
#include <unistd.h>

#include "JackPeer.h"

namespace {

// The process's user and system CPU time so far, in seconds (0 once gone).
double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) {
        return 0;
    }
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cli_measure OSTREL-CLI [seconds=10] [rate=20000]\n");
        return 2;
    }
    int seconds = 10, rate = 20000;
    for (int i = 2; i < argc; i++) {
        const QByteArray argument(argv[i]);
        if (argument.startsWith("seconds=")) {
            seconds = argument.mid(8).toInt();
        } else if (argument.startsWith("rate=")) {
            rate = argument.mid(5).toInt();
        }
    }
    JackPeer peer("cli-measure-peer");
    if (!peer.isOpen()) {
        std::fprintf(stderr, "no JACK server\n");
        return 1;
    }
    peer.setRecording(false);
    const double cycleSeconds = static_cast<double>(peer.bufferSize()) / peer.sampleRate();
    const long cycles = static_cast<long>(seconds / cycleSeconds);
    const int perCycle = static_cast<int>(rate * cycleSeconds + 0.5);
    const long total = cycles * perCycle;

    QProcess cli;
    cli.start(QString::fromLocal8Bit(argv[1]),
              {"monitor", "--midi-api", "jack", "--in", "cli-measure-peer", "--json", "--count", QString::number(total)});
    if (!cli.waitForStarted() || !port_traffic::waitUntil([&] { return peer.outConnections() >= 1; })) {
        std::fprintf(stderr, "ostrel-cli did not connect\n");
        return 1;
    }
    // A cycle's messages at a time, a little ahead of the server.
    std::thread sender([&] {
        const auto start = std::chrono::steady_clock::now();
        for (long cycle = 0; cycle < cycles; cycle++) {
            std::this_thread::sleep_until(start + std::chrono::duration<double>(cycle * cycleSeconds));
            for (int i = 0; i < perCycle; i++) {
                const long n = cycle * perCycle + i;
                // At the cycle's first frame: the sender may run a cycle
                // ahead, and the offsets of one cycle must not decrease.
                peer.send({0x90, static_cast<unsigned char>(n & 0x7F), static_cast<unsigned char>((n >> 7) & 0x7F)});
            }
        }
    });
    long lines = 0, disorder = 0;
    double cpu = 0;
    QByteArray pending;
    QElapsedTimer clock;
    clock.start();
    while (cli.state() != QProcess::NotRunning) {
        cli.waitForReadyRead(100);
        cpu = std::max(cpu, cpuSeconds(cli.processId()));
        pending += cli.readAllStandardOutput();
        int end = 0;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            // "bytes":"90 NN VV": the running count's low 14 bits.
            const int at = line.indexOf("\"bytes\":\"90 ");
            if (at < 0) {
                continue;  // a notice
            }
            const long n = line.mid(at + 12, 2).toLong(nullptr, 16) | (line.mid(at + 15, 2).toLong(nullptr, 16) << 7);
            disorder += n != (lines & 0x3FFF) ? 1 : 0;
            lines++;
        }
        if (clock.elapsed() > (seconds + 60) * 1000LL) {
            cli.kill();
        }
    }
    sender.join();
    const QByteArray summary = cli.readAllStandardError().trimmed();
    std::printf("JACK %u frames at %u Hz; %ld messages in %ld cycles (%d each, %d a second) for %d s\n",
                peer.bufferSize(), peer.sampleRate(), total, cycles, perCycle, rate, seconds);
    std::printf("read %ld JSON lines through the pipe, %ld out of order; ostrel-cli said \"%s\", exit %d;"
                " its CPU %.2f s (%.1f %% of one core over the run)\n",
                lines, disorder, summary.constData(), cli.exitCode(), cpu, 100.0 * cpu / seconds);
    return lines == total && disorder == 0 ? 0 : 1;
}
