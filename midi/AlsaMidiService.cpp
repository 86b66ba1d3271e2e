#include "AlsaMidiService.h"

#include <QHash>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "AlsaEventDecoder.h"
#include "MidiTime.h"

namespace {

constexpr int SystemClient = SND_SEQ_CLIENT_SYSTEM;
// Enough for the 256-byte events of a 16384-byte system exclusive both ways.
constexpr size_t SequencerBufferSize = 1 << 18;
constexpr unsigned int ClientPoolSize = 2000;
constexpr std::chrono::milliseconds SendTimeout{1000};
// A send due less than this ahead goes direct: the queue would add its own delay.
constexpr unsigned long long ScheduleThreshold = 200000;

bool sameAddress(const snd_seq_addr_t& a, const snd_seq_addr_t& b)
{
    return a.client == b.client && a.port == b.port;
}

}  // namespace

// alsa-lib prints its errors to stderr; ours are results and messages.
static void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

std::unique_ptr<AlsaMidiService> AlsaMidiService::create()
{
    snd_lib_error_set_handler(quietAlsa);
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0) {
        return nullptr;
    }
    snd_seq_set_client_name(seq, "Ostrel");
    snd_seq_set_output_buffer_size(seq, SequencerBufferSize);
    snd_seq_set_input_buffer_size(seq, SequencerBufferSize);
    snd_seq_set_client_pool_output(seq, ClientPoolSize);
    snd_seq_set_client_pool_input(seq, ClientPoolSize);
    const int input = snd_seq_create_simple_port(
        seq, "Ostrel In", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    const int output = snd_seq_create_simple_port(
        seq, "Ostrel Out", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_NO_EXPORT,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    const int queue = snd_seq_alloc_named_queue(seq, "Ostrel");
    const int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (input < 0 || output < 0 || queue < 0 || wake < 0) {
        if (wake >= 0) {
            close(wake);
        }
        snd_seq_close(seq);
        return nullptr;
    }
    return std::unique_ptr<AlsaMidiService>(
        new AlsaMidiService(seq, snd_seq_client_id(seq), input, output, queue, wake));
}

AlsaMidiService::AlsaMidiService(snd_seq_t* seq, int clientId, int inputPort, int outputPort,
                                 int queue, int wakeFd)
    : m_seq(seq), m_clientId(clientId), m_inputPort(inputPort), m_outputPort(outputPort),
      m_queue(queue), m_wakeFd(wakeFd)
{
    // The queue's real-time clock runs from its start; read it against the
    // host clock once to know where queue time 0 lies.
    snd_seq_start_queue(m_seq, m_queue, nullptr);
    snd_seq_drain_output(m_seq);
    m_queueOrigin = static_cast<int64_t>(getHostTimeInNanoseconds());
    snd_seq_queue_status_t* status = nullptr;
    snd_seq_queue_status_alloca(&status);
    if (snd_seq_get_queue_status(m_seq, m_queue, status) == 0) {
        const snd_seq_real_time_t* running = snd_seq_queue_status_get_real_time(status);
        m_queueOrigin = static_cast<int64_t>(getHostTimeInNanoseconds()) -
                        (static_cast<int64_t>(running->tv_sec) * 1000000000 + running->tv_nsec);
    }
    m_received.reserve(MaximumPacketSize);
    m_reader = std::thread([this] { readEvents(); });
}

AlsaMidiService::~AlsaMidiService()
{
    m_stop = true;
    const uint64_t one = 1;
    if (write(m_wakeFd, &one, sizeof(one)) != sizeof(one)) {
        // The reader also wakes on its poll time-out.
    }
    m_reader.join();
    snd_seq_close(m_seq);
    close(m_wakeFd);
}

QString AlsaMidiService::serviceName() const
{
    return QStringLiteral("ALSA");
}

QList<MidiEndpoint> AlsaMidiService::list(unsigned int capabilities, MIDI_RESULT* result)
{
    QList<MidiEndpoint> endpoints;
    std::map<int32_t, snd_seq_addr_t> addresses;
    QHash<QString, int> occurrences;
    {
        std::lock_guard<std::mutex> lock(m_seqMutex);
        snd_seq_client_info_t* client = nullptr;
        snd_seq_port_info_t* port = nullptr;
        snd_seq_client_info_alloca(&client);
        snd_seq_port_info_alloca(&port);
        snd_seq_client_info_set_client(client, -1);
        while (snd_seq_query_next_client(m_seq, client) >= 0) {
            const int clientId = snd_seq_client_info_get_client(client);
            if (clientId == SystemClient || clientId == m_clientId) {
                continue;
            }
            snd_seq_port_info_set_client(port, clientId);
            snd_seq_port_info_set_port(port, -1);
            while (snd_seq_query_next_port(m_seq, port) >= 0) {
                const unsigned int caps = snd_seq_port_info_get_capability(port);
                if ((caps & capabilities) != capabilities || (caps & SND_SEQ_PORT_CAP_NO_EXPORT)) {
                    continue;
                }
                MidiEndpoint endpoint;
                endpoint.portName = QString::fromUtf8(snd_seq_port_info_get_name(port));
                endpoint.name = QString::fromUtf8(snd_seq_client_info_get_name(client)) +
                                QLatin1Char(':') + endpoint.portName;
                endpoint.uniqueId =
                    makeUniqueId(serviceName(), endpoint.name, occurrences[endpoint.name]++);
                addresses[endpoint.uniqueId] = *snd_seq_port_info_get_addr(port);
                endpoints.append(endpoint);
            }
        }
    }
    const bool sources = capabilities & SND_SEQ_PORT_CAP_READ;
    std::lock_guard<std::mutex> lock(m_endpointsMutex);
    (sources ? m_sourceAddresses : m_destinationAddresses) = std::move(addresses);
    setMidiResult(result, MIDI_RESULT_SUCCESS);
    return endpoints;
}

QList<MidiEndpoint> AlsaMidiService::sources(MIDI_RESULT* result)
{
    return list(SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ, result);
}

QList<MidiEndpoint> AlsaMidiService::destinations(MIDI_RESULT* result)
{
    return list(SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE, result);
}

bool AlsaMidiService::addressOf(int32_t uniqueId, bool source, snd_seq_addr_t& address)
{
    for (int attempt = 0; attempt < 2; attempt++) {
        {
            std::lock_guard<std::mutex> lock(m_endpointsMutex);
            const auto& addresses = source ? m_sourceAddresses : m_destinationAddresses;
            const auto found = addresses.find(uniqueId);
            if (found != addresses.end()) {
                address = found->second;
                return true;
            }
        }
        // Not listed since it appeared: list once more.
        source ? sources(nullptr) : destinations(nullptr);
    }
    return false;
}

MIDI_RESULT AlsaMidiService::connectSource(int32_t uniqueId, MidiServiceReceiver* receiver)
{
    snd_seq_addr_t address{};
    if (!receiver || !addressOf(uniqueId, true, address)) {
        return MIDI_RESULT_ERROR;
    }
    std::lock_guard<std::mutex> receiversLock(m_receiversMutex);
    bool subscribed = false;
    for (const Subscriber& subscriber : m_subscribers) {
        subscribed = subscribed || sameAddress(subscriber.source, address);
    }
    if (!subscribed) {
        std::lock_guard<std::mutex> lock(m_seqMutex);
        if (snd_seq_connect_from(m_seq, m_inputPort, address.client, address.port) < 0) {
            return MIDI_RESULT_ERROR;
        }
    }
    m_subscribers.push_back({address, uniqueId, receiver});
    return MIDI_RESULT_SUCCESS;
}

MIDI_RESULT AlsaMidiService::disconnectSource(int32_t uniqueId, MidiServiceReceiver* receiver)
{
    std::unique_lock<std::mutex> receiversLock(m_receiversMutex);
    for (auto it = m_subscribers.begin(); it != m_subscribers.end(); ++it) {
        if (it->uniqueId != uniqueId || it->receiver != receiver) {
            continue;
        }
        const snd_seq_addr_t address = it->source;
        m_subscribers.erase(it);
        // A delivery that copied the table before the removal may still call it.
        const unsigned long long begun = m_deliveriesBegun;
        m_deliveryEnded.wait(receiversLock, [this, begun] { return m_deliveriesEnded >= begun; });
        for (const Subscriber& other : m_subscribers) {
            if (sameAddress(other.source, address)) {
                return MIDI_RESULT_SUCCESS;
            }
        }
        std::lock_guard<std::mutex> lock(m_seqMutex);
        // Fails when the source has gone, which also ended the subscription.
        return snd_seq_disconnect_from(m_seq, m_inputPort, address.client, address.port) < 0
                   ? MIDI_RESULT_ERROR
                   : MIDI_RESULT_SUCCESS;
    }
    return MIDI_RESULT_ERROR;
}

MIDI_RESULT AlsaMidiService::connectDestination(int32_t uniqueId)
{
    snd_seq_addr_t address{};
    return addressOf(uniqueId, false, address) ? MIDI_RESULT_SUCCESS : MIDI_RESULT_ERROR;
}

void AlsaMidiService::disconnectDestination(int32_t uniqueId)
{
    std::lock_guard<std::mutex> lock(m_destinationsMutex);
    m_destinations.erase(uniqueId);
}

std::shared_ptr<AlsaMidiService::Destination> AlsaMidiService::destination(int32_t uniqueId)
{
    std::lock_guard<std::mutex> lock(m_destinationsMutex);
    std::shared_ptr<Destination>& found = m_destinations[uniqueId];
    if (!found) {
        found = std::make_shared<Destination>();
    }
    return found;
}

bool AlsaMidiService::flushOutput(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    snd_seq_queue_status_t* status = nullptr;
    snd_seq_queue_status_alloca(&status);
    for (;;) {
        int waiting = 0;
        {
            std::lock_guard<std::mutex> lock(m_seqMutex);
            snd_seq_drain_output(m_seq);
            if (snd_seq_get_queue_status(m_seq, m_queue, status) == 0) {
                waiting = snd_seq_queue_status_get_events(status);
            }
        }
        if (waiting == 0) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

MIDI_RESULT AlsaMidiService::outputEvent(snd_seq_event_t& event)
{
    const auto deadline = std::chrono::steady_clock::now() + SendTimeout;
    for (;;) {
        int written = 0;
        {
            std::lock_guard<std::mutex> lock(m_seqMutex);
            written = snd_seq_event_output_direct(m_seq, &event);
        }
        if (written >= 0) {
            return MIDI_RESULT_SUCCESS;
        }
        if (written != -EAGAIN || std::chrono::steady_clock::now() > deadline) {
            return MIDI_RESULT_ERROR;
        }
        // The kernel pool is full until the destination drains: wait a little.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void AlsaMidiService::setSchedule(snd_seq_event_t& event, unsigned long long due,
                                  unsigned long long now) const
{
    if (due <= now + ScheduleThreshold) {
        snd_seq_ev_set_direct(&event);
        return;
    }
    const int64_t queueTime = std::max<int64_t>(0, static_cast<int64_t>(due) - m_queueOrigin);
    snd_seq_real_time_t time{static_cast<unsigned int>(queueTime / 1000000000),
                             static_cast<unsigned int>(queueTime % 1000000000)};
    snd_seq_ev_schedule_real(&event, m_queue, 0, &time);
}

MIDI_RESULT AlsaMidiService::send(int32_t uniqueId, const unsigned char* data,
                                  uint32_t length, unsigned long long hostTime)
{
    snd_seq_addr_t address{};
    if (!addressOf(uniqueId, false, address)) {
        return MIDI_RESULT_ERROR;
    }
    const std::shared_ptr<Destination> target = destination(uniqueId);
    const unsigned long long now = getHostTimeInNanoseconds();
    std::lock_guard<std::mutex> lock(target->mutex);
    // Never before a message sent earlier that still waits in the queue.
    const unsigned long long due = std::max(std::min(hostTime, now + LongestSchedule), target->lastDue);
    target->lastDue = due;
    target->events.clear();
    target->encoder.encode(data, length, target->events);
    for (snd_seq_event_t& event : target->events) {
        snd_seq_ev_set_source(&event, m_outputPort);
        snd_seq_ev_set_dest(&event, address.client, address.port);
        setSchedule(event, due, now);
        if (outputEvent(event) != MIDI_RESULT_SUCCESS) {
            return MIDI_RESULT_ERROR;
        }
    }
    return MIDI_RESULT_SUCCESS;
}

void AlsaMidiService::readEvents()
{
    std::vector<pollfd> fds;
    {
        std::lock_guard<std::mutex> lock(m_seqMutex);
        const int count = snd_seq_poll_descriptors_count(m_seq, POLLIN);
        fds.resize(static_cast<size_t>(count) + 1);
        snd_seq_poll_descriptors(m_seq, fds.data() + 1, static_cast<unsigned int>(count), POLLIN);
    }
    fds[0] = {m_wakeFd, POLLIN, 0};
    while (!m_stop) {
        if (poll(fds.data(), fds.size(), 500) < 0 && errno != EINTR) {
            return;
        }
        for (;;) {
            snd_seq_event_t* event = nullptr;
            int received = 0;
            {
                std::lock_guard<std::mutex> lock(m_seqMutex);
                received = snd_seq_event_input(m_seq, &event);
            }
            if (received == -ENOSPC) {
                m_overruns.fetch_add(1, std::memory_order_relaxed);
                lossHappened();
                continue;  // overrun reported; the events after it still come
            }
            if (received < 0 || !event) {
                break;
            }
            // The event stays valid until the next input call, made only here.
            deliver(*event);
        }
    }
}

void AlsaMidiService::deliver(const snd_seq_event_t& event)
{
    const unsigned long long hostTime = getHostTimeInNanoseconds();
    m_received.clear();
    if (AlsaEventDecoder::decode(event, m_received) == 0) {
        return;
    }
    m_deliveryTargets.clear();
    {
        std::lock_guard<std::mutex> lock(m_receiversMutex);
        for (const Subscriber& subscriber : m_subscribers) {
            if (sameAddress(subscriber.source, event.source)) {
                m_deliveryTargets.push_back(subscriber.receiver);
            }
        }
        if (m_deliveryTargets.empty()) {
            return;
        }
        m_deliveriesBegun++;
    }
    for (MidiServiceReceiver* receiver : m_deliveryTargets) {
        // Sysex events from other clients may exceed a packet: split them.
        for (size_t at = 0; at < m_received.size(); at += MaximumPacketSize) {
            const size_t size = std::min<size_t>(MaximumPacketSize, m_received.size() - at);
            receiver->receivedPacket(m_received.data() + at, static_cast<unsigned short>(size), hostTime, false);
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_receiversMutex);
        m_deliveriesEnded = m_deliveriesBegun;
    }
    m_deliveryEnded.notify_all();
}
