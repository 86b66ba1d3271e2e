// The widgets bound to parameters, as a user meets them: binding both ways,
// control-click defaults, clamped entries, value boxes, dial drags, the
// seven-segment display, picture strips.
#include <QIntValidator>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QPointer>
#include <QtTest>

#include "CommonViewHelper.h"
#include "Dial.h"
#include "LineEdit.h"
#include "ModelAssistant.h"
#include "OstrelModel.h"
#include "PushButton.h"
#include "SevenSegment.h"
#include "SpinBox.h"

namespace {

// Press at from, move to to with the button held, release there.
void drag(QWidget& widget, QPoint from, QPoint to)
{
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, widget.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, to);
}

class KnobModeWitness : public ModelAssistant {
public:
    explicit KnobModeWitness(Dial* dial) : m_dial(dial) {}
    void updateParameter(unsigned int id) override
    {
        if (id == ParamKnobMode && m_dial) {
            modeSeen = m_dial->knobMode();
        }
    }
    int modeSeen = -1;

private:
    QPointer<Dial> m_dial;  // the test destroys the dial while this listens
};

}  // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void spinBoxTakesItsRangeAndWritesEachChangeOnce()
    {
        OstrelModel model;
        SpinBox spin;
        QSignalSpy changes(&spin, &SpinBox::widgetValueChanged);
        spin.setParameterId(ParamPCKeyboardOctave);
        spin.connectModel(&model);
        QCOMPARE(spin.minimum(), -5);
        spin.stepBy(2);
        QCOMPARE(model.getModelIntValue(ParamPCKeyboardOctave, nullptr), 2);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.last().at(0).toInt(), 2);
        spin.findChild<QLineEdit*>()->setText("2");
        spin.inputCompletion();
        QCOMPARE(changes.size(), 1);  // the same value: nothing written, nothing emitted
        spin.findChild<QLineEdit*>()->setText("-4");
        spin.inputCompletion();
        QCOMPARE(model.getModelIntValue(ParamPCKeyboardOctave, nullptr), -4);
        QCOMPARE(changes.size(), 2);
        model.setModelIntValue(ParamPCKeyboardOctave, 3);
        QCOMPARE(spin.value(), 3);
        QCOMPARE(changes.size(), 2);  // the model's changes are shown, not echoed
    }

    void lineEditClampsOrRestores()
    {
        LineEdit edit("64");
        edit.setValidator(new QIntValidator(0, 127, &edit));
        QSignalSpy finished(&edit, &QLineEdit::editingFinished);
        edit.setText("300");
        edit.decide();
        QCOMPARE(edit.text(), QString("127"));
        edit.setText("-3");
        edit.decide();
        QCOMPARE(edit.text(), QString("0"));
        edit.setText("abc");
        edit.decide();
        QCOMPARE(edit.text(), QString("64"));
        QCOMPARE(finished.size(), 3);
    }

    void sevenSegmentStaysInRange()
    {
        SevenSegment display;
        display.resize(50, 20);
        display.setIncreaseButtonGeometry(QRect(30, 0, 20, 10));
        display.setDecreaseButtonGeometry(QRect(30, 10, 20, 10));
        display.setDefault(64);
        QSignalSpy changes(&display, &SevenSegment::valueChanged);
        display.show();
        display.setValue(500);
        QCOMPARE(display.value(), 127);
        const int emitted = changes.size();
        display.increase();
        QCOMPARE(changes.size(), emitted);  // at the maximum: no change, no signal
        QTest::keyClick(&display, Qt::Key_Down);
        QCOMPARE(display.value(), 126);
        QTest::mouseClick(&display, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
        QCOMPARE(display.value(), 64);
        QTest::mouseClick(display.increaseButton(), Qt::LeftButton);
        QCOMPARE(display.value(), 65);

        QTest::mouseDClick(&display, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(display.isVisibleLineEdit());
        display.increase();
        QCOMPARE(display.value(), 65);  // the buttons rest while typing
        auto* box = display.findChild<LineEdit*>();
        box->setText("300");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!display.isVisibleLineEdit());
        QCOMPARE(display.value(), 127);
    }

    void dialDragsLinearlyAndIgnoresItsValueText()
    {
        Dial dial;
        dial.resize(100, 100);
        dial.setRange(0, 127);
        dial.setLineEditSize(40, 20);
        dial.setKnobMode(Dial::Linear);
        dial.setValue(50);
        dial.show();
        drag(dial, QPoint(50, 70), QPoint(50, 60));
        QCOMPARE(dial.value(), 60);
        QCOMPARE(dial.getLinearMagnification(), 1.0);
        dial.setRange(0, 1000);
        drag(dial, QPoint(45, 75), QPoint(45, 65));
        QCOMPARE(dial.value(), 90);

        dial.setKnobMode(Dial::Circular);
        QTest::mouseClick(&dial, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        QCOMPARE(dial.value(), 90);  // a press on the value text moves nothing
        dial.setResetValue(500);
        QTest::mouseClick(&dial, Qt::LeftButton, Qt::ControlModifier, QPoint(50, 50));
        QCOMPARE(dial.value(), 500);

        QTest::mouseDClick(&dial, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        QVERIFY(dial.isLineEditVisible());
        auto* box = dial.findChild<LineEdit*>();
        box->setText("5000");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!dial.isLineEditVisible());
        QCOMPARE(dial.value(), 1000);
    }

    void dialsFollowTheKnobModeBeforeAnyoneElse()
    {
        OstrelModel model;
        auto dial = std::make_unique<Dial>();
        model.setModelIntValue(ParamKnobMode, 1);
        model.registerDial(dial.get());
        model.registerDial(dial.get());
        QCOMPARE(dial->knobMode(), 1);
        KnobModeWitness witness(dial.get());
        model.registerModelAssistant(&witness);
        model.setModelIntValue(ParamKnobMode, 0);
        QCOMPARE(witness.modeSeen, 0);  // already switched when the assistant heard
        dial.reset();  // destroyed without unregistering: skipped, then dropped
        model.setModelIntValue(ParamKnobMode, 1);
        Dial other;
        model.registerDial(&other);
        QCOMPARE(other.knobMode(), 1);
        model.unregisterDial(&other);
        model.setModelIntValue(ParamKnobMode, 0);
        QCOMPARE(other.knobMode(), 1);
        model.unregisterModelAssistant(&witness);
    }

    void pushButtonStripAndBinding()
    {
        OstrelModel model;
        QWidget window;
        PushButton& button = *new PushButton(&window);
        button.setCheckable(true);
        button.resize(40, 20);
        QPixmap strip(40, 20);
        strip.fill(Qt::black);
        QPainter(&strip).fillRect(20, 0, 20, 20, Qt::white);
        button.setImage(strip);
        button.setParameterId(ParamMessageColor);
        CommonViewHelper helper(&model);
        helper.connectModel(&window);  // reaches the child
        QVERIFY(button.isChecked());
        window.show();
        QCOMPARE(qGray(button.grab().toImage().pixel(5, 5)), 255);  // checked: the right frame
        model.setModelIntValue(ParamMessageColor, 0);
        QVERIFY(!button.isChecked());
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(model.getModelIntValue(ParamMessageColor, nullptr), 1);
    }
};

QTEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"
