#include "SettledScrollBar.h"

SettledScrollBar::SettledScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent)
{
}

void SettledScrollBar::hold()
{
    if (!m_held) {
        m_held = true;
        m_atHold = shown();
    }
}

void SettledScrollBar::release()
{
    if (!m_held) {
        return;
    }
    m_held = false;
    if (!(shown() == m_atHold)) {
        QScrollBar::sliderChange(SliderValueChange);
    }
}

void SettledScrollBar::sliderChange(SliderChange change)
{
    if (m_held) {
        return;
    }
    QScrollBar::sliderChange(change);
}

SettledScrollBar::Shown SettledScrollBar::shown() const
{
    Shown state;
    state.minimum = minimum();
    state.maximum = maximum();
    state.pageStep = pageStep();
    state.position = sliderPosition();
    return state;
}
