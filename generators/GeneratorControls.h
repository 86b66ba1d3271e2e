// What the generator windows share: their value records and the channel
// box every message window has. User-interface thread.
#pragma once

class QWidget;
class SpinBox;

namespace GeneratorControls {

// A control's range, start value and texts (unit may be null).
struct ValueRecord {
    int minimum;
    int maximum;
    int defaultValue;
    const char* label;
    const char* unit;
};

constexpr ValueRecord ChannelDisplayValue{1, 16, 1, "Channel", nullptr};

// A right-aligned spin box for the MIDI channel, 1 to 16, showing 1; a
// control-click brings 1 back.
SpinBox* createChannelBox(QWidget* parent = nullptr);

}  // namespace GeneratorControls
