// The control strip above the keyboard: channel, note-on velocity and the
// pressure (aftertouch) mode. The boxes are not bound to parameters; a
// control-click restores their defaults (channel 1, velocity 64).
// User-interface thread.
#pragma once

#include <QWidget>

#include "GeneratorControls.h"

class QComboBox;
class SpinBox;

class MidiKeyboardUpperView : public QWidget {
    Q_OBJECT

public:
    static constexpr GeneratorControls::ValueRecord VelocityValue{0, 127, 64, "Velocity", nullptr};
    static const char* const KeyboardPressureNameList[3];
    // Wide enough for the pressure choice, which ends at x = 437.
    static constexpr QSize FixedSize{445, 40};

    explicit MidiKeyboardUpperView(QWidget* parent = nullptr);

    unsigned char getChannel() const;  // 0-based
    unsigned char getVelocity() const;
    unsigned char getPressureIndex() const;

    SpinBox* channelBox() const { return m_channel; }
    SpinBox* velocityBox() const { return m_velocity; }
    QComboBox* pressureChoice() const { return m_pressure; }

private:
    SpinBox* m_channel;
    SpinBox* m_velocity;
    QComboBox* m_pressure;
};
