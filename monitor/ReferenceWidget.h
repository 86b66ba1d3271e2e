// The editor's find bar: a search field with previous, next and close
// buttons below the text, driven from the keyboard (Ctrl+F shows it, Ctrl+G
// and Ctrl+Shift+G search on, Escape closes). It searches one plain-text
// edit case-insensitively, wraps around the document and selects the match.
// User-interface thread.
#pragma once

#include <QPointer>
#include <QWidget>

class LineEdit;
class PushButton;
class QPlainTextEdit;
class QTextCursor;

class ReferenceWidget : public QWidget {
    Q_OBJECT

public:
    explicit ReferenceWidget(QWidget* parent = nullptr);

    void setTextEditWidget(QPlainTextEdit* edit);
    // Selects the next (or previous) match of text; false, with the
    // selection unchanged, when there is none even after wrapping.
    bool search(const QString& text, bool backward);
    // Moves a cursor at the start of a line back to the end of the previous
    // one (repeatedly), so that a backward search goes on there.
    void moveBeginningOfCurrentBlockToBackOfPreviousBlock(QTextCursor& cursor, bool backward);

    LineEdit* searchField() const { return m_searchField; }

public Q_SLOTS:
    void nextButtonPressed();
    void prevButtonPressed();
    void closeButtonPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    LineEdit* m_searchField;
    PushButton* m_prevButton;
    PushButton* m_nextButton;
    QPointer<QPlainTextEdit> m_edit;
};
