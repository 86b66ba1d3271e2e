// Sending editor text through the application's sending path: message by message with the
// parser, raw chunks without it, progress, failures, stop, and a repeat ended in its pause.
#include <QtTest>

#include <memory>

#include "MidiBulkIntervalManager.h"
#include "MidiEditRepeatTransmittionThread.h"
#include "MidiEditTransmittionThread.h"
#include "LoopbackWindowFixture.h"
#include "PortTraffic.h"
#include "RecordingSender.h"

namespace {

using port_traffic::systemExclusive;

// The text an editor holds for bytes.
QString textOf(const std::vector<unsigned char>& bytes)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())).toHex(' ').toUpper());
}

}  // namespace

class TransmissionThreadTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:
    // What a transmission thread reported, taken on this (the test's) thread:
    // the signals come from the sending thread, queued, as windows get them.
    struct Reports {
        QList<quint32> started;
        QList<quint32> progress;
        QList<qint32> finished;
    };

    void listen(MidiEditTransmittionThread& thread, Reports& reports)
    {
        connect(&thread, &MidiEditTransmittionThread::startTransmittion, this,
                [&reports](quint32 bytes) { reports.started.append(bytes); });
        connect(&thread, &MidiEditTransmittionThread::transmittionProgress, this,
                [&reports](quint32 bytes) { reports.progress.append(bytes); });
        connect(&thread, &MidiEditTransmittionThread::finishTransmittion, this,
                [&reports](qint32 result) { reports.finished.append(result); });
    }

