// The start/stop and active sensing windows: the real-time and song
// messages, active sensing until stopped (the pass in progress ends with its
// FE), and their project data. Spacing is measured by bench/clock_measure.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "LoopbackWindowFixture.h"
#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "ProjectController.h"
#include "MidiActivesenseTransmittionThread.h"
#include "MidiActivesensingView.h"
#include "MidiLedCombinedDial.h"
#include "MidiTransportPanelView.h"
#include "OstrelModel.h"
#include "PacketCollector.h"
#include "PushButton.h"
#include "SpinBox.h"

using Bytes = std::vector<unsigned char>;

class TransportAndActiveSensingTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:

    template <typename View>
    View* viewOf(QMdiSubWindow* window)
    {
        return window ? qobject_cast<View*>(window->widget()) : nullptr;
    }

private Q_SLOTS:
    void init() { startWindow(EmptyLayout); }

    void cleanup() { stopWindow(); }

    void transportMessages()
    {
        auto* view = viewOf<MidiTransportPanelView>(m_window->openWindow(WindowRestorationInfo::TransportPanelId));
        QVERIFY(view);
        m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
        QTest::mousePress(view->startButton(), Qt::LeftButton);
        QTest::mousePress(view->continueButton(), Qt::LeftButton);
        QTest::mousePress(view->stopButton(), Qt::LeftButton);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xFA}, {0xFB}, {0xFC}}));
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);  // nothing changed
        // Song select counted from 1 on screen, from 0 on the wire; every step sends.
        SpinBox* number = view->songNumberBox();
        QTest::mousePress(view->songNumberTransmitButton(), Qt::LeftButton);
        number->stepBy(1);
        number->stepBy(1);
        number->stepBy(1);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xF3, 0x00}, {0xF3, 0x01}, {0xF3, 0x02}, {0xF3, 0x03}}));
        number->setWidgetValue(128);
        QTest::mousePress(view->songNumberTransmitButton(), Qt::LeftButton);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xF3, 0x7F}}));
        // Song position, low seven bits first.
        SpinBox* position = view->songPositionBox();
        for (int value : {16383, 128, 0}) {
            position->setWidgetValue(value);
            QTest::mousePress(view->songPositionTransmitButton(), Qt::LeftButton);
        }
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xF2, 0x7F, 0x7F}, {0xF2, 0x00, 0x01}, {0xF2, 0x00, 0x00}}));
        position->stepBy(1);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xF2, 0x01, 0x00}}));
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);

        // Restored quietly.
        number->setWidgetValue(12);
        position->setWidgetValue(345);
        auto* restored = reopened<MidiTransportPanelView>();
        QVERIFY(restored && restored != view);
        QCOMPARE(restored->songNumberBox()->value(), 12);
        QCOMPARE(restored->songPositionBox()->value(), 345);
        QVERIFY(heardMessages().empty());
    }

    void activeSensingSpacingAndStop()
    {
        m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
        auto* view = viewOf<MidiActivesensingView>(m_window->openWindow(WindowRestorationInfo::ActivesensingId));
        QVERIFY(view);
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);  // opening marks the project
        view->knob()->setValue(100);
        view->button()->setChecked(true);
        QCOMPARE(view->button()->text(), QString("Stop"));
        QVERIFY(view->knob()->isLit());
        QTRY_VERIFY(view->thread()->messagesSent() >= 3);
        for (const auto& packet : m_collector->packets()) {
            QCOMPARE(packet.bytes, Bytes{0xFE});
        }
        // A long interval, then Stop in the middle of it: the user interface
        // does not wait, the pass still ends with its FE, then none.
        const auto atChange = view->thread()->messagesSent();
        view->knob()->setValue(1000);
        QTRY_COMPARE(view->thread()->messagesSent(), atChange + 1);  // the 100 ms pass in progress
        view->button()->setChecked(false);
        QVERIFY(!view->knob()->isLit());
        QCOMPARE(view->button()->text(), QString("Transmit"));
        QTRY_COMPARE_WITH_TIMEOUT(view->thread()->messagesSent(), atChange + 2, 3000);  // the 1000 ms one
        QTest::qWait(1200);  // room for one more pass: none comes
        QCOMPARE(view->thread()->messagesSent(), atChange + 2);

        // Saved sending, restored sending.
        view->knob()->setValue(200);
        view->button()->setChecked(true);
        auto* restored = reopened<MidiActivesensingView>();
        QVERIFY(restored && restored != view);
        QCOMPARE(restored->knob()->value(), 200);
        QVERIFY(restored->button()->isChecked());
        QTRY_VERIFY(restored->thread()->messagesSent() >= 2);
        // Closing ends it.
        m_window->openedWindow(WindowRestorationInfo::ActivesensingId)->close();
        QTRY_VERIFY(!m_window->openedWindow(WindowRestorationInfo::ActivesensingId));
    }
};

QTEST_MAIN(TransportAndActiveSensingTest)
#include "TransportAndActiveSensingTest.moc"
