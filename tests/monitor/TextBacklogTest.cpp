// Text waiting for a view: pieces that start lines, nothing lost without a
// limit, only the last lines kept with one.
#include <QtTest>

#include "TextBacklog.h"

class TextBacklogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void piecesEndBeforeLineBreaksAndAddUpToTheText()
    {
        TextBacklog backlog;
        QString text;
        for (int i = 0; i < 500; i++) {
            text += QString("\nF0 %1 F7").arg(i, 4, 10, QChar('0')).repeated(1 + i % 7);
        }
        backlog.append(text.left(1000));
        backlog.append(text.mid(1000));
        QString joined;
        while (!backlog.isEmpty()) {
            const int before = backlog.size();
            const QString piece = backlog.take(64);
            QVERIFY(piece.startsWith('\n'));
            QVERIFY(piece.size() >= 64 || piece.size() == before);
            joined += piece;
            backlog.append(QString());  // appending between pieces keeps the order
        }
        QCOMPARE(joined, text);
        QCOMPARE(backlog.take(64), QString());
    }

    void aLineLongerThanTheBudgetGoesWhole()
    {
        TextBacklog backlog;
        const QString longLine = "\nF0" + QString(" 11").repeated(5000) + " F7";
        backlog.append(longLine + "\n90 3C 40");
        QCOMPARE(backlog.take(100), longLine);
        QCOMPARE(backlog.take(100), QString("\n90 3C 40"));
    }

    void aLimitKeepsTheLastLines()
    {
        TextBacklog backlog(3);
        backlog.append("\nA\nB");
        backlog.append("\nC\nD\nE");
        const QString kept = backlog.take(1 << 20);
        QVERIFY(kept.endsWith("\nC\nD\nE"));
        QVERIFY(!kept.contains('A'));
        // Fewer lines than the limit: all of them.
        backlog.append("\nX\nY");
        QCOMPARE(backlog.take(1 << 20), QString("\nX\nY"));
        backlog.append("\nP\nQ");
        backlog.clear();
        QVERIFY(backlog.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TextBacklogTest)
#include "TextBacklogTest.moc"
