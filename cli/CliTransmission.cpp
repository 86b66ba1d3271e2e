#include "CliTransmission.h"

#include "CliSession.h"
#include "MidiEditTransmittionThread.h"

CliTransmission::CliTransmission(CliSession* session)
    : m_thread(std::make_unique<MidiEditTransmittionThread>(session->model(), session->sender()))
{
    connect(m_thread.get(), &MidiEditTransmittionThread::transmittionError, this,
            [this](const QString& text) { m_error = text; });
    connect(m_thread.get(), &MidiEditTransmittionThread::finishTransmittion, this, [this](qint32 result) {
        m_finished = true;
        m_succeeded = result == MidiEditTransmittionThread::Processed;
        if (!m_succeeded && m_error.isEmpty()) {
            m_error = result == MidiEditTransmittionThread::Stopped ? QStringLiteral("stopped before everything was sent")
                                                                    : QStringLiteral("the output port refused a message");
        }
        Q_EMIT finished();
    });
    m_thread->start();
}

CliTransmission::~CliTransmission()
{
    m_thread->stopTransmittion();
    m_thread.reset();  // joins
}

void CliTransmission::start(const QString& text)
{
    m_finished = false;
    m_succeeded = false;
    m_error.clear();
    m_thread->setTransmittionMessage(text);
}

void CliTransmission::stop()
{
    m_thread->stopTransmittion();
}
