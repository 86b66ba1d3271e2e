// The filter, MIDI settings, Preferences, About and licence windows as a
// user meets them, against the analyzer and the loopback ports.
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

#include "AboutView.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "DisabledVeil.h"
#include "EULAView.h"
#include "LicenseInfoView.h"
#include "LoopbackWindowFixture.h"
#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "MonitorFeed.h"
#include "WindowKinds.h"
#include "SettingsStore.h"
#include "PortSet.h"
#include "MidiAnalyzer.h"
#include "MidiClient.h"
#include "MidiFilterView.h"
#include "MidiInputPort.h"
#include "MidiSettingsView.h"
#include "NativeEventFilter.h"
#include "OstrelModel.h"
#include "SpinBox.h"

namespace {

QPushButton* buttonNamed(QWidget* parent, const QString& text, int occurrence = 0)
{
    for (QPushButton* button : parent->findChildren<QPushButton*>()) {
        if (button->text() == text && occurrence-- == 0) {
            return button;
        }
    }
    return nullptr;
}

CheckBox* checkBoxNamed(QWidget* parent, const QString& text)
{
    for (CheckBox* box : parent->findChildren<CheckBox*>()) {
        if (box->text() == text) {
            return box;
        }
    }
    return nullptr;
}

}  // namespace

class ViewsTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:
    // What the analyzer shows for these received bytes on the first input.
    QByteArray monitored(const QByteArray& bytes)
    {
        MidiAnalyzer* analyzer = m_window->feed()->analyzer();
        analyzer->receivedMidi(reinterpret_cast<const unsigned char*>(bytes.constData()),
                               static_cast<unsigned short>(bytes.size()), 0, 1, 0);
        QByteArray in, sysEx, out;
        unsigned int inCount = 0, sysExCount = 0, outCount = 0;
        analyzer->getMidiData(in, inCount, sysEx, sysExCount, out, outCount);
        return in;
    }

