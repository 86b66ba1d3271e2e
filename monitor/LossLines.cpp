#include "LossLines.h"

QString LossLines::since(const TrafficCounts& now)
{
    QString lines;
    if (now.totalLost() > m_said.totalLost()) {
        lines += QStringLiteral("\n-- %1 messages lost --").arg(now.totalLost() - m_said.totalLost());
    }
    if (now.overruns > m_said.overruns) {
        const uint64_t count = now.overruns - m_said.overruns;
        lines += count == 1 ? QStringLiteral("\n-- ALSA sequencer input overrun: messages were lost --")
                            : QStringLiteral("\n-- %1 ALSA sequencer input overruns: messages were lost --").arg(count);
    }
    if (now.skippedCycles > m_said.skippedCycles) {
        const uint64_t count = now.skippedCycles - m_said.skippedCycles;
        lines += QStringLiteral("\n-- JACK skipped %1 %2: input in them may be lost --")
                     .arg(count)
                     .arg(count == 1 ? QStringLiteral("cycle") : QStringLiteral("cycles"));
    }
    if (now.xruns > m_said.xruns) {
        const uint64_t count = now.xruns - m_said.xruns;
        lines += count == 1 ? QStringLiteral("\n-- JACK xrun: input may be late or lost --")
                            : QStringLiteral("\n-- %1 JACK xruns: input may be late or lost --").arg(count);
    }
    m_said = now;
    return lines;
}
