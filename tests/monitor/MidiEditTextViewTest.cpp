// The monitor and editor text: byte counts and tooltips, appending, the
// shortcut keys, row links, the project flag and the font size.
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

#include "MidiEditTextView.h"
#include "OstrelModel.h"

namespace {

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

}  // namespace

class MidiEditTextViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void byteCountsOfSelectionOrWholeText()
    {
        OstrelModel model;
        MidiEditTextView view(nullptr, &model, false);
        view.setPlainText("F0 7E 7F 09 01 F7\nF07E7F0901F7 // the same");
        QTextCursor cursor = view.textCursor();
        cursor.clearSelection();
        view.setTextCursor(cursor);
        QCOMPARE(view.getTransmissionMessageSize(), 12u);
        cursor.setPosition(0);
        cursor.setPosition(17, QTextCursor::KeepAnchor);
        view.setTextCursor(cursor);
        QCOMPARE(view.getTransmissionMessageSize(), 6u);
        cursor.setPosition(15);
        cursor.setPosition(21, QTextCursor::KeepAnchor);  // "F7", the line break, "F07"
        view.setTextCursor(cursor);
        QCOMPARE(view.getTransmissionMessageSize(), MidiEditTextView::UnknownSize);
        cursor.setPosition(15);
        cursor.setPosition(22, QTextCursor::KeepAnchor);  // across the line: F7, F0, 7E
        view.setTextCursor(cursor);
        QCOMPARE(view.getTransmissionMessageSize(), 3u);
        QCOMPARE(MidiEditTextView::getTooltipString(MidiEditTextView::UnknownSize),
                 QString("Unknown number of bytes."));
        QCOMPARE(view.stripSpaceAndTabSpaceFromBackward("F0 F7 \t\n"), QString("F0 F7"));
        QCOMPARE(view.stripSpaceAndTabSpaceFromBackward(" \t"), QString());
    }

    void appendingTrimsTheFirstLineAndFollowsTheBottom()
    {
        OstrelModel model;
        MidiEditTextView monitor(nullptr, &model, true);
        monitor.resize(300, 100);
        monitor.show();
        monitor.insertText("\n90 3C 40");
        QCOMPARE(monitor.toPlainText(), QString("90 3C 40"));
        for (int i = 0; i < 100; i++) {
            monitor.insertText("\nF8");
        }
        QScrollBar* bar = monitor.verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(bar->maximum() - 10);  // scrolled up: stays put
        monitor.insertText("\nFE");
        QCOMPARE(bar->value(), bar->maximum() - 11);
        // Monitors never mark the project.
        QCOMPARE(model.getParameterEditFlag(), ParameterEditFlagUnchanged);
    }

    // A full monitor trims a line for each it appends: its scroll bar ends
    // where it was and is not repainted; one that moved shows the same as a
    // whole repaint of it would.
    void theScrollBarRepaintsWhenItMovesOnly()
    {
        OstrelModel model;
        QWidget window;
        window.resize(320, 160);
        MidiEditTextView monitor(&window, &model, true);
        monitor.setGeometry(0, 0, 320, 160);
        monitor.document()->setMaximumBlockCount(40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QScrollBar* bar = monitor.verticalScrollBar();
        PaintCounter paints(bar);
        const auto shown = [&] {
            QCoreApplication::processEvents();
            const QPoint at = bar->mapTo(&window, QPoint(0, 0));
            return window.screen()->grabWindow(window.winId(), at.x(), at.y(), bar->width(), bar->height()).toImage();
        };
        const auto wholeRepaint = [&] {
            bar->update();
            return shown();
        };
        const auto append = [&](int lines) {
            for (int i = 0; i < lines; i++) {
                monitor.insertText("\nF8");
            }
        };
        // Growing while scrolled up: the handle shrinks, nothing else
        // moves (the text stays where it is).
        append(20);
        bar->setValue(0);
        const QImage filling = shown();
        paints.count = 0;
        append(5);
        const QImage shrunk = shown();
        QCOMPARE(bar->value(), 0);
        QVERIFY(paints.count >= 1);
        QVERIFY(shrunk != filling);
        QCOMPARE(shrunk, wholeRepaint());

        bar->setValue(bar->maximum());
        append(40);
        const QImage full = shown();
        paints.count = 0;
        append(3);
        QCOMPARE(shown(), full);
        QCOMPARE(paints.count, 0);
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(monitor.document()->blockCount(), 40);

        // Scrolled by hand (outside an append): as any scroll bar.
        bar->setValue(bar->maximum() / 2);
        const QImage scrolled = shown();
        QCOMPARE(paints.count, 1);
        QVERIFY(scrolled != full);
        QCOMPARE(scrolled, wholeRepaint());
    }

    void shiftDClearsAMonitorButTypesInAnEditor()
    {
        OstrelModel model;
        MidiEditTextView monitor(nullptr, &model, true);
        monitor.show();
        monitor.setPlainText("90 3C 40");
        monitor.setFocus();
        QTest::keyClick(&monitor, Qt::Key_D, Qt::ShiftModifier);
        QVERIFY(monitor.toPlainText().isEmpty());

        MidiEditTextView editor(nullptr, &model, false);
        editor.show();
        editor.setFocus();
        QTest::keyClicks(&editor, "f0");
        QTest::keyClick(&editor, 'D', Qt::ShiftModifier);
        QCOMPARE(editor.toPlainText(), QString("f0D"));
        QCOMPARE(model.getParameterEditFlag(), ParameterEditFlagEdited);
    }

    void functionKeysRaiseTheEditorsCommands()
    {
        OstrelModel model;
        MidiEditTextView editor(nullptr, &model, false);
        QSignalSpy transmit(&editor, &MidiEditTextView::transmitShortcutKeyPressed);
        QSignalSpy receive(&editor, &MidiEditTextView::receiveShorcutKeyPressed);
        QSignalSpy both(&editor, &MidiEditTextView::transmitAndReceiveShortcutKeyPressed);
        QTest::keyClick(&editor, Qt::Key_F5);
        QTest::keyClick(&editor, Qt::Key_F6);
        QTest::keyClick(&editor, Qt::Key_F7);
        QCOMPARE(transmit.size(), 1);
        QCOMPARE(receive.size(), 1);
        QCOMPARE(both.size(), 1);
        QVERIFY(editor.toPlainText().isEmpty());
    }

    void rowLinksSendTheRowWithoutItsComment()
    {
        OstrelModel model;
        MidiEditTextView editor(nullptr, &model, false);
        editor.resize(400, 200);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.setPlainText("F0 01 02 F7   // a dump\n// only a comment");
        QSignalSpy rows(&editor, SIGNAL(transmitRowMessage(QString)));
        const QPoint onRow = editor.cursorRect(QTextCursor(editor.document()->firstBlock())).center() + QPoint(6, 0);
        QVERIFY(!editor.constructLink(onRow, false));
        QVERIFY(editor.constructLink(onRow, true));
        QCOMPARE(editor.linkText(), QString("F0 01 02 F7"));
        QVERIFY(editor.transmitRowMessage());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().at(0).toString(), QString("F0 01 02 F7"));
        const QPoint onComment = editor.cursorRect(QTextCursor(editor.document()->lastBlock())).center() + QPoint(6, 0);
        QVERIFY(!editor.constructLink(onComment, true));
        QVERIFY(!editor.isLinkActive());
        QVERIFY(!editor.transmitRowMessage());

        // Read-only monitors have no links.
        MidiEditTextView monitor(nullptr, &model, true);
        QVERIFY(!monitor.constructLink(QPoint(5, 5), true));
    }
};

QTEST_MAIN(MidiEditTextViewTest)
#include "MidiEditTextViewTest.moc"
