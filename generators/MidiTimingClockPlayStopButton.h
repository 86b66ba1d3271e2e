// The play/stop button: a strip of four pictures (stopped, stopped and
// pressed, playing, playing and pressed) drawn centred over the button.
// User-interface thread.
#pragma once

#include <QPixmap>
#include <QPushButton>

class MidiTimingClockPlayStopButton : public QPushButton {
    Q_OBJECT

public:
    explicit MidiTimingClockPlayStopButton(QWidget* parent = nullptr);

    void setPixmap(const QPixmap& strip) { m_pixmap = strip; update(); }
    void setFrameSize(int width, int height);
    // 0 stopped, 1 stopped and pressed, 2 playing, 3 playing and pressed.
    int getPixmapNumber() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pixmap;
    int m_frameWidth = -1;
    int m_frameHeight = -1;
};
