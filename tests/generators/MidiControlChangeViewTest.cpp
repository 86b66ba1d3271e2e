// The control change window: initial and reset values per controller, one
// message per knob change, Transmit, and a project that restores without
// sending; the Views sub-menu.
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "BoxAnswer.h"
#include "Dial.h"
#include "LoopbackWindowFixture.h"
#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "LayoutStore.h"
#include "WindowKinds.h"
#include "ProjectController.h"
#include "MidiControlChangeView.h"
#include "OstrelModel.h"
#include "PacketCollector.h"
#include "PushButton.h"
#include "SpinBox.h"

using Bytes = std::vector<unsigned char>;

class MidiControlChangeViewTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:

    MidiControlChangeView* newView(unsigned char controller)
    {
        QMdiSubWindow* window = m_window->openWindow(WindowRestorationInfo::ControlChangeId, {int(controller), 0});
        return window ? qobject_cast<MidiControlChangeView*>(window->widget()) : nullptr;
    }

private Q_SLOTS:
    void init() { startWindow(EmptyLayout); }

    void cleanup() { stopWindow(); }

    void knobSendsEachValueOnce()
    {
        MidiControlChangeView* view = newView(7);
        QCOMPARE(view->knob()->value(), 100);
        QVERIFY(heardMessages().empty());  // opening sends nothing
        view->knob()->setValue(101);
        view->knob()->setValue(105);
        QTRY_COMPARE(m_collector->packets().size(), size_t(2));
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xB0, 7, 101}, {0xB0, 7, 105}}));
        // Another controller: the value stays, nothing is sent, the reset value follows.
        view->controllerChoice()->setCurrentIndex(10);
        QCOMPARE(view->restorationData().first().toInt(), 10);
        QCOMPARE(view->knob()->value(), 105);
        QVERIFY(heardMessages().empty());
        QTest::mouseClick(view->knob(), Qt::LeftButton, Qt::ControlModifier, view->knob()->rect().center());
        QCOMPARE(view->knob()->value(), 64);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xB0, 10, 64}}));
        // Channel 16, controller 64, value 127; Transmit twice sends twice.
        view->channelBox()->setValue(16);
        view->controllerChoice()->setCurrentIndex(64);
        view->knob()->setValue(127);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xBF, 0x40, 0x7F}}));
        QTest::mousePress(view->transmitButton(), Qt::LeftButton);
        QTest::mouseRelease(view->transmitButton(), Qt::LeftButton);
        QTest::mousePress(view->transmitButton(), Qt::LeftButton);
        QTest::mouseRelease(view->transmitButton(), Qt::LeftButton);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0xBF, 0x40, 0x7F}, {0xBF, 0x40, 0x7F}}));
    }

    void projectRestoresWithoutSending()
    {
        MidiControlChangeView* view = newView(74);
        view->channelBox()->setValue(3);
        view->knob()->setValue(33);
        auto* restored = reopened<MidiControlChangeView>();
        QVERIFY(restored && restored != view);
        QCOMPARE(restored->channelBox()->value(), 3);
        QCOMPARE(restored->controllerChoice()->currentIndex(), 74);
        QCOMPARE(restored->knob()->value(), 33);
        QCOMPARE(restored->parentWidget()->size(), QSize(225, 250));
        QVERIFY(heardMessages().empty());
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);
        // Restoration data without the controller creates nothing.
        QVERIFY(!m_window->layout()->restoreSubWindow(WindowRestorationInfo::ControlChangeId, false,
                                                     QRect(0, 0, 225, 250), Qt::WindowNoState, {QVariant(5)}));
    }

    void viewsSubMenuOpensTheController()
    {
        QMenu* views = nullptr;
        for (QAction* action : m_window->menuBar()->actions()) {
            if (action->text() == "&Views") {
                views = action->menu();
            }
        }
        QVERIFY(views);
        QMenu* controllers = views->actions().at(3)->menu();
        QVERIFY(controllers && controllers->isEnabled());
        controllers->actions().at(11)->trigger();
        QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);
        auto* view = qobject_cast<MidiControlChangeView*>(m_window->mdiArea()->subWindowList().first()->widget());
        QCOMPARE(view->controllerChoice()->currentIndex(), 11);
        QCOMPARE(view->knob()->value(), 127);
    }
};

QTEST_MAIN(MidiControlChangeViewTest)
#include "MidiControlChangeViewTest.moc"
