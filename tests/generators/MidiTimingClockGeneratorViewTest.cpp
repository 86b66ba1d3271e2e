// The timing clock window: clocks and the beat lamp (their spacing is
// measured by bench/clock_measure), the lamp's own repaint,
// tempo changes while playing, the received tempo's text, the parser
// preference, and a project that starts the clock again.
#include <QLabel>
#include <QMdiSubWindow>
#include <QScreen>
#include <QtTest>

#include <memory>

#include "LoopbackWindowFixture.h"
#include "WindowRestorationInfo.h"
#include "PortSet.h"
#include "MidiLedCombinedDial.h"
#include "MidiTimingClockGeneratorView.h"
#include "MidiTimingClockPlayStopButton.h"
#include "MidiTimingClockTransmittionThread.h"

class MidiTimingClockGeneratorViewTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:

    MidiTimingClockGeneratorView* view() const
    {
        QMdiSubWindow* window = m_window->openedWindow(WindowRestorationInfo::TimingClockId);
        return window ? qobject_cast<MidiTimingClockGeneratorView*>(window->widget()) : nullptr;
    }

private Q_SLOTS:
    void init() { startWindow(EmptyLayout); }

    void cleanup() { stopWindow(); }

    void receivedTempoText()
    {
        using View = MidiTimingClockGeneratorView;
        QCOMPARE(View::receivedTempoText(44), QString("--- BPM"));
        QCOMPARE(View::receivedTempoText(1205), QString("121 BPM"));
        QCOMPARE(View::receivedTempoText(3005), QString("300 BPM"));
    }

    void clockRateBeatsAndTempoChanges()
    {
        QVERIFY(m_window->openWindow(WindowRestorationInfo::TimingClockId));
        MidiTimingClockGeneratorView* clock = view();
        QVERIFY(clock);
        clock->knob()->setValue(120);
        MidiTimingClockTransmittionThread* thread = clock->thread();
        const int flashesBefore = clock->knob()->flashCount();
        clock->playButton()->setChecked(true);
        QTRY_VERIFY(clock->knob()->flashCount() > flashesBefore);  // at once, on play
        QTRY_VERIFY(thread->clocksSent() >= 72);                   // three beats
        // The lamp flashed on play and on every 24th clock.
        const auto sent = thread->clocksSent();
        QTRY_VERIFY(clock->knob()->flashCount() - flashesBefore >= 1 + static_cast<int>(sent / 24));
        // Every clock went out as a single F8.
        QTRY_VERIFY(m_collector->packets().size() >= sent);
        for (const auto& packet : m_collector->packets()) {
            QCOMPARE(packet.bytes, std::vector<unsigned char>{0xF8});
        }
        // A new tempo while playing goes on without a pause; stopping stops it.
        clock->knob()->setValue(300);
        const auto atChange = thread->clocksSent();
        QTRY_VERIFY(thread->clocksSent() >= atChange + 60);
        clock->playButton()->setChecked(false);
        QVERIFY(!thread->isPlaying());
        QTest::qWait(50);  // a clock handed over just before the stop arrives
        const auto stopped = thread->clocksSent();
        QTest::qWait(200);  // room for many clocks: none comes
        QCOMPARE(thread->clocksSent(), stopped);
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);
    }

    // The lamp repaints only its corner of the knob: what the window shows
    // after it is what a repaint of the whole knob shows.
    void lampRepaintShowsWhatAWholeRepaintShows()
    {
        QVERIFY(m_window->openWindow(WindowRestorationInfo::TimingClockId));
        MidiLedCombinedDial* dial = view()->knob();
        dial->setAutomaticOff(false);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        const auto shown = [&] {
            QCoreApplication::processEvents();
            QTest::qWait(50);
            const QPoint at = dial->mapTo(m_window.get(), QPoint(0, 0));
            return m_window->screen()
                ->grabWindow(m_window->winId(), at.x(), at.y(), dial->width(), dial->height())
                .toImage();
        };
        const auto wholeRepaint = [&] {
            dial->update();
            return shown();
        };
        dial->ledOn();
        const QImage lit = shown();
        QCOMPARE(lit, wholeRepaint());
        dial->ledOff();
        const QImage dark = shown();
        QCOMPARE(dark, wholeRepaint());
        QVERIFY(lit != dark);
    }

    void receivedTempoFromTheAnalyzerAndTheParser()
    {
        QVERIFY(m_window->openWindow(WindowRestorationInfo::TimingClockId));
        // The loopback brings the window's own clock back in: it measures it.
        QVERIFY(m_window->ports()->inputPortMenuSelected(InputPortGroup_First, 0));
        view()->knob()->setValue(150);
        view()->playButton()->setChecked(true);
        QTRY_COMPARE_WITH_TIMEOUT(view()->receivedTempoLabel()->text(), QString("150 BPM"), 5000);
        view()->playButton()->setChecked(false);
        // Parser off: the receive side greys out and says why.
        m_model->setModelIntValue(ParamMessageParsed, 0);
        QVERIFY(!view()->receiveLabel()->isEnabled());
        QVERIFY(view()->receivedTempoLabel()->toolTip().startsWith("Receive function is currently disabled."));
        m_model->setModelIntValue(ParamMessageParsed, 1);
        QVERIFY(view()->receivedTempoLabel()->toolTip().isEmpty());
    }

    void projectSavedPlayingStartsTheClock()
    {
        QVERIFY(m_window->openWindow(WindowRestorationInfo::TimingClockId));
        view()->knob()->setValue(200);
        view()->playButton()->setChecked(true);
        QVERIFY(reopened<MidiTimingClockGeneratorView>());
        QCOMPARE(view()->knob()->value(), 200);
        QVERIFY(view()->playButton()->isChecked());
        QVERIFY(view()->thread()->isPlaying());
        const unsigned long long before = view()->thread()->clocksSent();
        QTRY_VERIFY(view()->thread()->clocksSent() > before + 10);
        // Closing the window stops the clock.
        QPointer<MidiTimingClockGeneratorView> guard(view());
        m_window->openedWindow(WindowRestorationInfo::TimingClockId)->close();
        QTRY_VERIFY(!guard);
    }
};

QTEST_MAIN(MidiTimingClockGeneratorViewTest)
#include "MidiTimingClockGeneratorViewTest.moc"
