// The main window's port menus with a JACK peer that comes and goes.
#include <QMenu>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

#include "JackPeer.h"
#include "ComboBox.h"
#include "MainWindow.h"
#include "MidiSettingsView.h"
#include <QMdiSubWindow>
#include <QPushButton>
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

    void settingsWindowFollowsAPeerThatComesAndGoes()
    {
        OstrelModel model;
        MainWindow window(nullptr, &model, MidiApi::Jack);
        auto* settings = qobject_cast<MidiSettingsView*>(
            window.createMidiSettingsView("&MIDI Settings")->widget());
        ComboBox* input = settings->inputPortList(InputPortGroup_Second);
        auto peer = std::make_unique<JackPeer>("ostrel-settings-peer");
        QVERIFY(peer->isOpen());
        const QString source = peer->name() + ":out";
        QCOMPARE(input->findText(source), -1);
        QTest::mouseClick(settings->updateButton(), Qt::LeftButton);
        const int item = input->findText(source);
        QVERIFY(item > 0);
        input->setCurrentIndex(item);
        Q_EMIT input->activated(item);
        QVERIFY(window.inputPort(InputPortGroup_Second)->portIndex() >= 0);

        peer.reset();
        QTest::qWait(100);
        QTest::mouseClick(settings->updateButton(), Qt::LeftButton);
        QCOMPARE(input->findText(source), -1);
        QCOMPARE(input->currentIndex(), 0);
        QCOMPARE(input->currentText(), QString("Not Connected"));
        QCOMPARE(window.inputPort(InputPortGroup_Second)->portIndex(), InvalidPortIndex);
    }
};

QTEST_MAIN(MainWindowJackTest)
#include "MainWindowJackTest.moc"
