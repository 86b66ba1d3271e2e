// Notes from the computer keyboard: the key map over two octaves, octave
// limits, one note held through two keys, keys that belong to typing, the
// release of held notes, and the settings window bound to the parameters.
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QtTest>

#include "CheckBox.h"
#include "KeyboardNoteEventManager.h"
#include "RecordingSender.h"
#include "LoopbackWindowFixture.h"
#include "MidiPCKeyboardView.h"
#include "NativeEventFilter.h"
#include "SpinBox.h"

using Bytes = std::vector<unsigned char>;

class PCKeyboardTest : public QObject, public LoopbackWindowFixture {
    Q_OBJECT

private:
    bool down(char key) { return m_window->transmitNoteOnByKeyDown(static_cast<unsigned char>(key)); }
    bool up(char key) { return m_window->transmitNoteOffByKeyUp(static_cast<unsigned char>(key)); }

private Q_SLOTS:
    void init()
    {
        startWindow(EmptyLayout);
        m_model->setModelIntValue(ParamPCKeyboardEnable, 1);
        QApplication::setActiveWindow(m_window.get());
        m_window->setFocus();
    }

    void cleanup() { stopWindow(); }

    void keyMapAndOctaves()
    {
        KeyboardNoteEventManager* manager = m_window->noteEventManager();
        QVERIFY(manager);
        unsigned char note = 0;
        // Two rows of keys over two octaves from middle C; lower case too.
        const struct {
            char key;
            int note;
        } keys[] = {{'Z', 60}, {'S', 61}, {',', 72}, {'Q', 72}, {'2', 73}, {'I', 84}, {'z', 60}};
        for (const auto& entry : keys) {
            QVERIFY(manager->getNoteNumberByKey(static_cast<unsigned char>(entry.key), note));
            QCOMPARE(int(note), entry.note);
        }
        QVERIFY(!manager->getNoteNumberByKey('A', note));
        m_model->setModelIntValue(ParamPCKeyboardOctave, 4);
        QVERIFY(!manager->getNoteNumberByKey('I', note));  // 132
        QVERIFY(manager->getNoteNumberByKey('Z', note));
        QCOMPARE(int(note), 108);
        m_model->setModelIntValue(ParamPCKeyboardOctave, -5);
        QVERIFY(manager->getNoteNumberByKey('Z', note));
        QCOMPARE(int(note), 0);
    }

    void playingHoldingAndReleasing()
    {
        QVERIFY(down('z'));
        QVERIFY(!down('z'));  // auto-repeat
        QVERIFY(up('z'));
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0x90, 0x3C, 0x40}, {0x80, 0x3C, 0x00}}));
        // "," and "Q" are the same note: the second key sends nothing and owns nothing.
        QVERIFY(down(','));
        QVERIFY(down('Q'));
        QVERIFY(!up('Q'));
        QVERIFY(up(','));
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0x90, 72, 0x40}, {0x80, 72, 0x00}}));
        // Channel and velocity when the key goes down; the note off on the channel it started on.
        m_model->setModelIntValue(ParamPCKeyboardChannel, 3);
        m_model->setModelIntValue(ParamPCKeyboardVelocity, 100);
        QVERIFY(down('x'));
        m_model->setModelIntValue(ParamPCKeyboardChannel, 5);
        m_model->setModelIntValue(ParamPCKeyboardEnable, 0);
        QVERIFY(!down('c'));  // disabled
        QVERIFY(up('x'));     // still released
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0x92, 62, 100}, {0x82, 62, 0}}));
        m_model->setModelIntValue(ParamPCKeyboardEnable, 1);
        // Three held keys released at once; their key ups then send nothing.
        for (char key : {'z', 'x', 'c'}) {
            QVERIFY(down(key));
        }
        heardMessages();
        m_window->releaseHeldNotes();
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0x84, 60, 0}, {0x84, 62, 0}, {0x84, 64, 0}}));
        for (char key : {'z', 'x', 'c'}) {
            QVERIFY(!up(key));
        }
        QVERIFY(heardMessages().empty());
        // Held when the manager goes: released on the way out, through the
        // sending interface it was given.
        RecordingSender sender;
        {
            KeyboardNoteEventManager manager(m_model.get(), &sender);
            QVERIFY(manager.trunsmitNoteOnByKeyDown('v'));
            QVERIFY(manager.record(65).sounding);
        }
        const auto sent = sender.sent();
        QCOMPARE(sent.size(), size_t(2));
        QCOMPARE(sent[1].bytes, (Bytes{0x84, 65, 0}));
        QVERIFY(heardMessages().empty());
    }

    void keysThatBelongToTyping()
    {
        auto* window = m_window->openWindow(WindowRestorationInfo::PCKeyboardId);
        QVERIFY(window);
        auto* view = qobject_cast<MidiPCKeyboardView*>(window->widget());
        // Focus in a spin box: typing, not playing.
        view->velocityBox()->setFocus();
        QTRY_VERIFY(view->velocityBox()->hasFocus());
        QVERIFY(!down('z'));
        QLineEdit line;
        line.show();
        QApplication::setActiveWindow(&line);
        line.setFocus();
        QTRY_VERIFY(line.hasFocus());
        QVERIFY(!down('z'));
        QPlainTextEdit text;
        text.setReadOnly(true);  // a read-only text does not type
        text.show();
        QApplication::setActiveWindow(&text);
        text.setFocus();
        QTRY_VERIFY(text.hasFocus());
        QVERIFY(down('z'));
        QVERIFY(up('z'));
        QCOMPARE(heardMessages().size(), size_t(2));
    }

    void aRealKeyThroughTheEventFilter()
    {
        NativeEventFilter filter;
        filter.setTarget(m_window.get());
        qApp->installEventFilter(&filter);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTest::keyPress(m_window->windowHandle(), Qt::Key_Z);
        QTest::keyRelease(m_window->windowHandle(), Qt::Key_Z);
        qApp->removeEventFilter(&filter);
        QCOMPARE(heardMessages(), (std::vector<Bytes>{{0x90, 0x3C, 0x40}, {0x80, 0x3C, 0x00}}));
    }

    void settingsWindowFollowsTheParameters()
    {
        QVERIFY(m_window->openWindow(WindowRestorationInfo::PCKeyboardId));
        auto* view = qobject_cast<MidiPCKeyboardView*>(m_window->mdiArea()->subWindowList().first()->widget());
        QVERIFY(view->enableBox()->isChecked());
        view->octaveBox()->stepBy(1);
        QCOMPARE(m_model->getModelIntValue(ParamPCKeyboardOctave, nullptr), 1);
        m_model->setModelIntValue(ParamPCKeyboardVelocity, 90);
        QCOMPARE(view->velocityBox()->value(), 90);
        // One at most: asking again brings it forward.
        QCOMPARE(m_window->openWindow(WindowRestorationInfo::PCKeyboardId), m_window->mdiArea()->subWindowList().first());
        QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);
    }
};

QTEST_MAIN(PCKeyboardTest)
#include "PCKeyboardTest.moc"
