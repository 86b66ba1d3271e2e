#include "TrafficStatus.h"

TrafficStatus::TrafficStatus(QWidget* parent) : QLabel(parent)
{
    m_second.start();
    updateText();
}

void TrafficStatus::show(const TrafficCounts& counts)
{
    m_last = counts;
    const qint64 elapsed = m_second.elapsed();
    if (elapsed >= 1000) {
        for (int port = 0; port < 2; port++) {
            m_rates[port] = (counts.messages[port] - m_atSecond.messages[port]) * 1000u / static_cast<uint64_t>(elapsed);
        }
        m_atSecond = counts;
        m_second.restart();
    }
    updateText();
}

void TrafficStatus::resetLosses()
{
    m_cleared = m_last;
    updateText();
}

void TrafficStatus::updateText()
{
    QString text;
    for (int port = 0; port < 2; port++) {
        text += tr("In %1: %2 msg/s, %3 lost   ")
                    .arg(port + 1)
                    .arg(m_rates[port])
                    .arg(m_last.lost[port] - m_cleared.lost[port]);
    }
    const uint64_t onArrival = m_last.lostOnArrival - m_cleared.lostOnArrival;
    if (onArrival > 0) {
        text += tr("Lost on arrival: %1").arg(onArrival);
    }
    setText(text.trimmed());
}
