// Dump files as text and as raw system exclusive bytes (.syx).
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "DumpFile.h"
#include "Utility.h"

class DumpFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QByteArray contents(const QString& name)
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

private Q_SLOTS:
    void bytesBecomeOneMessagePerLine()
    {
        QCOMPARE(DumpFile::textFromBytes(QByteArray::fromHex("f07e7f0601f7f0431001f7")),
                 QString("F0 7E 7F 06 01 F7\nF0 43 10 01 F7"));
        QCOMPARE(DumpFile::textFromBytes(QByteArray::fromHex("f001f8f7903c40")), QString("F0 01\nF8 F7\n90 3C 40"));
    }

    void textBecomesBytesOrIsRefusedNamingTheLine()
    {
        QByteArray bytes;
        QString error;
        QVERIFY(DumpFile::bytesFromText("F0 7E 7F // identity\n06 01 F7\n\nF0 F8 43 F7", bytes, error));
        QCOMPARE(bytes, QByteArray::fromHex("f07e7f0601f7f0f843f7"));  // real time inside is kept
        const struct {
            const char* text;
            const char* error;
        } refused[] = {
            {"F0 01 F7\nF0 0G F7", "Line 2: \"0G\" is not a hexadecimal pair."},
            {"F0 01 F7\n\nF0 01 02", "Line 3: the system exclusive message has no F7."},
            {"F0 01\n90 3C 40 F7", "Line 1: the system exclusive message has no F7."},
            {"F0 01 F7\nF // a lone digit\n", "Line 2: the last digit has no partner."},
        };
        for (const auto& entry : refused) {
            QVERIFY2(!DumpFile::bytesFromText(entry.text, bytes, error), entry.text);
            QCOMPARE(error, QString(entry.error));
        }
    }

    void syxFilesRoundTripAndTextFilesStayText()
    {
        const QString text("F0 43 10 4C 00 00 7E 00 F7 // reset\nF0 41 10 42 12 40 00 7F 00 41 F7");
        QString error;
        QVERIFY(DumpFile::save(m_dir.filePath("reset.SYX"), text, error));
        QCOMPARE(contents("reset.SYX"), QByteArray::fromHex("f043104c00007e00f7f04110421240007f0041f7"));
        QString loaded;
        QVERIFY(DumpFile::load(m_dir.filePath("reset.SYX"), loaded));
        QCOMPARE(loaded, QString("F0 43 10 4C 00 00 7E 00 F7\nF0 41 10 42 12 40 00 7F 00 41 F7"));
        QVERIFY(DumpFile::save(m_dir.filePath("notes.txt"), text, error));
        QCOMPARE(contents("notes.txt"), text.toUtf8());
        QVERIFY(DumpFile::load(m_dir.filePath("notes.txt"), loaded));
        QCOMPARE(loaded, text);
        // A refused save writes nothing; an unwritable place says so.
        QVERIFY(!DumpFile::save(m_dir.filePath("bad.syx"), "F0 01", error));
        QVERIFY(error.contains("no F7"));
        QVERIFY(!QFile::exists(m_dir.filePath("bad.syx")));
        QVERIFY(!DumpFile::save(m_dir.filePath("no/such/folder/a.syx"), "F0 F7", error));
        QCOMPARE(error, QString("File save failed."));
        // Raw bytes under another name are recognised by their F0.
        QVERIFY(Utility::saveBytes(m_dir.filePath("dump.bin"), QByteArray::fromHex("f00102f7")));
        QVERIFY(DumpFile::load(m_dir.filePath("dump.bin"), loaded));
        QCOMPARE(loaded, QString("F0 01 02 F7"));
        QVERIFY(DumpFile::isDropName("a.syx") && DumpFile::isDropName("a.txt") && DumpFile::isDropName("fw.v1.2.syx"));
        QVERIFY(!DumpFile::isDropName("a.SYX") && !DumpFile::isDropName("a.mid"));
    }

    void aMegabyteOfMessagesRoundTripsByteExact()
    {
        QByteArray bytes;
        QRandomGenerator random(7);
        while (bytes.size() < 1024 * 1024) {
            bytes.append('\xF0');
            const int length = static_cast<int>(random.bounded(1, 4000));
            for (int i = 0; i < length; i++) {
                bytes.append(static_cast<char>(random.bounded(0x80)));
            }
            bytes.append('\xF7');
        }
        QVERIFY(Utility::saveBytes(m_dir.filePath("big.syx"), bytes));
        QString text;
        QVERIFY(DumpFile::load(m_dir.filePath("big.syx"), text));
        QCOMPARE(text.count('\n') + 1, bytes.count('\xF0'));
        QString error;
        QVERIFY(DumpFile::save(m_dir.filePath("again.syx"), text, error));
        QCOMPARE(contents("again.syx"), bytes);
    }
};

QTEST_GUILESS_MAIN(DumpFileTest)
#include "DumpFileTest.moc"
