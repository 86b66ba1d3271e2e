#include "MidiBulkIntervalManager.h"

#include <QElapsedTimer>
#include <QThread>

#include "OstrelModel.h"

namespace {
constexpr qint64 SpinMilliseconds = 2;
}

MidiBulkIntervalManager::MidiBulkIntervalManager(OstrelModel* model)
    : m_model(model),
      m_interval(model->getModelIntValue(ParamBulkInterval, nullptr)),
      m_enabled(model->getModelIntValue(ParamMessageParsed, nullptr) > 0)
{
    m_model->registerModelAssistant(this);
}

MidiBulkIntervalManager::~MidiBulkIntervalManager()
{
    m_model->unregisterModelAssistant(this);
}

void MidiBulkIntervalManager::waitBulkBeforeTransmission(const unsigned char*, uint32_t) {}

void MidiBulkIntervalManager::waitBulkAfterTransmission(const unsigned char* data,
                                                        uint32_t length)
{
    const int interval = m_interval.load();
    if (!m_enabled.load() || !data || length == 0 || data[length - 1] != 0xF7 || interval <= 0) {
        return;
    }
    m_pauses++;
    // Slept until the last milliseconds, then spun: a sleep alone may
    // overshoot by a scheduler tick, a spin alone holds a core for a second.
    QElapsedTimer stopwatch;
    stopwatch.start();
    while (interval - stopwatch.elapsed() > SpinMilliseconds) {
        QThread::msleep(1);
    }
    while (stopwatch.elapsed() < interval) {
    }
}

void MidiBulkIntervalManager::setEnabledBulkInterval(bool enabled)
{
    m_interval = enabled ? m_model->getModelIntValue(ParamBulkInterval, nullptr) : 0;
}

void MidiBulkIntervalManager::updateParameter(unsigned int id)
{
    if (id == ParamMessageParsed) {
        m_enabled = m_model->getModelIntValue(ParamMessageParsed, nullptr) != 0;
    } else if (id == ParamBulkInterval) {
        m_interval = m_model->getModelIntValue(ParamBulkInterval, nullptr);
    }
}
