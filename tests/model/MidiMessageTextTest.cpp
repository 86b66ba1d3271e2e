// The message text format: separators, comments, odd digits, invalid pairs.
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include "MidiMessageText.h"

class MidiMessageTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void separatorsAndCommentsAreIgnored_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("digits");
        QTest::newRow("blank inside a pair") << "F 07 E" << "F07E";
        QTest::newRow("paragraph separator") << QString("F0") + QChar(0x2029) + "F7" << "F0F7";
        QTest::newRow("comment") << "F0 01 // a dump\nF7" << "F001F7";
        QTest::newRow("carriage return stays") << "F0\r\nF7" << "F0\rF7";
    }

    void separatorsAndCommentsAreIgnored()
    {
        QFETCH(QString, text);
        QFETCH(QString, digits);
        QCOMPARE(MidiMessageText::removeUnnecessaryCharacters(text), digits);
    }

    void byteCounts()
    {
        QCOMPARE(MidiMessageText::getTransmissionMessageSize(" , \n// only a comment"), 0u);
        QCOMPARE(MidiMessageText::getTransmissionMessageSize("F0 7E 7F 09 01 F7"), 6u);
        QCOMPARE(MidiMessageText::getTransmissionMessageSize("F0 7E 7"), MidiMessageText::UnknownSize);
        QCOMPARE(MidiMessageText::getTransmissionMessageSize("F0 G7"), MidiMessageText::UnknownSize);
        QCOMPARE(MidiMessageText::getTransmissionMessageSize("F0\r\nF7"), MidiMessageText::UnknownSize);
    }

    void pairsBecomeBytes()
    {
        QByteArray bytes;
        QVERIFY(MidiMessageText::toBytes("F07e7F", 0, 3, bytes));
        QCOMPARE(bytes, QByteArray("\xF0\x7E\x7F"));
        QVERIFY(MidiMessageText::toBytes("F07e7F", 1, 2, bytes));
        QCOMPARE(bytes, QByteArray("\x7E\x7F"));
        QVERIFY(!MidiMessageText::toBytes("F0G7", 0, 2, bytes));
        QCOMPARE(bytes, QByteArray("\xF0"));
        QVERIFY(!MidiMessageText::toBytes("F0F", 0, 2, bytes));  // a lone last digit
    }

    // The one-pass stripping leaves exactly what removing every match of
    // the format's regular expression leaves, on random texts made of the
    // characters that matter.
    void strippingMatchesTheRegularExpression()
    {
        const QRegularExpression expression(MidiMessageText::unnecessaryCharacterExpression());
        const QChar alphabet[] = {' ', ',', '\t', '\n', '/', '/', 'F', '0', 'x', '\r', QChar(0x2029)};
        QRandomGenerator random(20261206);
        for (int round = 0; round < 20000; round++) {
            QString text;
            const int length = random.bounded(24);
            for (int i = 0; i < length; i++) {
                text.append(alphabet[random.bounded(int(sizeof(alphabet) / sizeof(alphabet[0])))]);
            }
            QString expected = text;
            expected.replace(QChar(0x2029), QLatin1Char('\n'));
            expected.remove(expression);
            QCOMPARE(MidiMessageText::removeUnnecessaryCharacters(text), expected);
        }
    }
};

QTEST_GUILESS_MAIN(MidiMessageTextTest)
#include "MidiMessageTextTest.moc"
