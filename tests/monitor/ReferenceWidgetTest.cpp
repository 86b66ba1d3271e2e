// The find bar: forward, backward across line starts, wrapping, not found,
// and its keys.
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QtTest>

#include "LineEdit.h"
#include "ReferenceWidget.h"

class ReferenceWidgetTest : public QObject {
    Q_OBJECT

private:
    QWidget m_window;
    QPlainTextEdit* m_edit = nullptr;
    ReferenceWidget* m_bar = nullptr;

    int selectionStart() const { return m_edit->textCursor().selectionStart(); }

private Q_SLOTS:
    void initTestCase() { Q_INIT_RESOURCE(ostrel); }

    void init()
    {
        qDeleteAll(m_window.children());
        auto* layout = new QVBoxLayout(&m_window);
        m_edit = new QPlainTextEdit(&m_window);
        m_bar = new ReferenceWidget(&m_window);
        layout->addWidget(m_edit);
        layout->addWidget(m_bar);
        m_bar->setTextEditWidget(m_edit);
        m_bar->hide();
        // F0 at 0, 12 and 24 (line starts at 0, 12, 24).
        m_edit->setPlainText("F0 7E 7F F7\nF0 41 10 F7\nF0 43 10 F7");
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    }

    void forwardSearchStepsAndWraps()
    {
        QVERIFY(m_bar->search("f0", false));  // case-insensitive
        QCOMPARE(selectionStart(), 0);
        QVERIFY(m_bar->search("F0", false));
        QCOMPARE(selectionStart(), 12);
        QVERIFY(m_bar->search("F0", false));
        QCOMPARE(selectionStart(), 24);
        QVERIFY(m_bar->search("F0", false));
        QCOMPARE(selectionStart(), 0);  // wrapped
        QVERIFY(!m_bar->search("99", false));  // not found: the selection stays
        QCOMPARE(m_edit->textCursor().selectedText(), QString("F0"));
    }

    void backwardSearchContinuesOnThePreviousLine()
    {
        QTextCursor cursor = m_edit->textCursor();
        cursor.setPosition(24);  // the start of the third line
        m_edit->setTextCursor(cursor);
        QVERIFY(m_bar->search("F7", true));
        QCOMPARE(selectionStart(), 21);  // the end of the second line
        QVERIFY(m_bar->search("F7", true));
        QCOMPARE(selectionStart(), 9);
        QVERIFY(m_bar->search("F7", true));
        QCOMPARE(selectionStart(), 33);  // wrapped to the end
    }

    void keysOpenSearchAndClose()
    {
        m_edit->setFocus();
        QTest::keyClick(m_edit, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(m_bar->isVisible());
        QTRY_VERIFY(m_bar->searchField()->hasFocus());
        m_bar->searchField()->setText("10");
        QTest::keyClick(m_bar->searchField(), Qt::Key_Return);
        QCOMPARE(selectionStart(), 18);
        QTest::keyClick(m_bar->searchField(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(selectionStart(), 30);
        QTest::keyClick(m_bar->searchField(), Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selectionStart(), 18);
        QTest::keyClick(m_bar->searchField(), Qt::Key_Escape);
        QVERIFY(!m_bar->isVisible());
        QTRY_VERIFY(m_edit->hasFocus());
    }
};

QTEST_MAIN(ReferenceWidgetTest)
#include "ReferenceWidgetTest.moc"
