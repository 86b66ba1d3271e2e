// The program change and pitch bend windows: bank select before the
// program, one- and zero-based numbers, Auto Transmit; the slider-to-value
// mapping, spring-back, typed values, keys; both restored without sending.
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "LoopbackWindowFixture.h"
#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "ProjectController.h"
#include "MidiPitchbendSlider.h"
#include "MidiPitchbendView.h"
#include "MidiProgramChangeView.h"
#include "OstrelModel.h"
#include "PacketCollector.h"
#include "PushButton.h"
#include "SevenSegment.h"
#include "SpinBox.h"

using Bytes = std::vector<unsigned char>;

class ProgramChangeAndPitchbendTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:

    template <typename View>
    View* open(WindowRestorationInfo::WindowId id)
    {
        QMdiSubWindow* window = m_window->openWindow(id);
        return window ? qobject_cast<View*>(window->widget()) : nullptr;
    }

private Q_SLOTS:
    void init() { startWindow(EmptyLayout); }

    void cleanup() { stopWindow(); }

    void programChangeMessagesAndBases()
    {
        QCOMPARE(m_model->getModelIntValue(ParamProgramNumberBase, nullptr), 1);  // one-based
        auto* view = open<MidiProgramChangeView>(WindowRestorationInfo::ProgramChangeId);
        QVERIFY(view);
        QCOMPARE(view->programDisplay()->maximum(), 128);
        view->transmitButtonPressed();
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xC0, 0x00}}));
        // Zero-based, display 0: the same message; the display follows the preference quietly.
        m_model->setModelIntValue(ParamProgramNumberBase, 0);
        QCOMPARE(view->programDisplay()->value(), 0);
        QVERIFY(heardMessages().empty());
        QTest::mousePress(view->transmitButton(), Qt::LeftButton);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xC0, 0x00}}));
        m_model->setModelIntValue(ParamProgramNumberBase, 1);
        // Both bank switches: MSB, LSB, then the program.
        view->msbSwitch()->setChecked(true);
        view->lsbSwitch()->setChecked(true);
        view->msbBox()->setWidgetValue(1);
        view->lsbBox()->setWidgetValue(2);
        view->channelBox()->setWidgetValue(3);
        view->programDisplay()->setValue(10);
        QVERIFY(heardMessages().empty());  // Auto Transmit is off
        view->transmitButtonPressed();
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xB2, 0x00, 0x01}, {0xB2, 0x20, 0x02}, {0xC2, 0x09}}));
        // 128 one-based becomes 127 zero-based, nothing sent.
        view->programDisplay()->setValue(128);
        m_model->setModelIntValue(ParamProgramNumberBase, 0);
        QCOMPARE(view->programDisplay()->value(), 127);
        QVERIFY(heardMessages().empty());
        // Auto Transmit: each step of the display sends.
        view->msbSwitch()->setChecked(false);
        view->lsbSwitch()->setChecked(false);
        view->autoTransmitSwitch()->setChecked(true);
        view->programDisplay()->decrease();
        view->programDisplay()->decrease();
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xC2, 126}, {0xC2, 125}}));

        // Saved zero-based with program 5, opened one-based: 6, nothing sent.
        view->autoTransmitSwitch()->setChecked(false);
        view->programDisplay()->setValue(5);
        m_model->setModelIntValue(ParamProgramNumberBase, 1);
        auto* restored = reopened<MidiProgramChangeView>();
        QVERIFY(restored);
        QCOMPARE(restored->programDisplay()->value(), 6);
        QCOMPARE(restored->channelBox()->value(), 3);
        QCOMPARE(restored->midiProgram(), 5);
        QVERIFY(heardMessages().empty());
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);
    }

    void sliderMapping()
    {
        QCOMPARE(MidiPitchbendView::sliderValueToPitchBendValue(127), 16383);
        QCOMPARE(MidiPitchbendView::convertPitchBendValueToSliderValue(8192 + 130), 65);
        QCOMPARE(MidiPitchbendView::convertPitchBendValueToSliderValue(8192 + 129), 64);
        // Every position maps back to itself.
        for (int position = 0; position < 128; position++) {
            QCOMPARE(MidiPitchbendView::convertPitchBendValueToSliderValue(
                         MidiPitchbendView::sliderValueToPitchBendValue(position)),
                     position);
        }
    }

    void pitchbendSliderAndBox()
    {
        auto* view = open<MidiPitchbendView>(WindowRestorationInfo::PitchbendId);
        QVERIFY(view);
        MidiPitchbendSlider* slider = view->slider();
        QVERIFY(!view->valueBox()->isEnabled());
        // Top of the track: 7F 7F, 8191; release springs back to the centre.
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, QPoint(20, 5));
        QCOMPARE(view->valueBox()->value(), 8191);
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(20, 5));
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xE0, 0x7F, 0x7F}, {0xE0, 0x00, 0x40}}));
        QCOMPARE(view->valueBox()->value(), 0);
        // Bottom: 00 00 and -8192.
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, QPoint(20, 160));
        QCOMPARE(view->valueBox()->value(), -8192);
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(20, 160));
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xE0, 0x00, 0x00}, {0xE0, 0x00, 0x40}}));
        // Keys do nothing in wheel mode; the wheel never bends.
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(slider->value(), 64);

        // Wheel mode off: typed values, keys, the slider stays.
        view->wheelModeSwitch()->setChecked(false);
        QVERIFY(view->valueBox()->isEnabled());
        heardMessages();
        view->valueBox()->setWidgetValue(130);
        view->updatePitchbendValue(130);
        QCOMPARE(slider->value(), 65);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xE0, 0x02, 0x41}}));
        view->updatePitchbendValue(129);
        QCOMPARE(slider->value(), 64);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xE0, 0x01, 0x41}}));
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(slider->value(), 127);
        QTest::mouseRelease(slider, Qt::LeftButton);
        QCOMPARE(slider->value(), 127);  // stays
        QCOMPARE(view->valueBox()->value(), 8191);
        heardMessages();
        view->channelBox()->setValue(2);
        QTest::mousePress(view->transmitButton(), Qt::LeftButton);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xE1, 0x7F, 0x7F}}));

        // Restored without sending.
        view->valueBox()->setWidgetValue(-100);
        view->updatePitchbendValue(-100);
        auto* restored = reopened<MidiPitchbendView>();
        QVERIFY(restored);
        QCOMPARE(restored->valueBox()->value(), -100);
        QCOMPARE(restored->slider()->value(), MidiPitchbendView::convertPitchBendValueToSliderValue(8092));
        QVERIFY(!restored->wheelModeSwitch()->isChecked());
        QCOMPARE(restored->channelBox()->value(), 2);
        QVERIFY(heardMessages().empty());
        // Switching wheel mode on returns to the centre, sending it.
        restored->wheelModeSwitch()->setChecked(true);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xE1, 0x00, 0x40}}));
    }
};

QTEST_MAIN(ProgramChangeAndPitchbendTest)
#include "ProgramChangeAndPitchbendTest.moc"
