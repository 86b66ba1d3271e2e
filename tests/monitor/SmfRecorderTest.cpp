// Recording to a Standard MIDI File, read back by a reader of the tests' own.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "SmfReader.h"
#include "SmfRecorder.h"

class SmfRecorderTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void eachMessageAtTheTickOfItsTime()
    {
        const QString path = m_dir.filePath("take.mid");
        const uint64_t start = 5000000000ull;  // ns
        SmfRecorder recorder;
        QVERIFY(recorder.open(path, start));
        const auto add = [&](uint64_t afterMs, QByteArray bytes, bool parsed = true) {
            recorder.add(start + afterMs * 1000000u, reinterpret_cast<const unsigned char*>(bytes.constData()),
                         bytes.size(), parsed);
        };
        add(0, QByteArray::fromHex("903c40"));
        add(500, QByteArray::fromHex("803c00"));         // half a second: a quarter note
        add(500, QByteArray::fromHex("c005"));
        add(1000, QByteArray::fromHex("f07e7f0601f7"));  // system exclusive
        add(1250, QByteArray::fromHex("f8"));            // real time: an escape
        add(1250, QByteArray::fromHex("3c40"), false);   // a raw packet
        add(1000, QByteArray::fromHex("e00040"));        // before the previous: held at its tick
        add(60000, QByteArray(300, '\x11').prepend('\xF0').append('\xF7'));  // a length of two bytes
        QVERIFY(recorder.close());
        QVERIFY(!recorder.isOpen());

        const SmfFile smf = readSmf(contents(path));
        QVERIFY(smf.valid);
        QCOMPARE(smf.format, 0);
        QCOMPARE(smf.tracks, 1);
        QCOMPARE(smf.division, 960);
        const QList<SmfEvent>& events = smf.events.first();
        QCOMPARE(events.size(), 10);
        QCOMPARE(events.at(0).bytes, QByteArray::fromHex("ff5107a120"));  // 500000 us a quarter: 120 BPM
        const struct {
            uint64_t tick;
            QByteArray bytes;
            bool escape;
        } wanted[] = {
            {0, QByteArray::fromHex("903c40"), false},     {960, QByteArray::fromHex("803c00"), false},
            {960, QByteArray::fromHex("c005"), false},     {1920, QByteArray::fromHex("f07e7f0601f7"), false},
            {2400, QByteArray::fromHex("f8"), true},       {2400, QByteArray::fromHex("3c40"), true},
            {2400, QByteArray::fromHex("e00040"), false},
            {115200, QByteArray(300, '\x11').prepend('\xF0').append('\xF7'), false},
        };
        for (int i = 0; i < 8; i++) {
            QCOMPARE(events.at(i + 1).tick, wanted[i].tick);
            QCOMPARE(events.at(i + 1).bytes, wanted[i].bytes);
            QCOMPARE(events.at(i + 1).escape, wanted[i].escape);
        }
        QCOMPARE(events.last().bytes, QByteArray::fromHex("ff2f"));  // end of track
        QCOMPARE(events.last().tick, 115200u);
    }

    void anEmptyTakeIsAValidFileAndAnUnwritablePlaceIsRefused()
    {
        SmfRecorder recorder;
        const QString path = m_dir.filePath("empty.mid");
        QVERIFY(recorder.open(path, 0));
        QVERIFY(recorder.close());
        const SmfFile smf = readSmf(contents(path));
        QVERIFY(smf.valid);
        QCOMPARE(smf.events.first().size(), 2);  // tempo and end
        QVERIFY(!recorder.open(m_dir.filePath("no/such/folder/a.mid"), 0));
        QVERIFY(!recorder.close());
    }
};

QTEST_GUILESS_MAIN(SmfRecorderTest)
#include "SmfRecorderTest.moc"
