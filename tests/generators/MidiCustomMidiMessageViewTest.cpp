// The custom message window: the knob's encodings, ranges per byte count,
// colouring of the target digits, sending through the loopback, the byte
// under the cursor, and the project data restored without sending.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "BoxAnswer.h"
#include "ComboBox.h"
#include "Dial.h"
#include "LineEdit.h"
#include "LoopbackWindowFixture.h"
#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "WindowKinds.h"
#include "MidiBulkIntervalManager.h"
#include "ProjectController.h"
#include "MidiCustomMidiMessageView.h"
#include "OstrelModel.h"
#include "PacketCollector.h"
#include "PushButton.h"
#include "SpinBox.h"

using View = MidiCustomMidiMessageView;

class MidiCustomMidiMessageViewTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:

    View* newView()
    {
        QMdiSubWindow* window = m_window->openWindow(WindowRestorationInfo::CustomMidiMessageId);
        return window ? qobject_cast<View*>(window->widget()) : nullptr;
    }

private Q_SLOTS:
    void init() { startWindow(EmptyLayout); }

    void cleanup() { stopWindow(); }

    void knobEncodings()
    {
        const QString message = View::removeSeparators("F0 41 10 42 12 40 00 7F 00 41 F7");
        QCOMPARE(message, QString("F0411042124000" "7F" "0041F7"));
        QCOMPARE(View::applyKnobValue(message, 8, View::OneByte, 100), QString("F04110421240006400" "41F7"));
        // Two 7-bit bytes, MSB first; above 16383 both become 00.
        QCOMPARE(View::applyKnobValue("0102030405", 3, View::TwoBytes, 8191), QString("01023F7F05"));
        QCOMPARE(View::applyKnobValue("0102030405", 3, View::TwoBytes, 16384), QString("0102000005"));
        QCOMPARE(View::applyKnobValue("0102030405", 2, View::TwoNibbles, 0xAB), QString("010A0B0405"));
        QCOMPARE(View::applyKnobValue("0102030405", 2, View::FourNibbles, 43981), QString("010A0B0C0D"));
        // Too short for the target and mode, or target 0: unchanged.
        QCOMPARE(View::applyKnobValue("01020304", 2, View::FourNibbles, 43981), QString("01020304"));
        QCOMPARE(View::applyKnobValue("0102030405", 5, View::TwoBytes, 5), QString("0102030405"));
    }

    void rangesFollowTheByteCount()
    {
        View* view = newView();
        QVERIFY(view);
        view->byteCountBox()->setCurrentIndex(View::FourNibbles);
        QCOMPARE(view->maximumBox()->value(), 65535);
        QCOMPARE(view->knob()->maximum(), 65535);
        view->byteCountBox()->setCurrentIndex(View::OneByte);
        view->minimumBox()->setValue(10);
        QCOMPARE(view->maximumBox()->minimum(), 11);
        QCOMPARE(view->knob()->minimum(), 10);
        view->maximumBox()->setValue(100);
        QCOMPARE(view->minimumBox()->maximum(), 99);
        QCOMPARE(view->knob()->maximum(), 100);
        // Changing the mode brings the defaults back.
        view->byteCountBox()->setCurrentIndex(1);
        QCOMPARE(view->minimumBox()->value(), 0);
        QCOMPARE(view->maximumBox()->value(), 16383);
        QCOMPARE(view->knob()->maximum(), 16383);
    }

    void theKnobSendsOnlyWhenTheMessageFits()
    {
        View* view = newView();
        view->messageEdit()->setText("F0 7D 01 02 F7");
        view->targetByteBox()->setValue(3);
        QVERIFY(view->knobTransmits());
        view->knob()->setValue(5);
        QVERIFY(m_collector->waitForBytes(5));
        QCOMPARE(m_collector->bytes(), (std::vector<unsigned char>{0xF0, 0x7D, 0x05, 0x02, 0xF7}));
        m_collector->clear();
        // Target 0: the knob is silent, Transmit sends the text unchanged.
        view->targetByteBox()->setValue(0);
        QVERIFY(!view->knobTransmits());
        view->knob()->setValue(9);
        QTest::mouseClick(view->transmitButton(), Qt::LeftButton);
        QVERIFY(m_collector->waitForBytes(5));
        QCOMPARE(m_collector->bytes(), (std::vector<unsigned char>{0xF0, 0x7D, 0x01, 0x02, 0xF7}));
        m_collector->clear();
        // Four nibbles need six bytes from target 3: too short, still sent as typed by Transmit.
        view->targetByteBox()->setValue(3);
        view->byteCountBox()->setCurrentIndex(View::FourNibbles);
        QVERIFY(!view->knobTransmits());
        view->transmitButtonPressed();
        QVERIFY(m_collector->waitForBytes(5));
        QCOMPARE(m_collector->bytes(), (std::vector<unsigned char>{0xF0, 0x7D, 0x01, 0x02, 0xF7}));
        // Bulk interval ignored: a slow setting does not hold the knob back,
        // and the last value always goes out (a burst of knob steps may
        // hand over a newer text before an older one was picked up).
        m_model->setModelIntValue(ParamBulkInterval, 500);
        view->byteCountBox()->setCurrentIndex(View::OneByte);
        view->targetByteBox()->setValue(3);
        m_collector->clear();
        const uint64_t pauses = m_window->bulkIntervalManager()->pausesHeld();
        for (int value = 1; value <= 4; value++) {
            view->knob()->setValue(value);
        }
        const std::vector<unsigned char> last{0xF0, 0x7D, 0x04, 0x02, 0xF7};
        QTRY_VERIFY_WITH_TIMEOUT(m_collector->bytes().size() >= 5 &&
                                     std::equal(last.begin(), last.end(), m_collector->bytes().end() - 5),
                                 2000);
        QCOMPARE(m_window->bulkIntervalManager()->pausesHeld(), pauses);  // no dump waited
    }

    void targetDigitsAreColouredAndPickedFromTheCursor()
    {
        View* view = newView();
        QList<unsigned int> indices;
        view->messageEdit()->setText("F0 41,10 42");
        view->targetByteBox()->setValue(2);
        QVERIFY(view->getColoringIndexList(view->messageEdit()->text(), indices));
        QCOMPARE(indices, (QList<unsigned int>{3, 4}));
        view->byteCountBox()->setCurrentIndex(View::TwoBytes);
        QVERIFY(view->getColoringIndexList(view->messageEdit()->text(), indices));
        QCOMPARE(indices, (QList<unsigned int>{3, 4, 6, 7}));
        view->byteCountBox()->setCurrentIndex(View::FourNibbles);  // needs 8 digits from byte 2
        QVERIFY(!view->getColoringIndexList(view->messageEdit()->text(), indices));

        // The byte under the cursor: just before a byte counts as that byte.
        view->messageEdit()->setText("F0 41 10 42");
        view->messageEdit()->setCursorPosition(0);
        QCOMPARE(view->byteUnderCursor(), 0);
        view->knobTargetByteMenuSelected();
        QCOMPARE(view->targetByteBox()->value(), 1);
        view->messageEdit()->setCursorPosition(6);  // before "10"
        QCOMPARE(view->byteUnderCursor(), 3);
        // The validator lets only hex digits, blanks and commas be typed.
        view->messageEdit()->clear();
        QTest::keyClicks(view->messageEdit(), "F0 g7,x 7F");
        QCOMPARE(view->messageEdit()->text(), QString("F0 7, 7F"));
    }

    void projectRestoresWithoutSending()
    {
        View* view = newView();
        view->nameEdit()->setText("Cutoff");
        view->messageEdit()->setText("B0 4A 00 00");
        view->targetByteBox()->setValue(3);
        view->byteCountBox()->setCurrentIndex(View::TwoNibbles);
        view->minimumBox()->setValue(5);
        view->maximumBox()->setValue(200);
        view->knob()->setValue(77);  // 4D: nibbles 04 0D in bytes 3 and 4
        QVERIFY(m_collector->waitForBytes(3));
        QCOMPARE(m_collector->bytes(), (std::vector<unsigned char>{0xB0, 0x4A, 0x04}));
        auto* restored = reopened<View>();
        QVERIFY(restored && restored != view);
        QCOMPARE(restored->nameEdit()->text(), QString("Cutoff"));
        QCOMPARE(restored->messageEdit()->text(), QString("B0 4A 00 00"));
        QCOMPARE(restored->targetByteBox()->value(), 3);
        QCOMPARE(restored->byteCountBox()->currentIndex(), int(View::TwoNibbles));
        QCOMPARE(restored->knob()->minimum(), 5);
        QCOMPARE(restored->knob()->maximum(), 200);
        QCOMPARE(restored->knob()->value(), 77);
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);
        QVERIFY(heardMessages().empty());  // restoring sent nothing
    }
};

QTEST_MAIN(MidiCustomMidiMessageViewTest)
#include "MidiCustomMidiMessageViewTest.moc"