private Q_SLOTS:
    void initTestCase() { Q_INIT_RESOURCE(ostrel); }  // compiled into a static library: registered by hand
    void init() { startWindow(DefaultLayout); }
    void cleanup() { stopWindow(); }

    void filterSwitchesChangeWhatPasses()
    {
        QMdiSubWindow* window = m_window->openWindow(WindowRestorationInfo::FilterId);
        auto* filter = qobject_cast<MidiFilterView*>(window->widget());
        QVERIFY(filter);

        QTest::mouseClick(buttonNamed(filter, "All"), Qt::LeftButton);
        QCOMPARE(monitored("\x90\x3C\x40\xB5\x07\x64\xF8"), QByteArray("\nF8"));
        QTest::mouseClick(buttonNamed(filter, "Clear"), Qt::LeftButton);
        QCOMPARE(monitored("\x90\x3C\x40"), QByteArray("\n90 3C 40"));

        // "Control Change" in the message group alone drops nothing; the
        // controller page decides.
        QTest::mouseClick(checkBoxNamed(filter, "Control Change"), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(m_model->getModelIntValue(ParamMessageFilterFirst + 3, nullptr), 1);
        QCOMPARE(monitored("\xB0\x07\x64"), QByteArray("\nB0 07 64"));
        QTest::mouseClick(checkBoxNamed(filter, "007 Volume"), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(monitored("\xB0\x07\x64\xB0\x08\x64"), QByteArray("\nB0 08 64"));
        QWidget* controllerPage = filter->detailPages()->widget(0);
        QTest::mouseClick(buttonNamed(controllerPage, "All"), Qt::LeftButton);
        QCOMPARE(monitored("\xB0\x08\x64\xC0\x01"), QByteArray("\nC0 01"));
        QTest::mouseClick(buttonNamed(controllerPage, "Clear"), Qt::LeftButton);
        QCOMPARE(monitored("\xB0\x07\x64"), QByteArray("\nB0 07 64"));

        // The system pages, reached with their ">" buttons.
        QTest::mouseClick(buttonNamed(filter, ">", 1), Qt::LeftButton);
        QCOMPARE(filter->detailPages()->currentIndex(), 1);
        QTest::mouseClick(buttonNamed(filter->detailPages()->widget(1), "All"), Qt::LeftButton);
        QCOMPARE(monitored("\xF1\x01\xF2\x01\x02\xF3\x01\xF6\xFA"), QByteArray("\nFA"));
        QTest::mouseClick(buttonNamed(filter, ">", 2), Qt::LeftButton);
        QCOMPARE(filter->detailPages()->currentIndex(), 2);
        QTest::mouseClick(checkBoxNamed(filter, "(FE) Active Sensing"), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(monitored("\xFE\xFA"), QByteArray("\nFA"));
        QTest::mouseClick(buttonNamed(filter->detailPages()->widget(2), "Clear"), Qt::LeftButton);
        QCOMPARE(monitored("\xFE"), QByteArray("\nFE"));

        // With the parser off the window is veiled and nothing can be operated.
        m_model->setModelIntValue(ParamMessageParsed, 0);
        QVERIFY(filter->veil()->isVisible());
        QCOMPARE(filter->veil()->text(),
                 QString("Filter function is currently disabled.\nTurn On File > Preferences > Parser."));
        QVERIFY(!buttonNamed(filter, "All")->isEnabled());
    }

    void settingsWindowChoosesPorts()
    {
        QMdiSubWindow* window = m_window->openWindow(WindowRestorationInfo::MidiSettingsId);
        auto* settings = qobject_cast<MidiSettingsView*>(window->widget());
        QVERIFY(settings);
        ComboBox* firstInput = settings->inputPortList(InputPortGroup_First);
        QStringList items;
        for (int i = 0; i < firstInput->count(); i++) {
            items.append(firstInput->itemText(i));
        }
        QCOMPARE(items, QStringList({"Not Connected", "Ostrel Loopback 1", "Ostrel Loopback 2"}));
        firstInput->setCurrentIndex(2);
        Q_EMIT firstInput->activated(2);
        QString name;
        m_window->ports()->input(InputPortGroup_First)->getCurrentPortName(name);
        QCOMPARE(name, QString("Ostrel Loopback 2"));
        QCOMPARE(m_model->getModelIntValue(ParamInputPortIndex, nullptr), 2);
        ComboBox* secondOutput = settings->outputPortList(OutputPortGroup_Second);
        secondOutput->setCurrentIndex(1);
        Q_EMIT secondOutput->activated(1);
        QCOMPARE(m_window->ports()->currentOutputIndex(OutputPortGroup_Second), 1u);

        // The menu and the window stay in step.
        m_window->ports()->inputPortMenuSelected(InputPortGroup_First, static_cast<unsigned int>(InvalidPortIndex));
        Q_EMIT m_window->inputPortMenu()->aboutToShow();
        QCOMPARE(firstInput->currentIndex(), 0);
        QTest::mouseClick(settings->updateButton(), Qt::LeftButton);
        QCOMPARE(secondOutput->currentIndex(), 1);

        // Monitor and thru check boxes and the bulk interval are bound.
        QTest::mouseClick(checkBoxNamed(settings, "Port2"), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(m_model->getModelIntValue(ParamMonitorPort2, nullptr), 0);
        settings->bulkIntervalSpinBox()->stepBy(5);
        QCOMPARE(m_model->getModelIntValue(ParamBulkInterval, nullptr), 5);
        m_model->setModelIntValue(ParamMessageParsed, 0);
        QVERIFY(!settings->bulkIntervalSpinBox()->isEnabled());
        QCOMPARE(settings->bulkIntervalSpinBox()->toolTip(),
                 QString("Bulk interval function is currently disabled.\nTurn On File > Preferences > Parser."));
        // Taller than documented where the contents need it to show whole.
        QVERIFY(settings->contentSize().height() <= window->contentsRect().height());
    }

    void preferencesChangeWhatTheMonitorShows()
    {
        QMdiSubWindow* window = m_window->openWindow(WindowKinds::PreferencesId);
        QWidget* view = window->widget();
        ComboBox* middleC = nullptr;
        for (ComboBox* combo : view->findChildren<ComboBox*>()) {
            if (combo->itemText(0) == "C3") {
                middleC = combo;
            }
        }
        QVERIFY(middleC);
        QTest::mouseClick(checkBoxNamed(view, "Details"), Qt::LeftButton, {}, QPoint(5, 5));
        middleC->setCurrentIndex(2);
        QCOMPARE(monitored("\x90\x3C\x40"), QByteArray("\nPort1 Ch 1 NoteOn   90 3C 40 [C5]"));
        QTest::mouseClick(checkBoxNamed(view, "Time"), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(monitored("\xF8").startsWith("\n00:00:00:000 Port1"));
        QTest::mouseClick(checkBoxNamed(view, "Parser"), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(m_model->getModelIntValue(ParamMessageParsed, nullptr), 0);
        QVERIFY(monitored("\x90\x3C\x40").endsWith("-------- 90 3C 40"));
        // Preferences are never stored in a layout.
        QVERIFY(!dynamic_cast<WindowRestorationInfo*>(view));
    }

    void aboutClosesOnAClickAndLicencesShowTheirTexts()
    {
        NativeEventFilter filter;
        filter.setTarget(m_window.get());
        QApplication::instance()->installEventFilter(&filter);
        QPointer<QMdiSubWindow> about = m_window->windows().make(WindowKinds::AboutId, {});
        QVERIFY(about);
        auto* view = qobject_cast<AboutView*>(about->widget());
        QCOMPARE(view->lines().at(1), QString("Ostrel Ver.1.6.0"));
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, QPoint(300, 300));
        QTRY_VERIFY(!about);
        QApplication::instance()->removeEventFilter(&filter);

        QMdiSubWindow* notice = m_window->openWindow(WindowKinds::OpenSourceLicenseId);
        auto* text = qobject_cast<LicenseInfoView*>(notice->widget());
        QVERIFY(text->toPlainText().contains("Qt 5.12.6"));
        QVERIFY(!text->toPlainText().contains("QT_VERSION"));
        QMdiSubWindow* eula = m_window->openWindow(WindowKinds::EULAId);
        QVERIFY(qobject_cast<EULAView*>(eula->widget())->toPlainText().startsWith("MIT License"));
    }
};

QTEST_MAIN(ViewsTest)
#include "ViewsTest.moc"
