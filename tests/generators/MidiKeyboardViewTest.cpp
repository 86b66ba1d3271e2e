// The keyboard window in the running main window, sending through the
// loopback: notes on the chosen channel and velocity, pressure, the channel
// change releasing held notes, defaults by control-click, the project data,
// closing, and the window's size and count rules.
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "BoxAnswer.h"
#include "KeyboardMouse.h"
#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "WindowKinds.h"
#include "ProjectController.h"
#include "MidiInputPort.h"
#include "MidiKeyboardUpperView.h"
#include "MidiKeyboardView.h"
#include "MidiKeyboardViewScrollArea.h"
#include "OstrelModel.h"
#include "LoopbackWindowFixture.h"
#include "PacketCollector.h"
#include "PressureKeyboard.h"
#include "SpinBox.h"

namespace {

using Bytes = std::vector<unsigned char>;

}  // namespace

class MidiKeyboardViewTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:

    MidiKeyboardView* newKeyboard()
    {
        QMdiSubWindow* window = m_window->openWindow(WindowRestorationInfo::KeyboardId);
        return window ? qobject_cast<MidiKeyboardView*>(window->widget()) : nullptr;
    }

private Q_SLOTS:
    void init() { startWindow(EmptyLayout); }

    void cleanup() { stopWindow(); }

    void notesOnTheChannelWithTheVelocity()
    {
        MidiKeyboardView* view = newKeyboard();
        QVERIFY(view);
        PressureKeyboard& keyboard = *view->keyboard();
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);
        view->upperView()->velocityBox()->setWidgetValue(100);
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 60), Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 60), Qt::NoModifier);
        QCOMPARE(heardMessages(2), (std::vector<Bytes>{{0x90, 60, 100}, {0x80, 60, 0}}));

        // A latched chord, then channel 2: note offs on channel 1 first.
        for (unsigned char note : {60, 64}) {
            sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, note), Qt::ControlModifier);
            sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, note), Qt::ControlModifier);
        }
        QCOMPARE(heardMessages(2), (std::vector<Bytes>{{0x90, 60, 100}, {0x90, 64, 100}}));
        SpinBox* channel = view->upperView()->channelBox();
        channel->stepBy(1);
        QCOMPARE(view->channel(), 1);
        QCOMPARE(heardMessages(2), (std::vector<Bytes>{{0x80, 60, 0}, {0x80, 64, 0}}));
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 61), Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 61), Qt::NoModifier);
        QCOMPARE(heardMessages(2), (std::vector<Bytes>{{0x91, 61, 100}, {0x81, 61, 0}}));

        // A control-click restores the defaults; the channel change runs too.
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 62), Qt::ControlModifier);
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 62), Qt::ControlModifier);
        QTest::mouseClick(view->upperView()->velocityBox(), Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
        QCOMPARE(view->upperView()->getVelocity(), 64);
        QTest::mouseClick(channel, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
        QCOMPARE(channel->value(), 1);
        QCOMPARE(view->channel(), 0);
        QCOMPARE(heardMessages(2), (std::vector<Bytes>{{0x91, 62, 100}, {0x81, 62, 0}}));

        // The middle C preference labels the octaves.
        m_model->setModelIntValue(ParamMessageMiddleC, 2);
        QCOMPARE(keyboard.octaveLabel(60), QString("C5"));
    }

    void pressureOnlyWhileNotesSound()
    {
        MidiKeyboardView* view = newKeyboard();
        PressureKeyboard& keyboard = *view->keyboard();
        QComboBox* pressure = view->upperView()->pressureChoice();
        pressure->setCurrentIndex(2);
        QCOMPARE(keyboard.pressureMode, int(PressureKeyboard::KeyPressure));
        // Pressed on a key: the note sounds and the drag sends key pressure.
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 60, 50), Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 60, 80), Qt::NoModifier);
        const auto value = static_cast<unsigned char>(keyboard.convertYPositionToValue(80));
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 60, 80), Qt::NoModifier);
        QCOMPARE(heardMessages(3), (std::vector<Bytes>{{0x90, 60, 64}, {0xA0, 60, value}, {0x80, 60, 0}}));
        // A plain press while a latched note sounds silences it: the drag then
        // has no sounding note and sends nothing.
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 62), Qt::ControlModifier);
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 62), Qt::ControlModifier);
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 64, 50), Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 64, 90), Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 64, 90), Qt::NoModifier);
        QCOMPARE(heardMessages(2), (std::vector<Bytes>{{0x90, 62, 64}, {0x80, 62, 0}}));
        // Channel pressure: one two-byte message per step while a note sounds.
        pressure->setCurrentIndex(1);
        sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, 67, 50), Qt::NoModifier);
        sendMouse(keyboard, QEvent::MouseMove, keyPoint(keyboard, 67, 70), Qt::NoModifier);
        const auto level = static_cast<unsigned char>(keyboard.convertYPositionToValue(70));
        sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, 67, 70), Qt::NoModifier);
        QCOMPARE(heardMessages(3), (std::vector<Bytes>{{0x90, 67, 64}, {0xD0, level}, {0x80, 67, 0}}));
    }

    void projectDataAndClosing()
    {
        MidiKeyboardView* view = newKeyboard();
        MidiKeyboardUpperView* strip = view->upperView();
        strip->channelBox()->setWidgetValue(10);
        view->noteChannelChanged(10);
        strip->velocityBox()->setWidgetValue(100);
        strip->pressureChoice()->setCurrentIndex(2);
        view->scrollArea()->horizontalScrollBar()->setValue(300);
        auto* restored = reopened<MidiKeyboardView>();
        QVERIFY(restored && restored != view);
        QCOMPARE(restored->upperView()->channelBox()->value(), 10);
        QCOMPARE(restored->channel(), 9);
        QCOMPARE(restored->upperView()->getVelocity(), 100);
        QCOMPARE(restored->upperView()->getPressureIndex(), 2);
        QCOMPARE(restored->keyboard()->pressureMode, int(PressureKeyboard::KeyPressure));
        QCOMPARE(restored->scrollArea()->horizontalScrollBar()->value(), 300);
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);

        // Closing with sounding notes sends their note offs.
        PressureKeyboard& keyboard = *restored->keyboard();
        for (unsigned char note : {48, 52}) {
            sendMouse(keyboard, QEvent::MouseButtonPress, keyPoint(keyboard, note), Qt::ControlModifier);
            sendMouse(keyboard, QEvent::MouseButtonRelease, keyPoint(keyboard, note), Qt::ControlModifier);
        }
        QCOMPARE(heardMessages(2), (std::vector<Bytes>{{0x99, 48, 100}, {0x99, 52, 100}}));
        restored->parentWidget()->close();
        QCOMPARE(heardMessages(2), (std::vector<Bytes>{{0x89, 48, 0}, {0x89, 52, 0}}));
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);
    }

    void sizeAndCountRules()
    {
        QMdiSubWindow* window = m_window->openWindow(WindowRestorationInfo::KeyboardId);
        QCOMPARE(window->minimumHeight(), window->maximumHeight());
        window->showMaximized();
        QVERIFY(!window->isMaximized());
        // The wheel turns the keyboard sideways.
        QScrollBar* bar = qobject_cast<MidiKeyboardView*>(window->widget())->scrollArea()->horizontalScrollBar();
        const int before = bar->value();
        QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(qobject_cast<MidiKeyboardView*>(window->widget())->scrollArea()->viewport(), &wheel);
        QVERIFY(bar->value() != before);
        // Sixteen at most, with the warning naming the kind.
        while (m_window->mdiArea()->subWindowList().size() < WindowKinds::SubWindowCountLimit) {
            QVERIFY(m_window->openWindow(WindowRestorationInfo::KeyboardId));
        }
        BoxAnswer answer(QMessageBox::Ok);
        QVERIFY(!m_window->openWindow(WindowRestorationInfo::KeyboardId));
        QTRY_COMPARE(answer.texts.size(), 1);
        QVERIFY(answer.texts.first().startsWith("Unable to open a new Keyboard View."));
    }
};

QTEST_MAIN(MidiKeyboardViewTest)
#include "MidiKeyboardViewTest.moc"
