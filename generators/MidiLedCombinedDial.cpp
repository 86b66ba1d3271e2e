#include "MidiLedCombinedDial.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>

namespace {

// The gap at the bottom of the track, in sixteenths of a degree.
constexpr int LedStartAngle = 240 * 16;
constexpr int LedSpanAngle = 61 * 16;

}  // namespace

MidiLedCombinedDial::MidiLedCombinedDial(QWidget* parent) : Dial(parent), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &MidiLedCombinedDial::ledOff);
}

void MidiLedCombinedDial::setLedColors(const QColor& on, const QColor& off)
{
    m_onColor = on;
    m_offColor = off;
    update();
}

void MidiLedCombinedDial::ledOn()
{
    if (m_lit) {
        return;
    }
    m_lit = true;
    m_flashCount++;
    updateLamp();
    if (m_automaticOff) {
        m_timer->start(m_flashLength);
    }
}

void MidiLedCombinedDial::ledOff()
{
    m_lit = false;
    updateLamp();
}

void MidiLedCombinedDial::updateLamp()
{
    // Only the lamp changes: the knob and its track are repainted under the
    // lamp's sector alone (a beat at 300 BPM blinks ten times a second).
    QPainterPath sector;
    const QRectF track = trackRect();
    sector.moveTo(track.center());
    sector.arcTo(track, LedStartAngle / 16.0, LedSpanAngle / 16.0);
    sector.closeSubpath();
    update(sector.boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2));
}

void MidiLedCombinedDial::setLedOn(bool on)
{
    if (on) {
        ledOn();
    } else {
        ledOff();
    }
}

void MidiLedCombinedDial::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_lit ? m_onColor : m_offColor);
        painter.drawPie(trackRect(), LedStartAngle, LedSpanAngle);
    }
    Dial::paintEvent(event);
}
