// Recording to a Standard MIDI File, compared byte for byte with the file
// the format asks for: format 0, 960 ticks a quarter note at 120 BPM.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "SmfRecorder.h"

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The header chunk and one track chunk holding events (tempo and end of
// track around them).
QByteArray midiFile(const QByteArray& events)
{
    const QByteArray track = QByteArray::fromHex("00ff510307a120") + events + QByteArray::fromHex("00ff2f00");
    QByteArray length(4, '\0');
    for (int i = 0; i < 4; i++) {
        length[i] = static_cast<char>(track.size() >> (24 - 8 * i));
    }
    return QByteArray::fromHex("4d546864000000060000000103c0") + "MTrk" + length + track;
}

}  // namespace

class SmfRecorderTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

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
        const QByteArray longDump = QByteArray(300, '\x11').prepend('\xF0').append('\xF7');
        add(0, QByteArray::fromHex("903c40"));
        add(500, QByteArray::fromHex("803c00"));         // half a second: a quarter note, 960 ticks
        add(500, QByteArray::fromHex("c005"));
        add(1000, QByteArray::fromHex("f07e7f0601f7"));  // system exclusive
        add(1250, QByteArray::fromHex("f8"));            // real time: an escape
        add(1250, QByteArray::fromHex("3c40"), false);   // a raw packet: an escape
        add(1000, QByteArray::fromHex("e00040"));        // before the previous: held at its tick
        add(60000, longDump);                            // a length of two bytes
        QVERIFY(recorder.close());
        QVERIFY(!recorder.isOpen());
        // Delta times and lengths as variable-length numbers: 960 = 87 40,
        // 480 = 83 60, 112800 = 86 F1 20, 301 = 82 2D.
        const QByteArray events = QByteArray::fromHex("00903c40" "8740803c00" "00c005" "8740f0057e7f0601f7"
                                                      "8360f701f8" "00f7023c40" "00e00040" "86f120f0822d") +
                                  longDump.mid(1);
        QCOMPARE(contents(path).toHex(), midiFile(events).toHex());
    }

    // After each sync the file on disk is complete as it stands, read while
    // the recorder still holds it; what follows overwrites that end, and the
    // closed file is the one a recorder that never synced writes.
    void everySyncLeavesAValidFile()
    {
        const QString path = m_dir.filePath("synced.mid");
        SmfRecorder recorder;
        QVERIFY(recorder.open(path, 0));
        QCOMPARE(contents(path), midiFile(QByteArray()));  // valid from the start
        const auto add = [&](uint64_t ms, const char* hex) {
            const QByteArray bytes = QByteArray::fromHex(hex);
            recorder.add(ms * 1000000u, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size(), true);
        };
        add(0, "903c40");
        QVERIFY(recorder.sync());
        QCOMPARE(contents(path), midiFile(QByteArray::fromHex("00903c40")));
        QVERIFY(recorder.sync());  // nothing new: the same file
        QCOMPARE(contents(path), midiFile(QByteArray::fromHex("00903c40")));
        add(500, "c005");
        QVERIFY(recorder.sync());
        QCOMPARE(contents(path), midiFile(QByteArray::fromHex("00903c40" "8740c005")));
        add(1000, "803c00");
        QVERIFY(recorder.close());
        QCOMPARE(contents(path), midiFile(QByteArray::fromHex("00903c40" "8740c005" "8740803c00")));
    }

    void anEmptyTakeIsAValidFileAndAnUnwritablePlaceIsRefused()
    {
        SmfRecorder recorder;
        const QString path = m_dir.filePath("empty.mid");
        QVERIFY(recorder.open(path, 0));
        QVERIFY(recorder.close());
        QCOMPARE(contents(path), midiFile(QByteArray()));
        QVERIFY(!recorder.open(m_dir.filePath("no/such/folder/a.mid"), 0));
        QVERIFY(!recorder.close());
    }
};

QTEST_GUILESS_MAIN(SmfRecorderTest)
#include "SmfRecorderTest.moc"
