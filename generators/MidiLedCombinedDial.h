// A knob with a lamp in the gap at the bottom of its track: lit on demand,
// by default for a flash of 100 ms. The timing clock and active sensing
// windows flash it with their beat. User-interface thread.
#pragma once

#include <QColor>

#include "Dial.h"

class QTimer;

class MidiLedCombinedDial : public Dial {
    Q_OBJECT

public:
    static constexpr int DefaultFlashLength = 100;  // ms

    explicit MidiLedCombinedDial(QWidget* parent = nullptr);

    void setLedOn(bool on);
    void setLedColors(const QColor& on, const QColor& off);
    void setFlashLength(int milliseconds) { m_flashLength = milliseconds; }
    void setAutomaticOff(bool automatic) { m_automaticOff = automatic; }
    bool isLit() const { return m_lit; }
    // Times lit since creation (a flash counts once).
    int flashCount() const { return m_flashCount; }

public Q_SLOTS:
    void ledOn();
    void ledOff();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateLamp();

    QTimer* m_timer;
    QColor m_onColor{Qt::white};
    QColor m_offColor{Qt::black};
    bool m_lit = false;
    int m_flashLength = DefaultFlashLength;
    bool m_automaticOff = true;
    int m_flashCount = 0;
};
