// A text view's scroll bar that repaints once per append, and only when what
// it shows has moved. An append that trims the first lines of a full
// monitor changes the range twice and ends where it began: the bar (and, as
// it is not opaque, the widgets under it) would repaint for nothing, on
// every monitor tick. Between hold() and release() a change repaints
// nothing; release() compares range, page step and slider position with those
// at hold() and repaints when any differs. Changes outside a hold repaint as
// in any scroll bar. User-interface thread.
#pragma once

#include <QScrollBar>

class SettledScrollBar : public QScrollBar {
    Q_OBJECT

public:
    explicit SettledScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    void hold();
    void release();

protected:
    void sliderChange(SliderChange change) override;

private:
    struct Shown {
        int minimum = 0;
        int maximum = 0;
        int pageStep = 0;
        int position = 0;

        bool operator==(const Shown& other) const
        {
            return minimum == other.minimum && maximum == other.maximum && pageStep == other.pageStep &&
                   position == other.position;
        }
    };

    Shown shown() const;

    bool m_held = false;
    Shown m_atHold;
};
