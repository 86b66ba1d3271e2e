// Sending editor text through the application's sending path: message by message with the
// parser, raw chunks without it, progress, failures, stop and repeat.
#include <QSignalSpy>
#include <QtTest>

#include <memory>

#include "MidiBulkIntervalManager.h"
#include "MidiEditRepeatTransmittionThread.h"
#include "MidiEditTransmittionThread.h"
#include "LoopbackWindowFixture.h"

class TransmissionThreadTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:

    QList<qint32> results(QSignalSpy& spy)
    {
        QList<qint32> list;
        for (const QList<QVariant>& call : spy) {
            list.append(call.at(0).toInt());
        }
        return list;
    }

private Q_SLOTS:
    void init() { startWindow(Hidden); }

    void cleanup() { stopWindow(); }

    void parsedTextGoesMessageByMessageWithTheBulkInterval()
    {
        m_model->setModelIntValue(ParamBulkInterval, 100);
        MidiEditTransmittionThread thread(m_model.get(), m_window->sender());
        QSignalSpy start(&thread, &MidiEditTransmittionThread::startTransmittion);
        QSignalSpy progress(&thread, &MidiEditTransmittionThread::transmittionProgress);
        QSignalSpy finish(&thread, &MidiEditTransmittionThread::finishTransmittion);
        thread.start();
        const uint64_t pauses = m_window->bulkIntervalManager()->pausesHeld();
        thread.setTransmittionMessage("F0 01 F7\nF0 02 F7 // two dumps\n90 3C 40 3E 40");
        QVERIFY(finish.wait(5000));
        QCOMPARE(m_window->bulkIntervalManager()->pausesHeld() - pauses, 2u);  // a pause after each dump
        QCOMPARE(start.first().at(0).toUInt(), 11u);  // the digits typed
        // Progress counts what went out: running status expanded to full messages.
        QCOMPARE(progress.size(), 4);
        QCOMPARE(progress.last().at(0).toUInt(), 12u);
        QCOMPARE(results(finish), QList<qint32>{0});
        QVERIFY(m_collector->waitForBytes(12));
        const auto packets = m_collector->packets();
        QCOMPARE(packets.size(), size_t(4));
        QCOMPARE(packets[3].bytes, (std::vector<unsigned char>{0x90, 0x3E, 0x40}));  // running status expanded
    }

    void withoutTheParserTextGoesInRawChunks()
    {
        m_model->setModelIntValue(ParamMessageParsed, 0);
        MidiEditTransmittionThread thread(m_model.get(), m_window->sender());
        QSignalSpy progress(&thread, &MidiEditTransmittionThread::transmittionProgress);
        QSignalSpy finish(&thread, &MidiEditTransmittionThread::finishTransmittion);
        thread.start();
        QString text;
        for (int i = 0; i < 5000; i++) {
            text += "01";
        }
        thread.setTransmittionMessage(text);
        QVERIFY(finish.wait(5000));
        QCOMPARE(progress.size(), 2);
        QCOMPARE(progress.at(0).at(0).toUInt(), 4096u);
        QCOMPARE(progress.at(1).at(0).toUInt(), 5000u);
        QVERIFY(m_collector->waitForBytes(5000));
        QCOMPARE(m_collector->packets().front().bytes.size(), size_t(4096));
    }

    void failuresAndEmptyTexts()
    {
        MidiEditTransmittionThread thread(m_model.get(), m_window->sender());
        QSignalSpy start(&thread, &MidiEditTransmittionThread::startTransmittion);
        QSignalSpy finish(&thread, &MidiEditTransmittionThread::finishTransmittion);
        thread.start();
        // Each transmission reports exactly one result: the failed one only Failed.
        thread.setTransmittionMessage("F0 01 F7 GG");
        QTRY_COMPARE(results(finish), QList<qint32>{2});
        thread.setTransmittionMessage("F8 F");  // a final odd digit is not sent
        QTRY_COMPARE(results(finish), (QList<qint32>{2, 0}));
        QVERIFY(m_collector->waitForBytes(1));
        finish.clear();
        start.clear();
        thread.setTransmittionMessage(" , // nothing\n");
        QTRY_COMPARE(results(finish), QList<qint32>{0});
        QCOMPARE(start.size(), 0);
        // A lone digit in a chunk of its own fails.
        finish.clear();
        thread.setTransmittionMessage(QString(8192, QLatin1Char('0')).replace(0, 2, "F8") + "F");
        QTRY_COMPARE(results(finish), QList<qint32>{2});
        thread.setTransmittionMessage("F8");
        QTRY_COMPARE(results(finish), (QList<qint32>{2, 0}));
    }

    void stopEndsALongTransmission()
    {
        m_model->setModelIntValue(ParamBulkInterval, 50);
        MidiEditTransmittionThread thread(m_model.get(), m_window->sender());
        QSignalSpy progress(&thread, &MidiEditTransmittionThread::transmittionProgress);
        QSignalSpy finish(&thread, &MidiEditTransmittionThread::finishTransmittion);
        thread.start();
        QString text;
        for (int i = 0; i < 100; i++) {
            text += "F0 01 F7 ";
        }
        thread.setTransmittionMessage(text);
        QVERIFY(progress.wait(5000));
        thread.stopTransmittion();
        QTRY_COMPARE(results(finish), QList<qint32>{1});
        QVERIFY(progress.size() < 100);
        thread.setTransmittionMessage("F8");
        QTRY_COMPARE(results(finish), (QList<qint32>{1, 0}));
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
