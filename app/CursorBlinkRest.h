// The text cursor stops blinking a while after the last key press or mouse
// click and stays shown, as desktops do; the next input starts it again. So
// a program left alone wakes for nothing: the blinking cursor of the focused
// editor was its last timer.
//
// Threads: the user-interface thread only (an application event filter).
#pragma once

#include <QObject>
#include <QTimer>

class CursorBlinkRest : public QObject {
    Q_OBJECT

public:
    static constexpr int DefaultRestMilliseconds = 10000;

    // Filters the application's events from now on.
    explicit CursorBlinkRest(QObject* parent = nullptr, int restMilliseconds = DefaultRestMilliseconds);
    ~CursorBlinkRest() override;

    bool resting() const { return m_resting; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rest();

    QTimer m_timer;
    int m_flashTime;  // the platform's, restored on input
    bool m_resting = false;
};
