// The main window's status bar text about the inputs, updated every tick:
// for each input the messages per second (over the last second) and the
// messages lost since the last Clear All MIDI Monitors, and what the MIDI
// service reported since then, each when it reported any (messages it lost
// without knowing the input, input overruns, skipped cycles, xruns):
//   "In 1: 1200 msg/s, 0 lost   In 2: 0 msg/s, 0 lost   Skipped cycles: 3"
// User-interface thread.
#pragma once

#include <QElapsedTimer>
#include <QLabel>

#include "TrafficCounts.h"

class TrafficStatus : public QLabel {
    Q_OBJECT

public:
    explicit TrafficStatus(QWidget* parent = nullptr);

    void show(const TrafficCounts& counts);
    // Losses count from here on.
    void resetLosses();

private:
    void updateText();

    TrafficCounts m_last;
    TrafficCounts m_cleared;           // the counts at the last Clear
    TrafficCounts m_atSecond;          // the counts a second ago
    QElapsedTimer m_second;
    uint64_t m_rates[2] = {0, 0};
};
