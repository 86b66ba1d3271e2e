#include "ThruRouter.h"

#include <cstring>

#include "MidiAnalyzer.h"
#include "MidiClient.h"
#include "MidiInputPort.h"
#include "MidiNameTables.h"
#include "MidiOutputPort.h"

namespace {

bool sameRoutes(const std::vector<ThruRoute>& a, const std::vector<ThruRoute>& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); i++) {
        if (a[i].source != b[i].source || a[i].destination != b[i].destination || a[i].tag != b[i].tag ||
            a[i].on != b[i].on || a[i].parsed != b[i].parsed ||
            std::memcmp(&a[i].filter, &b[i].filter, sizeof(midilib_filter)) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

ThruRouter::ThruRouter(MidiClient& client, MidiInputPort* const (&inputs)[2], MidiOutputPort* const (&outputs)[2],
                       MidiAnalyzer& analyzer)
    : m_client(client), m_inputs{inputs[0], inputs[1]}, m_outputs{outputs[0], outputs[1]}, m_analyzer(analyzer)
{
}

void ThruRouter::listen()
{
    // Asked for at the first update: the services may still be opening when
    // the router is made.
    m_services = m_client.services();
    m_published.resize(m_services.size());
    for (MidiService* service : m_services) {
        service->setThruListener([this](const ThruReport& report) { reported(report); });
    }
    m_listening = true;
}

ThruRouter::~ThruRouter()
{
    for (MidiService* service : m_services) {
        service->setThruRoutes({});
        service->setThruListener(nullptr);
    }
}

void ThruRouter::update()
{
    if (!m_listening) {
        listen();
    }
    std::vector<std::vector<ThruRoute>> routes(m_services.size());
    int serviceOf[2] = {-1, -1};
    for (unsigned int group = 0; group < 2; group++) {
        const MidiInputPort* input = m_inputs[group];
        const MidiOutputPort::Destination output = m_outputs[group]->destination();
        if (!input->connectedService() || input->connectedService() != output.service) {
            continue;
        }
        for (size_t index = 0; index < m_services.size(); index++) {
            if (m_services[index] == output.service) {
                ThruRoute route = m_analyzer.thruRoute(group);
                route.source = input->portUniqueId();
                route.destination = output.id;
                route.tag = static_cast<int>(group);
                routes[index].push_back(route);
                serviceOf[group] = static_cast<int>(index);
            }
        }
    }
    bool taken[2] = {false, false};
    for (size_t index = 0; index < m_services.size(); index++) {
        bool takes = true;  // unchanged: what was published was taken
        if (!sameRoutes(routes[index], m_published[index])) {
            takes = m_services[index]->setThruRoutes(routes[index]);
            m_published[index] = takes ? routes[index] : std::vector<ThruRoute>();
        }
        for (unsigned int group = 0; group < 2; group++) {
            if (serviceOf[group] == static_cast<int>(index)) {
                taken[group] = takes;
            }
        }
    }
    for (unsigned int group = 0; group < 2; group++) {
        m_byService[group] = taken[group];
    }
}

void ThruRouter::reported(const ThruReport& report)
{
    if (report.tag < 0 || report.tag > 1) {
        return;
    }
    (report.refused ? m_refused : m_passed).fetch_add(1, std::memory_order_relaxed);
    if (report.refused) {
        m_analyzer.sayThruRefused(report.length, report.largest);
        return;
    }
    const auto group = static_cast<OutputPortGroup>(report.tag);
    const unsigned int timeStamp = m_outputs[group]->timeStampOf(report.hostTime);
    m_analyzer.setTransmittedMidiData(report.data, report.length, timeStamp,
                                      report.parsed ? report.type : MessageTypeNotParsed, group);
}