private Q_SLOTS:
    void init() { startWindow(Hidden); }

    void cleanup() { stopWindow(); }

    void parsedTextGoesMessageByMessageWithTheBulkInterval()
    {
        m_model->setModelIntValue(ParamBulkInterval, 100);
        MidiEditTransmittionThread thread(m_model.get(), m_window->sender());
        Reports reports;
        listen(thread, reports);
        thread.start();
        const uint64_t pauses = m_window->bulkIntervalManager()->pausesHeld();
        thread.setTransmittionMessage("F0 01 F7\nF0 02 F7 // two dumps\n90 3C 40 3E 40");
        QTRY_COMPARE_WITH_TIMEOUT(reports.finished, QList<qint32>{0}, 10000);
        QCOMPARE(m_window->bulkIntervalManager()->pausesHeld() - pauses, 2u);  // a pause after each dump
        QCOMPARE(reports.started, QList<quint32>{11});  // the digits typed
        // Progress counts what went out: running status expanded to full messages.
        QCOMPARE(reports.progress.size(), 4);
        QCOMPARE(reports.progress.last(), 12u);
        QVERIFY(m_collector->waitForBytes(12));
        const auto packets = m_collector->packets();
        QCOMPARE(packets.size(), size_t(4));
        QCOMPARE(packets[3].bytes, (std::vector<unsigned char>{0x90, 0x3E, 0x40}));  // running status expanded
    }

    void withoutTheParserTextGoesInRawChunks()
    {
        m_model->setModelIntValue(ParamMessageParsed, 0);
        MidiEditTransmittionThread thread(m_model.get(), m_window->sender());
        Reports reports;
        listen(thread, reports);
        thread.start();
        QString text;
        for (int i = 0; i < 5000; i++) {
            text += "01";
        }
        thread.setTransmittionMessage(text);
        QTRY_COMPARE_WITH_TIMEOUT(reports.finished, QList<qint32>{0}, 10000);
        QCOMPARE(reports.progress, (QList<quint32>{4096, 5000}));
        QVERIFY(m_collector->waitForBytes(5000));
        QCOMPARE(m_collector->packets().front().bytes.size(), size_t(4096));
    }

    // Messages longer than the parser's buffer go whole, each after the
    // one before it; text between them (a comment) does not matter.
    void longSystemExclusiveGoesWhole()
    {
        MidiEditTransmittionThread thread(m_model.get(), m_window->sender());
        Reports reports;
        listen(thread, reports);
        thread.start();
        const auto long20k = systemExclusive(20000);
        const auto long100k = systemExclusive(100000);
        thread.setTransmittionMessage("F0 01 F7\n" + textOf(long20k) + "\n// firmware\n" + textOf(long100k));
        QTRY_COMPARE_WITH_TIMEOUT(reports.finished, QList<qint32>{0}, 10000);
        QCOMPARE(reports.progress.last(), 3u + 20000u + 100000u);
        QVERIFY(m_collector->waitForBytes(120003));
        std::vector<unsigned char> joined;
        for (const auto& packet : m_collector->packets()) {
            joined.insert(joined.end(), packet.bytes.begin(), packet.bytes.end());
        }
        std::vector<unsigned char> expected{0xF0, 0x01, 0xF7};
        expected.insert(expected.end(), long20k.begin(), long20k.end());
        expected.insert(expected.end(), long100k.begin(), long100k.end());
        QVERIFY(joined == expected);
    }

    // A message longer than the outputs take stops the transmission before
    // it: what came before went, nothing of it nor after it; the error
    // names its line and both sizes.
    void aMessageTheOutputsCannotTakeStopsBeforeIt()
    {
        RecordingSender sender;
        sender.largest = 32720;  // as a JACK port takes
        MidiEditTransmittionThread thread(m_model.get(), &sender);
        Reports reports;
        QStringList errors;
        listen(thread, reports);
        connect(&thread, &MidiEditTransmittionThread::transmittionError, this,
                [&errors](const QString& text) { errors.append(text); });
        thread.start();
        thread.setTransmittionMessage("F0 01 F7\n90 3C 40\n\n" + textOf(systemExclusive(40000)) + "\nF0 02 F7");
        QTRY_COMPARE_WITH_TIMEOUT(reports.finished, QList<qint32>{MidiEditTransmittionThread::Failed}, 10000);
        QCOMPARE(errors, QStringList{"Line 4: a system exclusive message of 40000 bytes; "
                                     "the output port takes at most 32720 bytes."});
        QCOMPARE(sender.count(), size_t(2));
        QCOMPARE(sender.sent()[1].bytes, (std::vector<unsigned char>{0x90, 0x3C, 0x40}));
        // One that fits goes.
        reports.finished.clear();
        thread.setTransmittionMessage(textOf(systemExclusive(32720)));
        QTRY_COMPARE_WITH_TIMEOUT(reports.finished, QList<qint32>{0}, 10000);
        QCOMPARE(sender.count(), size_t(3));
        QVERIFY(sender.sent()[2].bytes == systemExclusive(32720));
    }

    void failuresAndEmptyTexts()
    {
        MidiEditTransmittionThread thread(m_model.get(), m_window->sender());
        Reports reports;
        listen(thread, reports);
        thread.start();
        // Each transmission reports exactly one result: the failed one only Failed.
        thread.setTransmittionMessage("F0 01 F7 GG");
        QTRY_COMPARE(reports.finished, QList<qint32>{2});
        thread.setTransmittionMessage("F8 F");  // a final odd digit is not sent
        QTRY_COMPARE(reports.finished, (QList<qint32>{2, 0}));
        QVERIFY(m_collector->waitForBytes(1));
        reports = Reports();
        thread.setTransmittionMessage(" , // nothing\n");
        QTRY_COMPARE(reports.finished, QList<qint32>{0});
        QVERIFY(reports.started.isEmpty());
        // A lone digit in a chunk of its own fails.
        reports.finished.clear();
        thread.setTransmittionMessage(QString(8192, QLatin1Char('0')).replace(0, 2, "F8") + "F");
        QTRY_COMPARE(reports.finished, QList<qint32>{2});
        thread.setTransmittionMessage("F8");
        QTRY_COMPARE(reports.finished, (QList<qint32>{2, 0}));
    }

    void stopEndsALongTransmission()
    {
        m_model->setModelIntValue(ParamBulkInterval, 50);
        MidiEditTransmittionThread thread(m_model.get(), m_window->sender());
        Reports reports;
        listen(thread, reports);
        thread.start();
        QString text;
        for (int i = 0; i < 100; i++) {
            text += "F0 01 F7 ";
        }
        thread.setTransmittionMessage(text);
        QTRY_VERIFY_WITH_TIMEOUT(!reports.progress.isEmpty(), 10000);
        thread.stopTransmittion();
        QTRY_COMPARE(reports.finished, QList<qint32>{1});
        QVERIFY(reports.progress.size() < 100);
        thread.setTransmittionMessage("F8");
        QTRY_COMPARE(reports.finished, (QList<qint32>{1, 0}));
    }

    void destroyingARepeatingThreadEndsIt()
    {
        auto thread = std::make_unique<MidiEditRepeatTransmittionThread>(m_model.get(), m_window->sender());
        thread->setRepeatInterval(24 * 3600 * 1000);
        thread->start();
        thread->setTransmittionMessage("FE");
        QVERIFY(m_collector->waitForBytes(1));
        thread.reset();  // in the middle of a day's pause: returns at once, or the test times out
    }
};

QTEST_MAIN(TransmissionThreadTest)
#include "TransmissionThreadTest.moc"
