#include "MidiClient.h"

#include "AlsaMidiService.h"
#include "JackMidiService.h"
#include "LoopbackMidiService.h"

namespace {

std::unique_ptr<MidiService> systemService(MidiApi api)
{
    if (api != MidiApi::Jack) {
        if (auto alsa = AlsaMidiService::create()) {
            return alsa;
        }
        if (api == MidiApi::Alsa) {
            return nullptr;
        }
    }
    return JackMidiService::create();
}

}  // namespace

bool MidiClient::apiNamed(const QString& name, MidiApi& api)
{
    if (name == QLatin1String("alsa")) {
        api = MidiApi::Alsa;
    } else if (name == QLatin1String("jack")) {
        api = MidiApi::Jack;
    } else {
        return false;
    }
    return true;
}

bool MidiClient::flushOutput(int timeoutMs) const
{
    bool flushed = true;
    for (MidiService* service : services()) {
        flushed = service->flushOutput(timeoutMs) && flushed;
    }
    return flushed;
}

MidiClient::MidiClient(MidiApi api)
    // Opening the system's service (a round trip to a JACK server) goes on
    // while the caller builds its windows.
    : m_system(std::async(std::launch::async, systemService, api))
{
    m_services.push_back(std::make_unique<LoopbackMidiService>());
}

MidiClient::MidiClient(std::vector<std::unique_ptr<MidiService>> services)
    : m_services(std::move(services))
{
}

MidiClient::~MidiClient()
{
    ready();
}

void MidiClient::ready() const
{
    std::call_once(m_readyOnce, [this] {
        if (m_system.valid()) {
            if (auto system = m_system.get()) {
                m_services.insert(m_services.begin(), std::move(system));
            }
        }
        for (const auto& service : m_services) {
            if (service->serviceName() != QLatin1String("Loopback")) {
                m_systemServiceName = service->serviceName();
                break;
            }
        }
    });
}

QString MidiClient::systemServiceName() const
{
    ready();
    return m_systemServiceName;
}

QList<MidiClient::Endpoint> MidiClient::collect(bool sources, MIDI_RESULT* result) const
{
    ready();
    QList<Endpoint> endpoints;
    MIDI_RESULT overall = MIDI_RESULT_SUCCESS;
    for (const auto& service : m_services) {
        MIDI_RESULT listed = MIDI_RESULT_SUCCESS;
        const QList<MidiEndpoint> found =
            sources ? service->sources(&listed) : service->destinations(&listed);
        if (listed != MIDI_RESULT_SUCCESS) {
            overall = MIDI_RESULT_ERROR;
        }
        for (const MidiEndpoint& endpoint : found) {
            endpoints.append({service.get(), endpoint});
        }
    }
    setMidiResult(result, overall);
    return endpoints;
}

QList<MidiClient::Endpoint> MidiClient::sources(MIDI_RESULT* result) const
{
    return collect(true, result);
}

QList<MidiClient::Endpoint> MidiClient::destinations(MIDI_RESULT* result) const
{
    return collect(false, result);
}

void MidiClient::setLossListener(const std::function<void()>& listener)
{
    ready();
    for (const auto& service : m_services) {
        service->setLossListener(listener);
    }
}

uint64_t MidiClient::sum(uint64_t (MidiService::*count)() const) const
{
    ready();
    uint64_t total = 0;
    for (const auto& service : m_services) {
        total += (service.get()->*count)();
    }
    return total;
}

std::vector<MidiService*> MidiClient::services() const
{
    ready();
    std::vector<MidiService*> services;
    for (const auto& service : m_services) {
        services.push_back(service.get());
    }
    return services;
}
