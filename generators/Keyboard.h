// An on-screen piano keyboard over all 128 MIDI notes. Mouse presses, drags
// and releases become note-on and note-off decisions reported through a
// callback; it knows nothing of MIDI bytes or ports. A control-press latches:
// notes keep sounding after the release, and a control-drag turns every key
// it crosses on (or off, when it started on a sounding key).
// User-interface thread.
#pragma once

#include <QColor>
#include <QRect>
#include <QSizeF>
#include <QVector>
#include <QWidget>

class Keyboard : public QWidget {
    Q_OBJECT

public:
    using NoteCallback = void (*)(void* context, unsigned char note, bool on);

    struct KeyRecord {
        unsigned char note;
        QRect rect;
    };

    static constexpr int NoteCount = 128;
    static constexpr int WhiteKeyCount = 75;
    static constexpr int BlackKeyCount = 53;
    static constexpr unsigned char NoKey = 255;
    static constexpr QSizeF DefaultWhiteKeySize{50, 200};

    enum DragMode { DragTurnsOn = 0, DragTurnsOff = 1, NoDrag = 2 };

    // A size of 0 x 0 gives 50 x 200.
    Keyboard(QWidget* parent, const QSizeF& whiteKeySize);

    void setNoteCallbackFunc(NoteCallback callback, void* context);
    // Report, set or clear the note and repaint, whatever its state was.
    void noteOn(unsigned char note);
    void noteOff(unsigned char note);
    // Every sounding note off, in ascending order.
    void noteOnToOff();
    bool isAllNotOff() const;
    bool isNoteOn(unsigned char note) const { return note < NoteCount && m_noteOn[note]; }
    void setMiddleCOffset(int offset);
    void setOnColor(const QColor& colour);

    // The note under point (black keys lie on top), NoKey when none;
    // white tells which colour of key it was.
    unsigned char noteNumber(const QPoint& point, bool& white) const;
    unsigned char noteNumber(const QPoint& point) const;
    int getWhiteKeyHeight() const;
    int getBlackKeyHeight() const;
    bool getKeyboardRect(unsigned char note, QRect& rect) const;
    // "C" and its octave number for the C at note, as painted.
    QString octaveLabel(unsigned char note) const;

    const QSizeF& whiteKeySize() const { return m_whiteKeySize; }
    int dragMode() const { return m_dragMode; }
    bool isLatched() const { return m_latch; }
    QSize sizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    static bool isControlOnly(Qt::KeyboardModifiers modifiers);
    void setLatched(bool latched) { m_latch = latched; }

private:
    void buildKeys();
    void setNote(unsigned char note, bool on);

    QVector<KeyRecord> m_whiteKeys;
    QVector<KeyRecord> m_blackKeys;
    bool m_noteOn[NoteCount] = {};
    NoteCallback m_callback = nullptr;
    void* m_callbackContext = nullptr;
    QSizeF m_whiteKeySize;
    QColor m_onColor{Qt::transparent};
    bool m_latch = false;
    int m_middleCOffset = 0;
    int m_dragMode = NoDrag;
};
