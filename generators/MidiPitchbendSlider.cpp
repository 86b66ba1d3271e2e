#include "MidiPitchbendSlider.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>

namespace {

const QColor KnobBottomColor(195, 195, 195);
constexpr qreal KnobRadius = 10;
constexpr int PageStep = 10;

}  // namespace

MidiPitchbendSlider::MidiPitchbendSlider(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
}

int MidiPitchbendSlider::clamped(int value) const
{
    return std::clamp(value, m_minimum, m_maximum);
}

void MidiPitchbendSlider::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    setValue(m_value);
}

void MidiPitchbendSlider::setValue(int value)
{
    const int next = clamped(value);
    update();
    if (next == m_value) {
        return;
    }
    m_value = next;
    Q_EMIT valueChanged(m_value);
}

void MidiPitchbendSlider::setWheelMode(WheelMode mode)
{
    m_wheelMode = mode;
    if (mode == SpringBack) {
        setValue(m_centreValue);
    }
}

double MidiPitchbendSlider::scale() const
{
    const int track = height() - 2 * TrackMargin;
    return track > 0 ? static_cast<double>(m_maximum - m_minimum) / track : 0.0;
}

int MidiPitchbendSlider::convertMousePointToValue(const QPoint& point) const
{
    return clamped(qRound(scale() * (height() - TrackMargin - point.y())));
}

void MidiPitchbendSlider::mousePressEvent(QMouseEvent* event)
{
    setValue(event->modifiers() & Qt::ControlModifier ? m_centreValue : convertMousePointToValue(event->pos()));
}

void MidiPitchbendSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton) {
        setValue(convertMousePointToValue(event->pos()));
    }
}

void MidiPitchbendSlider::mouseReleaseEvent(QMouseEvent*)
{
    if (m_wheelMode == SpringBack) {
        setValue(m_centreValue);
    }
}

void MidiPitchbendSlider::keyPressEvent(QKeyEvent* event)
{
    if (m_wheelMode != Stay) {
        return;
    }
    switch (event->key()) {
    case Qt::Key_Home:
        setValue(m_maximum);
        break;
    case Qt::Key_End:
        setValue(m_minimum);
        break;
    case Qt::Key_Up:
    case Qt::Key_Plus:
        setValue(m_value + 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Minus:
        setValue(m_value - 1);
        break;
    case Qt::Key_PageUp:
        setValue(m_value + PageStep);
        break;
    case Qt::Key_PageDown:
        setValue(m_value - PageStep);
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

void MidiPitchbendSlider::wheelEvent(QWheelEvent* event)
{
    event->accept();  // the wheel never bends
}

void MidiPitchbendSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int middle = qRound(width() / 2.0);
    painter.setPen(Qt::gray);
    painter.drawLine(middle, 0, middle, height());
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width() - 2, height() - 2);
    painter.setRenderHint(QPainter::Antialiasing);
    const int travel = height() - KnobHeight;
    const int range = std::max(m_maximum - m_minimum, 1);
    const int top = qRound(travel - static_cast<double>(m_value) * travel / range);
    const QRectF knob(qRound(middle / 2.0), top, middle, KnobHeight);
    QLinearGradient gradient(knob.topLeft(), knob.bottomLeft());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, KnobBottomColor);
    QPainterPath path;
    path.addRoundedRect(knob, KnobRadius, KnobRadius);
    painter.fillPath(path, gradient);
    painter.drawPath(path);
}
