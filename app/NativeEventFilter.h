// The computer keyboard and mouse as the PC keyboard and the About window
// see them: an application-wide event filter standing in for the platform's
// raw key events. Key down and up deliver the key's first character, both
// suppressed while Ctrl or Shift is held, key down also while a modal
// dialog is open; auto-repeated keys are ignored in both directions, so a
// held key gives one note on and one note off. A mouse button press asks
// for the About window to close. Each event is seen once, at its window.
// User-interface thread.
#pragma once

#include <QObject>

// What the filter drives: the main window.
class KeyEventTarget {
public:
    virtual bool closeAboutDialog() = 0;
    virtual bool transmitNoteOnByKeyDown(unsigned int key) = 0;
    virtual bool transmitNoteOffByKeyUp(unsigned int key) = 0;

protected:
    ~KeyEventTarget() = default;
};

class NativeEventFilter : public QObject {
    Q_OBJECT

public:
    explicit NativeEventFilter(QObject* parent = nullptr) : QObject(parent) {}

    // Null while no main window exists: then nothing is filtered.
    void setTarget(KeyEventTarget* target) { m_target = target; }

    bool isControlKeyPressed() const { return m_control; }
    bool isShiftKeyPressed() const { return m_shift; }

    // True consumes the event: it reaches no widget.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyEventTarget* m_target = nullptr;
    bool m_control = false;
    bool m_shift = false;
};
