// The text cursor rests after a while without input and blinks again with
// the next key press or click.
#include <QApplication>
#include <QPlainTextEdit>
#include <QtTest>

#include "CursorBlinkRest.h"

class CursorBlinkRestTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void restsAndWakesWithInput()
    {
        const int flashTime = QApplication::cursorFlashTime();
        QVERIFY(flashTime > 0);
        QPlainTextEdit editor;
        editor.show();
        editor.setFocus();
        {
            CursorBlinkRest rest(nullptr, 50);
            QTRY_VERIFY(rest.resting());
            QCOMPARE(QApplication::cursorFlashTime(), 0);
            QTest::keyClick(&editor, Qt::Key_A);
            QVERIFY(!rest.resting());
            QCOMPARE(QApplication::cursorFlashTime(), flashTime);
            QCOMPARE(editor.toPlainText(), QString("a"));  // the key still reaches the editor
            QTRY_VERIFY(rest.resting());
            QTest::mouseClick(editor.viewport(), Qt::LeftButton);
            QCOMPARE(QApplication::cursorFlashTime(), flashTime);
            QTRY_VERIFY(rest.resting());
        }
        // Gone, it leaves the cursor blinking.
        QCOMPARE(QApplication::cursorFlashTime(), flashTime);
    }
};

QTEST_MAIN(CursorBlinkRestTest)
#include "CursorBlinkRestTest.moc"
