// Checksums on the editor's text, against worked examples.
#include <QtTest>

#include "SysExChecksum.h"

using namespace SysExChecksum;

class SysExChecksumTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedExamples()
    {
        // The common reset and master volume messages of address-based dumps.
        QCOMPARE(of(Sum, QByteArray::fromHex("40007f00")), 0x41);
        QCOMPARE(of(Sum, QByteArray::fromHex("4000047f")), 0x3D);
        QCOMPARE(of(Sum, QByteArray::fromHex("00")), 0x00);
        QCOMPARE(of(Sum, QByteArray::fromHex("01")), 0x7F);
        QCOMPARE(of(Sum, QByteArray(300, '\x7f')), 0x2C);  // 38100 = 297 * 128 + 84; 128 - 84
        QCOMPARE(of(Xor, QByteArray::fromHex("0102047f")), 0x78);
        QCOMPARE(of(Xor, QByteArray::fromHex("ff")), 0x7F);
        QCOMPARE(of(Xor, QByteArray()), 0x00);
    }

    void insertAfterTheSelectionOrIntoTheSelectedPair()
    {
        Edit edit;
        QString error;
        //                 0         1         2         3
        //                 0123456789012345678901234567890123456
        const QString text("F0 41 10 42 12 40 00 7F 00 // x\n00 F7");
        // Bytes 40 00 7F 00 selected (with the comment after them): after them.
        QVERIFY(insertion(Sum, text, 15, 31, 5, edit, error));
        QCOMPARE(edit.start, 26);
        QCOMPARE(edit.end, 26);
        QCOMPARE(edit.replacement, QString(" 41"));
        // The 00 before F7 selected: it becomes the checksum from byte 5.
        QVERIFY(insertion(Sum, text, 32, 34, 5, edit, error));
        QCOMPARE(edit.start, 32);
        QCOMPARE(edit.end, 34);
        QCOMPARE(edit.replacement, QString("41"));
        QVERIFY(insertion(Xor, text, 32, 34, 1, edit, error));
        QCOMPARE(edit.replacement, QString("3E"));  // 41^10^42^12^40^00^7F^00

        // Nothing selected, a pair with no F0 before it, a start past it, bad pairs.
        QVERIFY(!insertion(Sum, text, 4, 4, 5, edit, error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!insertion(Sum, "10 20 30", 3, 5, 1, edit, error));
        QVERIFY(!insertion(Sum, text, 15, 17, 6, edit, error));
        QVERIFY(!insertion(Sum, "F0 GG 01 00 F7", 9, 11, 1, edit, error));
        QVERIFY(!insertion(Sum, "F0 GG 01 F7", 0, 8, 1, edit, error));
    }

    void verifyReportsEachMessage()
    {
        const QString text("F0 41 10 42 12 40 00 7F 00 41 F7\n"
                           "F0 41 10 42 12 40 00 04 7F 3E F7 // wrong\n"
                           "F0 41 F7\n"
                           "F0 41 10 42 12 40 00");
        const QStringList report = verify(Sum, text, 5);
        QCOMPARE(report, QStringList({"Message 1 (line 1): checksum 41 is correct.",
                                      "Message 2 (line 2): checksum 3E is wrong, 3D expected.",
                                      "Message 3 (line 3): too short for a checksum from byte 5.",
                                      "Message 4 (line 4): no F7 ends it."}));
        QCOMPARE(verify(Xor, "F0 01 02 03 F7", 1), QStringList{"Message 1 (line 1): checksum 03 is correct."});
        QCOMPARE(verify(Sum, "90 3C 40", 5), QStringList{"The text holds no system exclusive message."});
    }
};

QTEST_GUILESS_MAIN(SysExChecksumTest)
#include "SysExChecksumTest.moc"
