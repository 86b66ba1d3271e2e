#include "MidiTimingClockPlayStopButton.h"

#include <QPainter>

MidiTimingClockPlayStopButton::MidiTimingClockPlayStopButton(QWidget* parent) : QPushButton(parent)
{
    setCheckable(true);
}

void MidiTimingClockPlayStopButton::setFrameSize(int width, int height)
{
    m_frameWidth = width;
    m_frameHeight = height;
    update();
}

int MidiTimingClockPlayStopButton::getPixmapNumber() const
{
    return (isChecked() ? 2 : 0) + (isDown() ? 1 : 0);
}

void MidiTimingClockPlayStopButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    if (m_pixmap.isNull() || m_frameWidth <= 0 || m_frameHeight <= 0) {
        return;
    }
    const int frame = m_pixmap.width() / 4;  // device pixels
    const QPixmap picture = m_pixmap.copy(getPixmapNumber() * frame, 0, frame, m_pixmap.height());
    const QRect target((width() - m_frameWidth) / 2, (height() - m_frameHeight) / 2, m_frameWidth, m_frameHeight);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, picture);
}
