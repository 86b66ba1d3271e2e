#include "CliFeed.h"

#include <QTimer>

#include "CliSession.h"

CliFeed::CliFeed(CliSession* session, bool recording, Handler handler)
    : m_session(session), m_handler(std::move(handler)), m_timer(new QTimer(this))
{
    m_session->analyzer()->setRecording(recording);
    connect(m_timer, &QTimer::timeout, this, &CliFeed::tick);
    m_timer->start(TickMilliseconds);
}

CliFeed::~CliFeed()
{
    m_session->analyzer()->setRecording(false);
}

void CliFeed::tick()
{
    m_tick.lossLines = m_lossLines.since(m_session->counts());
    QByteArray transmitted;
    unsigned int receivedCount = 0, sysExCount = 0, transmittedCount = 0;
    m_session->analyzer()->getMidiData(m_tick.received, receivedCount, m_tick.sysEx, sysExCount, transmitted,
                                       transmittedCount);
    m_session->analyzer()->takeRecording(m_tick.recording);
    m_handler(m_tick);
}
