// The on-screen keyboard: key layout, plain and latched playing, and
// pressure by dragging, all through real mouse events.
#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

#include "Keyboard.h"
#include "KeyboardMouse.h"
#include "PressureKeyboard.h"

namespace {

struct Recorder {
    QStringList events;
    static void note(void* context, unsigned char note, bool on)
    {
        static_cast<Recorder*>(context)->events.append(QString("%1 %2").arg(on ? "on" : "off").arg(note));
    }
    static void keyPressure(void* context, unsigned char note, unsigned char value)
    {
        static_cast<Recorder*>(context)->events.append(QString("kp %1 %2").arg(note).arg(value));
    }
    static void channelPressure(void* context, unsigned char value)
    {
        static_cast<Recorder*>(context)->events.append(QString("cp %1").arg(value));
    }
    QStringList take()
    {
        const QStringList taken = events;
        events.clear();
        return taken;
    }
};

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyLayout()
    {
        Keyboard keyboard(nullptr, QSizeF(0, 0));  // the default 50 x 200
        QRect rect;
        QVERIFY(keyboard.getKeyboardRect(1, rect));  // C#: centred on the C/D border
        QCOMPARE(rect, QRect(38, 0, 23, 126));
        QVERIFY(!keyboard.getKeyboardRect(128, rect));
        int white = 0, black = 0;
        for (int note = 0; note < 128; note++) {
            QVERIFY(keyboard.getKeyboardRect(static_cast<unsigned char>(note), rect));
            bool isWhite = false;
            QCOMPARE(keyboard.noteNumber(rect.topLeft() + QPoint(rect.width() / 2, 5), isWhite), note);
            (isWhite ? white : black)++;
        }
        QCOMPARE(white, Keyboard::WhiteKeyCount);
        QCOMPARE(black, Keyboard::BlackKeyCount);
        // Between the black keys of C# and D# lies the white D; outside, nothing.
        QCOMPARE(keyboard.noteNumber(QPoint(75, 20)), 2);
        QCOMPARE(keyboard.noteNumber(QPoint(75 * 50 + 3, 20)), Keyboard::NoKey);
        // Octave labels follow the middle C preference.
        QCOMPARE(keyboard.octaveLabel(60), QString("C3"));
        keyboard.setMiddleCOffset(2);
        QCOMPARE(keyboard.octaveLabel(60), QString("C5"));
    }

