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
    // The service's own reports, each once it has something to say.
    const struct {
        uint64_t count;
        const char* label;
    } reports[] = {
        {m_last.lostOnArrival - m_cleared.lostOnArrival, "Lost on arrival: %1   "},
        {m_last.overruns - m_cleared.overruns, "Input overruns: %1   "},
        {m_last.skippedCycles - m_cleared.skippedCycles, "Skipped cycles: %1   "},
        {m_last.xruns - m_cleared.xruns, "Xruns: %1   "},
    };
    for (const auto& report : reports) {
        if (report.count > 0) {
            text += tr(report.label).arg(report.count);
        }
    }
    setText(text.trimmed());
}
