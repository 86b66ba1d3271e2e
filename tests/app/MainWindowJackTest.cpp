// The main window's port menus with a JACK peer that comes and goes.
#include <QMenu>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

#include "JackPeer.h"
#include "MainWindow.h"
#include "MidiClient.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "OstrelModel.h"

class MainWindowJackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void vanishedEndpointShowsNotConnectedAndClosesThePort()
    {
        auto peer = std::make_unique<JackPeer>("ostrel-menu-peer");
        QVERIFY2(peer->isOpen(), "no JACK server: the test command starts one");
        const QString peerName = peer->name();
        OstrelModel model;
        MainWindow window(nullptr, &model, MidiApi::Jack);
        QMenu* inputs = window.inputPortMenu();
        QMenu* outputs = window.outputPortMenu();
        Q_EMIT inputs->aboutToShow();
        Q_EMIT outputs->aboutToShow();
        QAction* source = nullptr;
        for (QAction* action : inputs->actions()) {
            if (action->text() == peerName + ":out") {
                source = action;
            }
        }
        QVERIFY(source);
        source->trigger();
        for (QAction* action : outputs->actions()) {
            if (action->text() == peerName + ":in") {
                action->trigger();
            }
        }
        QCOMPARE(window.inputPort(InputPortGroup_First)->portIndex(), source->data().toInt());
        QVERIFY(window.outputPort(OutputPortGroup_First)->portIndex() >= 0);

        peer.reset();
        QTest::qWait(100);
        Q_EMIT inputs->aboutToShow();
        Q_EMIT outputs->aboutToShow();
        QVERIFY(inputs->actions().at(0)->isChecked());
        QCOMPARE(inputs->actions().at(0)->text(), QString("Not Connected"));
        QVERIFY(outputs->actions().at(0)->isChecked());
        QCOMPARE(window.inputPort(InputPortGroup_First)->portIndex(), InvalidPortIndex);
        QCOMPARE(window.outputPort(OutputPortGroup_First)->portIndex(), InvalidPortIndex);
        const unsigned char note[] = {0x90, 0x3C, 0x40};
        QVERIFY(!window.transmitMidi(note, 3, 1, OutputPortGroup_Both, false, false, 0));
    }
};

QTEST_MAIN(MainWindowJackTest)
#include "MainWindowJackTest.moc"