    void plainPlaying()
    {
        Keyboard keyboard(nullptr, QSizeF(20, 80));
        Recorder recorder;
        keyboard.setNoteCallbackFunc(&Recorder::note, &recorder);
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 60), Qt::NoModifier);
        QCOMPARE(recorder.take(), QStringList{"on 60"});
        // Dragging onto the next key silences the first, the next move sounds it.
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 60) + QPoint(2, 0), Qt::NoModifier);
        QVERIFY(recorder.take().isEmpty());
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 62), Qt::NoModifier);
        QCOMPARE(recorder.take(), QStringList{"off 60"});
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 62), Qt::NoModifier);
        QCOMPARE(recorder.take(), QStringList{"on 62"});
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 62), Qt::NoModifier);
        QCOMPARE(recorder.take(), QStringList{"off 62"});
        QVERIFY(keyboard.isAllNotOff());
        // Other buttons play nothing.
        QTest::mousePress(&keyboard, Qt::RightButton, Qt::NoModifier, keyPoint(keyboard, 64));
        QVERIFY(recorder.take().isEmpty());
    }

    void latchedChordsAndDrags()
    {
        Keyboard keyboard(nullptr, QSizeF(20, 80));
        Recorder recorder;
        keyboard.setNoteCallbackFunc(&Recorder::note, &recorder);
        for (unsigned char note : {60, 64, 67}) {
            sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, note), Qt::ControlModifier);
            sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, note), Qt::ControlModifier);
        }
        QCOMPARE(recorder.take(), QStringList({"on 60", "on 64", "on 67"}));
        QCOMPARE(keyboard.dragMode(), int(Keyboard::NoDrag));
        // A plain press releases the chord and sounds nothing; the next one sounds.
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 72), Qt::NoModifier);
        QCOMPARE(recorder.take(), QStringList({"off 60", "off 64", "off 67"}));
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 72), Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 72), Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 72), Qt::NoModifier);
        QCOMPARE(recorder.take(), QStringList({"on 72", "off 72"}));

        // A control-drag turns on what it crosses; from a sounding key, off.
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 60), Qt::ControlModifier);
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 62), Qt::ControlModifier);
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 64), Qt::ControlModifier);
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 64), Qt::ControlModifier);
        QCOMPARE(recorder.take(), QStringList({"on 60", "on 62", "on 64"}));
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 64), Qt::ControlModifier);
        QCOMPARE(keyboard.dragMode(), int(Keyboard::DragTurnsOff));
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 62), Qt::ControlModifier);
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 60), Qt::ControlModifier);
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 60), Qt::ControlModifier);
        QCOMPARE(recorder.take(), QStringList({"off 64", "off 62", "off 60"}));

        // The owner's all-off goes in ascending order.
        keyboard.noteOn(70);
        keyboard.noteOn(10);
        recorder.take();
        keyboard.noteOnToOff();
        QCOMPARE(recorder.take(), QStringList({"off 10", "off 70"}));
        QVERIFY(keyboard.isAllNotOff());
    }

    void pressureFromTheDrag()
    {
        PressureKeyboard keyboard(nullptr, QSizeF(100, 100));
        keyboard.resize(keyboard.sizeHint());
        QCOMPARE(keyboard.convertYPositionToValue(0), 0);  // -1, clamped
        QCOMPARE(keyboard.convertYPositionToValue(99), 126);
        Recorder recorder;
        keyboard.setNoteCallbackFunc(&Recorder::note, &recorder);
        keyboard.setKeyPressureCallbackFunc(&Recorder::keyPressure, &recorder);
        keyboard.setChannelPressureCallbackFunc(&Recorder::channelPressure, &recorder);

        // Key pressure with three latched notes: one step, three messages.
        keyboard.pressureMode = PressureKeyboard::KeyPressure;
        const QPoint c(keyPoint(keyboard, 60).x(), 90);
        const QPoint e(keyPoint(keyboard, 64).x(), 90);
        for (const QPoint& point : {c, e}) {
            sendMouse(keyboard, QEvent::MouseButtonPress, point, Qt::ControlModifier);
            sendMouse(keyboard, QEvent::MouseButtonRelease, point, Qt::ControlModifier);
        }
        const QPoint g(keyPoint(keyboard, 67).x(), 80);
        sendMouse(keyboard, QEvent::MouseButtonPress, g, Qt::ControlModifier);
        QCOMPARE(recorder.take(), QStringList({"on 60", "on 64", "on 67"}));
        QCOMPARE(keyboard.lastPressureValue(), keyboard.convertYPositionToValue(80));  // nothing sent yet
        sendMouse(keyboard, QEvent::MouseMove, g + QPoint(0, 10), Qt::NoModifier);
        const QString value = QString::number(keyboard.convertYPositionToValue(90));
        QCOMPARE(recorder.take(), QStringList({"kp 60 " + value, "kp 64 " + value, "kp 67 " + value}));
        QVERIFY(keyboard.isPressureDragging());
        QVERIFY(keyboard.isPressureShown());
        // The same value again sends nothing; moving sideways plays no other note.
        sendMouse(keyboard, QEvent::MouseMove, g + QPoint(150, 10), Qt::NoModifier);
        QVERIFY(recorder.take().isEmpty());
        sendMouse(keyboard, QEvent::MouseButtonRelease, g, Qt::NoModifier);
        QCOMPARE(recorder.take(), QStringList({"off 60", "off 64", "off 67"}));
        QCOMPARE(keyboard.lastPressureValue(), PressureKeyboard::NoPressure);
        QVERIFY(!keyboard.isPressureShown());

        // Off: a drag plays notes as the plain keyboard does.
        keyboard.pressureMode = PressureKeyboard::PressureOff;
        sendMouse(keyboard, QEvent::MouseButtonPress, c, Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseMove, e, Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseMove, e, Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseButtonRelease, e, Qt::NoModifier);
        QCOMPARE(recorder.take(), QStringList({"on 60", "off 60", "on 64", "off 64"}));
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
