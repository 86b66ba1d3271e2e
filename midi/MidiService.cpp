#include "MidiService.h"

#include <QByteArray>

void MidiService::setLossListener(std::function<void()> listener)
{
    std::lock_guard<std::mutex> lock(m_lossListenerMutex);
    m_lossListener = std::move(listener);
}

void MidiService::lossHappened()
{
    std::lock_guard<std::mutex> lock(m_lossListenerMutex);
    if (m_lossListener) {
        m_lossListener();
    }
}

void MidiService::setThruListener(std::function<void(const ThruReport&)> listener)
{
    std::lock_guard<std::mutex> lock(m_thruListenerMutex);
    m_thruListener = std::move(listener);
}

void MidiService::thruReported(const ThruReport& report)
{
    std::lock_guard<std::mutex> lock(m_thruListenerMutex);
    if (m_thruListener) {
        m_thruListener(report);
    }
}

int32_t MidiService::makeUniqueId(const QString& service, const QString& name, int occurrence)
{
    // FNV-1a: the same names give the same id on every machine and run.
    const QByteArray key =
        (service + QLatin1Char('\n') + name + QLatin1Char('\n') + QString::number(occurrence))
            .toUtf8();
    uint32_t hash = 2166136261u;
    for (const char c : key) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    const int32_t id = static_cast<int32_t>(hash);
    return id == InvalidPortId ? id - 1 : id;
}
