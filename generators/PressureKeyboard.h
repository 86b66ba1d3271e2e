// The keyboard with aftertouch: while a key is held, dragging up and down
// sets a pressure 0-127 (growing towards the bottom of the key), sent as
// key pressure for every sounding note or as one channel pressure. Shift
// makes the drag finer. A box shows the value beside the key and a line
// its level. User-interface thread.
#pragma once

#include "Keyboard.h"

class PressureKeyboard : public Keyboard {
    Q_OBJECT

public:
    using KeyPressureCallback = void (*)(void* context, unsigned char note, unsigned char value);
    using ChannelPressureCallback = void (*)(void* context, unsigned char value);

    enum PressureMode { PressureOff = 0, ChannelPressure = 1, KeyPressure = 2 };
    static constexpr int NoPressure = 2147483647;

    struct PressureValueDisplay {
        unsigned char note;
        bool white;
    };

    PressureKeyboard(QWidget* parent, const QSizeF& whiteKeySize);

    void setKeyPressureCallbackFunc(KeyPressureCallback callback, void* context);
    void setChannelPressureCallbackFunc(ChannelPressureCallback callback, void* context);
    // Written by the owner: off, channel pressure or key pressure.
    int pressureMode = PressureOff;

    // 127 at the bottom of a white key, 0 at its top (clamped).
    int convertYPositionToValue(int y) const;
    static int checkValueRange(int value);
    bool findPressureValueDisplayFromPosition(const QPoint& point, PressureValueDisplay& display) const;
    QRect getRectForPressureValueDrawing(const QPoint& point) const;
    int getYPositionForPressureValueDrawing(int value) const;

    int lastPressureValue() const { return m_lastPressureValue; }
    bool isPressureDragging() const { return m_pressureDragging; }
    // Whether the value box and level line are drawn now.
    bool isPressureShown() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int pressureValueAt(const QPoint& point, bool shift);
    void sendPressure(int value);

    bool m_pressed = false;
    QPoint m_lastPosition;
    int m_lastPressureValue = NoPressure;
    KeyPressureCallback m_keyPressureCallback = nullptr;
    void* m_keyPressureContext = nullptr;
    ChannelPressureCallback m_channelPressureCallback = nullptr;
    void* m_channelPressureContext = nullptr;
    bool m_fineModeActive = false;
    int m_fineAnchorY = 0;
    unsigned char m_pressedNote = NoKey;
    bool m_pressedNoteIsWhite = false;
    bool m_pressureDragging = false;
};
