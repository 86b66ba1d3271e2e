// A monitor's log file: every line in order, and a log whose disk falls
// behind drops text beyond its bound, says so where it happened, and is
// closed without waiting for it.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "MonitorLog.h"

namespace {

QByteArray lines(int first, int count)
{
    QByteArray text;
    for (int i = first; i < first + count; i++) {
        text += "\nB0 " + QByteArray::number(i);
    }
    return text;
}

}  // namespace

class MonitorLogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void everyLineInOrderEachEndingWithABreak()
    {
        MonitorLog log;
        const QString path = m_dir.filePath("in.log");
        QVERIFY(log.open(path));
        QVERIFY(log.isOpen());
        log.append(lines(0, 3));
        log.append(QByteArray());
        log.append("B0 3");  // a text without its leading break still starts a line
        log.close();
        QVERIFY(!log.isOpen());
        MonitorLog::waitForClosedLogs();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("B0 0\nB0 1\nB0 2\nB0 3\n"));
        QCOMPARE(log.lostLines(), 0u);
        log.append(lines(4, 1));  // closed: nothing happens
        QVERIFY(!log.open(m_dir.filePath("no/such/folder/x.log")));
    }

    // The log writes into a pipe nobody reads yet: the pipe fills, the
    // worker waits, and what is handed over beyond the bound is dropped.
    void aStuckDiskDropsBeyondTheBoundAndSaysSo()
    {
        const QString fifo = m_dir.filePath("stuck");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        MonitorLog log(64 * 1024);
        QVERIFY(log.open(fifo));
        const int total = 100000;
        for (int i = 0; i < total; i += 100) {
            log.append(lines(i, 100));
        }
        QVERIFY(log.lostLines() > 0);
        // Closing never waits for the stuck disk: the worker finishes alone
        // once the pipe is drained.
        log.close();
        QVERIFY(!log.isOpen());
        QByteArray written;
        std::thread drain([&] {
            char buffer[65536];
            for (;;) {
                const ssize_t n = ::read(reader, buffer, sizeof buffer);
                if (n > 0) {
                    written.append(buffer, static_cast<int>(n));
                } else if (n == 0) {
                    break;  // the writer closed
                } else {
                    usleep(1000);
                }
            }
        });
        drain.join();
        MonitorLog::waitForClosedLogs();
        ::close(reader);
        // Lines keep their order, and each gap is said, with its size, where it is.
        int next = 0;
        int kept = 0;
        int lost = 0;
        int announced = 0;
        for (const QByteArray& line : written.split('\n')) {
            if (line.startsWith("-- ")) {
                announced = line.mid(3).split(' ').first().toInt();
                QVERIFY(line.endsWith(" messages lost --"));
                lost += announced;
                continue;
            }
            if (line.isEmpty()) {
                continue;
            }
            QCOMPARE(line.mid(3).toInt(), next + announced);
            next += announced + 1;
            announced = 0;
            kept++;
        }
        QCOMPARE(next + announced, total);
        QCOMPARE(kept + lost, total);
        QCOMPARE(static_cast<uint64_t>(lost), log.lostLines());
    }
};

QTEST_GUILESS_MAIN(MonitorLogTest)
#include "MonitorLogTest.moc"
