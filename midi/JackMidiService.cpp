#include "JackMidiService.h"

#include <jack/midiport.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "MidiTime.h"

namespace {

constexpr size_t ReceivedRingSize = 1 << 22;
constexpr size_t OutputRingSize = 1 << 18;
constexpr std::chrono::milliseconds SendTimeout{1000};

constexpr size_t ThruEventsPerCycle = 8192;  // per output
constexpr size_t ThruBytesPerCycle = 1 << 18;

// A record in the delivery ring: this header, then size bytes: a received
// event (slot: its input slot) or a thru report (slot: the route's tag).
enum class Received : uint8_t { Event, ThruSent, ThruRefused };
struct ReceivedHeader {
    uint32_t slot;
    uint32_t size;
    jack_nframes_t frame;
    Received kind;
    uint8_t type;
    bool parsed;
    bool thruPassed;  // an Event a route of this cycle took (passed or filtered out)
};

// An event to send in an output ring: this header, then size bytes.
struct SentHeader {
    uint64_t hostTime;  // when it is due, ns
    uint32_t size;
    uint32_t unused;
};

}  // namespace

// libjack prints to stderr, even when no server runs; ours are results and messages.
static void quietJack(const char*) {}

std::unique_ptr<JackMidiService> JackMidiService::create()
{
    jack_set_error_function(quietJack);
    jack_set_info_function(quietJack);
    jack_status_t status{};
    jack_client_t* client = jack_client_open("Ostrel", JackNoStartServer, &status);
    if (!client) {
        return nullptr;
    }
    std::unique_ptr<JackMidiService> service(new JackMidiService(client));
    jack_set_process_callback(client, processCallback, service.get());
    jack_on_shutdown(client, shutdownCallback, service.get());
    jack_set_xrun_callback(client, xrunCallback, service.get());
    return service;
}

JackMidiService::JackMidiService(jack_client_t* client)
    : m_client(client),
      m_clientPrefix(QString::fromUtf8(jack_get_client_name(client)) + QLatin1Char(':')),
      m_received(jack_ringbuffer_create(ReceivedRingSize))
{
    m_sampleRate = jack_get_sample_rate(client);
    for (OutputSlot& slot : m_outputs) {
        slot.ring = jack_ringbuffer_create(OutputRingSize);
        slot.thruEvents.reserve(ThruEventsPerCycle);
        slot.thruBytes.reset(new unsigned char[ThruBytesPerCycle]);
    }
    for (InputSlot& slot : m_inputs) {
        midilib_parser_init(&slot.thru.parser);
    }
    m_thruStage = jack_ringbuffer_create(ThruJoinCapacity + 1);
    m_thruStaged.reset(new unsigned char[ThruJoinCapacity]);
    sem_init(&m_receivedReady, 0, 0);
    m_packet.reserve(MaximumPacketSize);
    m_delivery = std::thread([this] { deliverEvents(); });
}

JackMidiService::~JackMidiService()
{
    // Closing deactivates first: process() no longer runs after this.
    jack_client_close(m_client);
    m_stop = true;
    sem_post(&m_receivedReady);
    m_delivery.join();
    sem_destroy(&m_receivedReady);
    jack_ringbuffer_free(m_received);
    for (OutputSlot& slot : m_outputs) {
        jack_ringbuffer_free(slot.ring);
    }
    delete m_thru.load();
    jack_ringbuffer_free(m_thruStage);
}

QString JackMidiService::serviceName() const
{
    return QStringLiteral("JACK");
}

jack_nframes_t JackMidiService::bufferSize() const
{
    return jack_get_buffer_size(m_client);
}

jack_nframes_t JackMidiService::sampleRate() const
{
    return jack_get_sample_rate(m_client);
}

int JackMidiService::processCallback(jack_nframes_t frames, void* self)
{
    static_cast<JackMidiService*>(self)->process(frames);
    return 0;
}

void JackMidiService::shutdownCallback(void* self)
{
    auto* service = static_cast<JackMidiService*>(self);
    service->m_serverGone = true;
    sem_post(&service->m_receivedReady);
}

int JackMidiService::xrunCallback(void* self)
{
    auto* service = static_cast<JackMidiService*>(self);
    service->m_xruns.fetch_add(1, std::memory_order_relaxed);
    service->lossHappened();
    return 0;
}

bool JackMidiService::activate()
{
    if (m_active.load()) {
        return true;
    }
    // The frame time moved on while the server did not call us: no skip.
    m_restartCycles.store(true);
    if (jack_activate(m_client) != 0) {
        return false;
    }
    m_active.store(true);
    return true;
}

void JackMidiService::deactivateWhenUnused()
{
    for (const InputSlot& slot : m_inputs) {
        if (slot.port.load()) {
            return;
        }
    }
    for (const OutputSlot& slot : m_outputs) {
        if (slot.port.load()) {
            return;
        }
    }
    if (m_active.load() && jack_deactivate(m_client) == 0) {
        m_active.store(false);
    }
}

void JackMidiService::process(jack_nframes_t frames)
{
    const jack_nframes_t start = jack_last_frame_time(m_client);
    if (m_restartCycles.load(std::memory_order_relaxed) && m_restartCycles.exchange(false)) {
        m_cycleSeen = false;
    }
    if (m_cycleSeen && frames > 0) {
        // Unsigned: the frame counter may wrap; a step back (a restarted
        // server clock) is no skip.
        const jack_nframes_t gap = start - m_nextCycleFrame;
        if (gap != 0 && gap < 0x80000000u) {
            m_skippedCycles.fetch_add((gap + frames - 1) / frames, std::memory_order_relaxed);
            m_lossPending.store(true, std::memory_order_relaxed);
            sem_post(&m_receivedReady);
        }
    }
    m_nextCycleFrame = start + frames;
    m_cycleSeen = true;
    m_cycleStart = start;
    m_thruReported = false;
    readInputs(frames);
    writeOutputs(frames);
    if (m_thruReported) {
        sem_post(&m_receivedReady);
    }
    m_cycles.fetch_add(1, std::memory_order_release);
}

void JackMidiService::readInputs(jack_nframes_t frames)
{
    const jack_nframes_t cycleStart = m_cycleStart;
    const ThruTable* table = m_thru.load(std::memory_order_acquire);
    bool any = false;
    ThruTarget targets[SlotCount];
    for (uint32_t slot = 0; slot < SlotCount; slot++) {
        jack_port_t* port = m_inputs[slot].port.load(std::memory_order_acquire);
        if (!port) {
            continue;
        }
        void* buffer = jack_port_get_buffer(port, frames);
        const uint32_t count = jack_midi_get_event_count(buffer);
        const int32_t source = m_inputs[slot].sourceId.load(std::memory_order_relaxed);
        const int thruCount = thruTargets(table, source, targets);
        ThruInput& thru = m_inputs[slot].thru;
        if (thruCount > 0 && (!thru.active || thru.source != source)) {
            // Thru parsing starts afresh (a changed filter keeps it going:
            // running status and a dump in progress stay).
            midilib_parser_init(&thru.parser);
            thru.joining = false;
            thru.source = source;
        }
        thru.active = thruCount > 0;
        for (uint32_t i = 0; i < count; i++) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) != 0) {
                continue;
            }
            if (thruCount > 0) {
                passThru(m_inputs[slot], event, targets, thruCount);
            }
            const ReceivedHeader header{slot, static_cast<uint32_t>(event.size), cycleStart + event.time,
                                        Received::Event, 0, true, thruCount > 0};
            if (jack_ringbuffer_write_space(m_received) < sizeof(header) + event.size) {
                m_overruns.fetch_add(1, std::memory_order_relaxed);
                m_inputs[slot].dropped.fetch_add(1, std::memory_order_relaxed);
                m_lossPending.store(true, std::memory_order_relaxed);
                any = true;  // the delivery thread says it
                continue;
            }
            jack_ringbuffer_write(m_received, reinterpret_cast<const char*>(&header),
                                  sizeof(header));
            jack_ringbuffer_write(m_received, reinterpret_cast<const char*>(event.buffer),
                                  event.size);
            any = true;
        }
    }
    if (any) {
        sem_post(&m_receivedReady);
    }
}

int64_t JackMidiService::hostToJackOffset() const
{
    return static_cast<int64_t>(getHostTimeInNanoseconds()) - static_cast<int64_t>(jack_get_time()) * 1000;
}

void JackMidiService::writeOutputs(jack_nframes_t frames)
{
    // Where this cycle lies on the host clock, and one nominal period: the
    // constant latency every sent event gets.
    jack_nframes_t cycleFrame = 0;
    jack_time_t cycleStart = 0;
    jack_time_t nextStart = 0;
    float periodMicroseconds = 0;
    const bool timed =
        jack_get_cycle_times(m_client, &cycleFrame, &cycleStart, &nextStart, &periodMicroseconds) == 0 &&
        nextStart > cycleStart;
    const int64_t cycleStartNs = static_cast<int64_t>(cycleStart) * 1000 + hostToJackOffset();
    const int64_t cycleNs = static_cast<int64_t>(nextStart - cycleStart) * 1000;
    const int64_t rate = std::max<int64_t>(1, m_sampleRate.load(std::memory_order_relaxed));
    const int64_t latencyNs = static_cast<int64_t>(frames) * 1000000000 / rate;
    for (OutputSlot& slot : m_outputs) {
        jack_port_t* port = slot.port.load(std::memory_order_acquire);
        if (!port) {
            continue;
        }
        void* buffer = jack_port_get_buffer(port, frames);
        jack_midi_clear_buffer(buffer);
        if (m_maxEventSize.load(std::memory_order_relaxed) == 0) {
            m_maxEventSize.store(jack_midi_max_event_size(buffer), std::memory_order_relaxed);
        }
        bool first = true;
        jack_nframes_t lastFrame = 0;  // events never go before an earlier one
        size_t nextThru = 0;
        for (;;) {
            const size_t available = jack_ringbuffer_read_space(slot.ring);
            SentHeader header{};
            if (available < sizeof(header)) {
                break;
            }
            jack_ringbuffer_peek(slot.ring, reinterpret_cast<char*>(&header), sizeof(header));
            const uint32_t size = header.size;
            if (available < sizeof(header) + size) {
                break;  // the writer is still copying the bytes
            }
            jack_nframes_t frame = lastFrame;
            if (timed) {
                // The cycle's frames spread over its span as JACK measures it
                // (its clock and the server's period need not agree).
                const int64_t offsetNs = static_cast<int64_t>(header.hostTime) + latencyNs - cycleStartNs;
                const int64_t offset = offsetNs <= 0 ? 0 : (offsetNs * frames + cycleNs / 2) / cycleNs;
                if (offset >= static_cast<int64_t>(frames)) {
                    break;  // due in a later cycle, and so is everything after it
                }
                frame = std::max(lastFrame, static_cast<jack_nframes_t>(offset));
            }
            // Thru messages of this cycle up to that frame go first.
            placeThru(slot, buffer, frame, lastFrame, nextThru);
            frame = std::max(lastFrame, frame);
            jack_midi_data_t* target = jack_midi_event_reserve(buffer, frame, size);
            if (!target && !first) {
                break;  // this cycle's buffer is full: the rest goes next cycle
            }
            lastFrame = frame;
            jack_ringbuffer_read_advance(slot.ring, sizeof(header));
            if (target) {
                jack_ringbuffer_read(slot.ring, reinterpret_cast<char*>(target), size);
            } else {
                // Not even an empty buffer takes it; send() refuses these.
                jack_ringbuffer_read_advance(slot.ring, size);
            }
            first = false;
        }
        placeThru(slot, buffer, UINT32_MAX, lastFrame, nextThru);
        slot.thruEvents.clear();
        slot.thruUsed = 0;
    }
}

int JackMidiService::thruTargets(const ThruTable* table, int32_t source, ThruTarget* targets)
{
    if (!table || source == InvalidPortId) {
        return 0;
    }
    int count = 0;
    for (const ThruRoute& route : table->routes) {
        if (!route.on || route.source != source || count == SlotCount) {
            continue;
        }
        for (OutputSlot& output : m_outputs) {
            if (output.destinationId.load(std::memory_order_acquire) == route.destination &&
                output.port.load(std::memory_order_acquire)) {
                targets[count++] = {&route, &output};
                break;
            }
        }
    }
    return count;
}

const unsigned char* JackMidiService::staged(const jack_midi_event_t& event)
{
    // Another client wrote these bytes, handed over through the server's own
    // synchronisation, which a thread checker cannot see; libjack copies
    // them (into a ring and out again) before thru reads them, as it copies
    // everything else this client takes from a port.
    if (event.size > ThruJoinCapacity) {
        return event.buffer;
    }
    jack_ringbuffer_write(m_thruStage, reinterpret_cast<const char*>(event.buffer), event.size);
    jack_ringbuffer_read(m_thruStage, reinterpret_cast<char*>(m_thruStaged.get()), event.size);
    return m_thruStaged.get();
}

void JackMidiService::passThru(InputSlot& input, const jack_midi_event_t& event, const ThruTarget* targets,
                               int count)
{
    const unsigned char* bytes = staged(event);
    if (!targets[0].route->parsed) {
        // The analyzer does not parse: every packet goes as it came.
        for (int i = 0; i < count; i++) {
            queueThru(*targets[i].output,
                      {event.time, 0, static_cast<uint32_t>(event.size), targets[i].route->tag, 0, false}, bytes);
        }
        return;
    }
    midilib_parser_setData(&input.thru.parser, bytes, event.size);
    while (midilib_parser_parse(&input.thru.parser, &m_thruEvent) == 0) {
        passParsed(input, event.time, targets, count);
    }
}

void JackMidiService::passParsed(InputSlot& input, jack_nframes_t frame, const ThruTarget* targets, int count)
{
    ThruInput& thru = input.thru;
    const unsigned char* bytes = nullptr;
    uint32_t size = 0;
    if (m_thruEvent.part != MIDILIB_SystemExclusive_Whole) {
        const auto& piece = m_thruEvent.payload.systemExclusive;
        if (m_thruEvent.part == MIDILIB_SystemExclusive_First) {
            thru.joining = true;
            thru.joinedLength = 0;
        } else if (!thru.joining) {
            return;
        }
        if (thru.joinedLength + piece.size <= ThruJoinCapacity) {
            std::memcpy(thru.joined.get() + thru.joinedLength, piece.bytes, piece.size);
        }
        thru.joinedLength += piece.size;
        if (m_thruEvent.part != MIDILIB_SystemExclusive_Last) {
            return;
        }
        thru.joining = false;
        bytes = thru.joined.get();
        size = static_cast<uint32_t>(std::min<size_t>(thru.joinedLength, UINT32_MAX));
    } else {
        if (m_thruEvent.type < MIDILIB_Event_Type_TimingClock) {
            thru.joining = false;  // a long one was cut off
        }
        if (m_thruEvent.type == MIDILIB_Event_Type_ActiveSensing) {
            return;
        }
        midilib_eventToData(&m_thruEvent, &m_thruData);
        bytes = midilib_data_getMemory(&m_thruData);
        size = static_cast<uint32_t>(midilib_data_getSize(&m_thruData));
    }
    for (int i = 0; i < count; i++) {
        const ThruRoute& route = *targets[i].route;
        if (midilib_filter_apply(&route.filter, &m_thruEvent) != 0) {
            continue;
        }
        if (size > ThruJoinCapacity) {
            reportThru(route.tag, nullptr, size, frame, m_thruEvent.type, true, true);
            continue;
        }
        queueThru(*targets[i].output, {frame, 0, size, route.tag, m_thruEvent.type, true}, bytes);
    }
}

void JackMidiService::queueThru(OutputSlot& output, const ThruEvent& event, const unsigned char* bytes)
{
    const size_t largest = m_maxEventSize.load(std::memory_order_relaxed);
    if ((largest != 0 && event.size > largest) || output.thruEvents.size() == output.thruEvents.capacity() ||
        output.thruUsed + event.size > ThruBytesPerCycle) {
        reportThru(event.tag, nullptr, event.size, event.frame, event.type, event.parsed, true);
        return;
    }
    ThruEvent queued = event;
    queued.offset = static_cast<uint32_t>(output.thruUsed);
    std::memcpy(output.thruBytes.get() + output.thruUsed, bytes, event.size);
    output.thruUsed += event.size;
    // Two inputs may pass to one output: kept in frame order, each input's own order kept.
    auto place = output.thruEvents.end();
    while (place != output.thruEvents.begin() && (place - 1)->frame > queued.frame) {
        --place;
    }
    output.thruEvents.insert(place, queued);
}

void JackMidiService::placeThru(OutputSlot& slot, void* buffer, jack_nframes_t until, jack_nframes_t& lastFrame,
                                size_t& next)
{
    for (; next < slot.thruEvents.size() && slot.thruEvents[next].frame <= until; next++) {
        const ThruEvent& event = slot.thruEvents[next];
        const jack_nframes_t frame = std::max(lastFrame, event.frame);
        const unsigned char* bytes = slot.thruBytes.get() + event.offset;
        // Written by libjack, as the ring's events are: the next client reads it.
        if (jack_midi_event_write(buffer, frame, bytes, event.size) != 0) {
            reportThru(event.tag, nullptr, event.size, frame, event.type, event.parsed, true);
            continue;
        }
        lastFrame = frame;
        reportThru(event.tag, bytes, event.size, frame, event.type, event.parsed, false);
    }
}

void JackMidiService::reportThru(int tag, const unsigned char* bytes, uint32_t size, jack_nframes_t frame,
                                 unsigned char type, bool parsed, bool refused)
{
    const uint32_t stored = refused ? 0 : size;
    const ReceivedHeader header{static_cast<uint32_t>(tag), refused ? size : stored, m_cycleStart + frame,
                                refused ? Received::ThruRefused : Received::ThruSent, type, parsed, 0};
    if (jack_ringbuffer_write_space(m_received) < sizeof(header) + stored) {
        m_overruns.fetch_add(1, std::memory_order_relaxed);  // the Out monitor misses it: a loss said
        m_lossPending.store(true, std::memory_order_relaxed);
        m_thruReported = true;
        return;
    }
    jack_ringbuffer_write(m_received, reinterpret_cast<const char*>(&header), sizeof(header));
    if (stored != 0) {
        jack_ringbuffer_write(m_received, reinterpret_cast<const char*>(bytes), stored);
    }
    m_thruReported = true;
}

unsigned long long JackMidiService::hostTimeOfFrame(jack_nframes_t frame) const
{
    // It belongs to the cycle that read it, so it may lie up to a period
    // after now: kept as it is, MIDI thru placed one period later keeps
    // every event's distance exactly.
    const int64_t frameTime =
        static_cast<int64_t>(jack_frames_to_time(m_client, frame)) * 1000 + hostToJackOffset();
    return static_cast<unsigned long long>(std::max<int64_t>(1, frameTime));
}

void JackMidiService::deliverEvents()
{
    while (!m_stop) {
        sem_wait(&m_receivedReady);
        if (m_lossPending.exchange(false)) {
            lossHappened();
        }
        ReceivedHeader header{};
        for (;;) {
            const size_t available = jack_ringbuffer_read_space(m_received);
            if (available < sizeof(header)) {
                break;
            }
            jack_ringbuffer_peek(m_received, reinterpret_cast<char*>(&header), sizeof(header));
            // A refusal carries the message's length, not its bytes.
            const size_t size = header.kind == Received::ThruRefused ? 0 : header.size;
            if (available < sizeof(header) + size) {
                break;
            }
            jack_ringbuffer_read_advance(m_received, sizeof(header));
            m_packet.resize(size);
            jack_ringbuffer_read(m_received, reinterpret_cast<char*>(m_packet.data()), size);
            const unsigned long long hostTime = hostTimeOfFrame(header.frame);
            if (header.kind == Received::Event) {
                m_inputs[header.slot].receivers.deliver(m_packet.data(), size, hostTime, header.thruPassed);
                continue;
            }
            ThruReport report;
            report.tag = static_cast<int>(header.slot);
            report.data = m_packet.data();
            report.length = header.size;
            report.type = header.type;
            report.parsed = header.parsed;
            report.hostTime = hostTime;
            report.refused = header.kind == Received::ThruRefused;
            // Longer than the output or the joining buffer takes, or no room left in the cycle (0).
            const auto limit = static_cast<uint32_t>(
                std::min<size_t>(m_maxEventSize.load(std::memory_order_relaxed), ThruJoinCapacity));
            report.largest = report.refused && header.size > limit ? limit : 0;
            thruReported(report);
        }
    }
}

bool JackMidiService::setThruRoutes(const std::vector<ThruRoute>& routes)
{
    auto table = std::make_unique<ThruTable>();
    table->routes = routes;
    std::lock_guard<std::mutex> lock(m_thruMutex);
    freeRetiredThru(false);
    ThruTable* old = m_thru.exchange(table.release(), std::memory_order_acq_rel);
    if (old) {
        old->retiredAt = m_cycles.load(std::memory_order_acquire);
        m_retiredThru.emplace_back(old);
    }
    return true;
}

void JackMidiService::freeRetiredThru(bool all)
{
    // A cycle that loaded a table before it was replaced has ended once the
    // count moved on twice (the count grows at the end of each cycle); an
    // inactive client runs none.
    all = all || !m_active.load();
    const uint64_t cycles = m_cycles.load(std::memory_order_acquire);
    m_retiredThru.erase(std::remove_if(m_retiredThru.begin(), m_retiredThru.end(),
                                       [&](const std::unique_ptr<ThruTable>& table) {
                                           return all || cycles >= table->retiredAt + 2;
                                       }),
                        m_retiredThru.end());
}

uint32_t JackMidiService::largestMessage(int32_t) const
{
    const size_t largest = m_maxEventSize.load(std::memory_order_relaxed);
    return largest == 0 ? MaximumMessageSize : static_cast<uint32_t>(std::min<size_t>(largest, MaximumMessageSize));
}

uint64_t JackMidiService::droppedFrom(int32_t uniqueId) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const InputSlot& slot : m_inputs) {
        if (slot.port.load() && slot.sourceId == uniqueId) {
            return slot.dropped.load(std::memory_order_relaxed);
        }
    }
    return 0;
}

QList<MidiEndpoint> JackMidiService::list(unsigned long flags, MIDI_RESULT* result)
{
    QList<MidiEndpoint> endpoints;
    if (m_serverGone) {
        setMidiResult(result, MIDI_RESULT_ERROR);
        return endpoints;
    }
    const char** names = jack_get_ports(m_client, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
    QHash<QString, int> occurrences;
    std::lock_guard<std::mutex> lock(m_namesMutex);
    for (const char** name = names; name && *name; name++) {
        const QString full = QString::fromUtf8(*name);
        if (full.startsWith(m_clientPrefix)) {
            continue;
        }
        MidiEndpoint endpoint;
        endpoint.name = full;
        endpoint.portName = full.section(QLatin1Char(':'), 1);
        endpoint.uniqueId = makeUniqueId(serviceName(), full, occurrences[full]++);
        m_portNames.insert(endpoint.uniqueId, full);
        endpoints.append(endpoint);
    }
    jack_free(names);
    setMidiResult(result, MIDI_RESULT_SUCCESS);
    return endpoints;
}

QList<MidiEndpoint> JackMidiService::sources(MIDI_RESULT* result)
{
    return list(JackPortIsOutput, result);
}

QList<MidiEndpoint> JackMidiService::destinations(MIDI_RESULT* result)
{
    return list(JackPortIsInput, result);
}

QString JackMidiService::portNameOf(int32_t uniqueId, unsigned long flags)
{
    for (int attempt = 0; attempt < 2; attempt++) {
        {
            std::lock_guard<std::mutex> lock(m_namesMutex);
            const auto found = m_portNames.constFind(uniqueId);
            if (found != m_portNames.constEnd()) {
                return found.value();
            }
        }
        list(flags, nullptr);
    }
    return QString();
}

jack_port_t* JackMidiService::registerPort(const char* prefix, int slot, unsigned long flags)
{
    const QByteArray name = QByteArray(prefix) + QByteArray::number(slot + 1);
    return jack_port_register(m_client, name.constData(), JACK_DEFAULT_MIDI_TYPE, flags, 0);
}

bool JackMidiService::flushOutput(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const auto waiting = [this] {
        for (const OutputSlot& slot : m_outputs) {
            if (slot.ring && jack_ringbuffer_read_space(slot.ring) > 0) {
                return true;
            }
        }
        return false;
    };
    while (waiting()) {
        if (m_serverGone || std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // The cycle that took the last event wrote it; a client that runs
    // before ours in the graph reads it one cycle later.
    return !isActive() || waitForCycles(2);
}

bool JackMidiService::waitForCycles(int cycles)
{
    const uint64_t target = m_cycles.load(std::memory_order_acquire) + cycles;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (m_cycles.load(std::memory_order_acquire) < target) {
        if (m_serverGone || std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

void JackMidiService::retirePort(std::atomic<jack_port_t*>& port)
{
    jack_port_t* retired = port.exchange(nullptr, std::memory_order_acq_rel);
    if (!retired) {
        return;
    }
    // A cycle that loaded the pointer before the exchange finishes first.
    waitForCycles(2);
    jack_port_unregister(m_client, retired);
    deactivateWhenUnused();
}

MIDI_RESULT JackMidiService::connectSource(int32_t uniqueId, MidiServiceReceiver* receiver)
{
    const QString source = portNameOf(uniqueId, JackPortIsOutput);
    if (!receiver || source.isEmpty() || m_serverGone) {
        return MIDI_RESULT_ERROR;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    InputSlot* free = nullptr;
    for (InputSlot& slot : m_inputs) {
        if (slot.port.load() && slot.sourceId == uniqueId) {
            slot.receivers.add(receiver);
            return MIDI_RESULT_SUCCESS;
        }
        if (!slot.port.load() && !free) {
            free = &slot;
        }
    }
    if (!free) {
        return MIDI_RESULT_ERROR;
    }
    const int index = static_cast<int>(free - m_inputs.data());
    if (!activate()) {
        return MIDI_RESULT_ERROR;
    }
    jack_port_t* port = registerPort("in_", index, JackPortIsInput);
    if (!port || jack_connect(m_client, source.toUtf8().constData(), jack_port_name(port)) != 0) {
        if (port) {
            jack_port_unregister(m_client, port);
        }
        deactivateWhenUnused();
        return MIDI_RESULT_ERROR;
    }
    free->sourceId = uniqueId;
    free->receivers.add(receiver);
    free->port.store(port, std::memory_order_release);
    // The new connection takes effect in a later cycle: return once it
    // carries events, so that nothing sent after opening is missed.
    waitForCycles(2);
    return MIDI_RESULT_SUCCESS;
}

MIDI_RESULT JackMidiService::disconnectSource(int32_t uniqueId, MidiServiceReceiver* receiver)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (InputSlot& slot : m_inputs) {
        if (!slot.port.load() || slot.sourceId != uniqueId) {
            continue;
        }
        // Waits for a delivery in progress; nothing a receiver may be waiting
        // for (a worker, MIDI thru, a send) takes m_mutex.
        if (!slot.receivers.remove(receiver)) {
            return MIDI_RESULT_ERROR;
        }
        if (slot.receivers.empty()) {
            // A vanished source took the connection with it; the port goes anyway.
            const bool connected = jack_port_connected(slot.port.load()) > 0;
            retirePort(slot.port);
            slot.sourceId = InvalidPortId;
            return connected ? MIDI_RESULT_SUCCESS : MIDI_RESULT_ERROR;
        }
        return MIDI_RESULT_SUCCESS;
    }
    return MIDI_RESULT_ERROR;
}

MIDI_RESULT JackMidiService::connectDestination(int32_t uniqueId)
{
    const QString destination = portNameOf(uniqueId, JackPortIsInput);
    if (destination.isEmpty() || m_serverGone) {
        return MIDI_RESULT_ERROR;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    OutputSlot* free = nullptr;
    for (OutputSlot& slot : m_outputs) {
        if (slot.port.load() && slot.destinationId == uniqueId) {
            slot.users++;
            return MIDI_RESULT_SUCCESS;
        }
        if (!slot.port.load() && !free) {
            free = &slot;
        }
    }
    if (!free) {
        return MIDI_RESULT_ERROR;
    }
    const int index = static_cast<int>(free - m_outputs.data());
    if (!activate()) {
        return MIDI_RESULT_ERROR;
    }
    jack_port_t* port = registerPort("out_", index, JackPortIsOutput);
    if (!port || jack_connect(m_client, jack_port_name(port), destination.toUtf8().constData()) != 0) {
        if (port) {
            jack_port_unregister(m_client, port);
        }
        deactivateWhenUnused();
        return MIDI_RESULT_ERROR;
    }
    jack_ringbuffer_reset(free->ring);
    free->destinationId.store(uniqueId, std::memory_order_release);
    free->users = 1;
    free->port.store(port, std::memory_order_release);
    // The largest event is known once a cycle has seen the port's buffer.
    waitForCycles(2);
    return MIDI_RESULT_SUCCESS;
}

void JackMidiService::disconnectDestination(int32_t uniqueId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (OutputSlot& slot : m_outputs) {
        if (slot.port.load() && slot.destinationId == uniqueId && --slot.users == 0) {
            // Let what was sent reach the destination before the port goes.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
            while (jack_ringbuffer_read_space(slot.ring) > 0 && !m_serverGone &&
                   std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            waitForCycles(1);
            slot.destinationId.store(InvalidPortId, std::memory_order_release);
            retirePort(slot.port);
            return;
        }
    }
}

JackMidiService::OutputSlot* JackMidiService::findOutput(int32_t uniqueId)
{
    for (OutputSlot& slot : m_outputs) {
        if (slot.destinationId.load(std::memory_order_acquire) == uniqueId && slot.port.load()) {
            return &slot;
        }
    }
    return nullptr;
}

MIDI_RESULT JackMidiService::send(int32_t uniqueId, const unsigned char* data, uint32_t length,
                                  unsigned long long hostTime)
{
    if (m_serverGone || length == 0) {
        return MIDI_RESULT_ERROR;
    }
    // The port layer lets a destination go only when no send to it is in
    // progress, so the slot found here stays while this runs.
    OutputSlot* target = findOutput(uniqueId);
    // The destination's client went away: the server dropped our connection.
    if (!target || jack_port_connected(target->port.load()) == 0) {
        return MIDI_RESULT_ERROR;
    }
    const size_t largest = m_maxEventSize.load(std::memory_order_relaxed);
    if (largest != 0 && length > largest) {
        return MIDI_RESULT_ERROR;  // can never fit a JACK MIDI buffer
    }
    const unsigned long long now = getHostTimeInNanoseconds();
    const SentHeader header{std::clamp(hostTime == 0 ? now : hostTime, now - std::min(now, LongestSchedule),
                                       now + LongestSchedule),
                            length, 0};
    const size_t needed = sizeof(header) + length;
    const auto deadline = std::chrono::steady_clock::now() + SendTimeout;
    for (;;) {
        {
            // One writer at a time copies; nobody waits for space holding it.
            std::lock_guard<std::mutex> sendLock(target->sendMutex);
            if (jack_ringbuffer_write_space(target->ring) >= needed) {
                // process() takes a record only once its header and all its bytes are in.
                jack_ringbuffer_write(target->ring, reinterpret_cast<const char*>(&header), sizeof(header));
                jack_ringbuffer_write(target->ring, reinterpret_cast<const char*>(data), length);
                return MIDI_RESULT_SUCCESS;
            }
        }
        if (m_serverGone || std::chrono::steady_clock::now() > deadline) {
            return MIDI_RESULT_ERROR;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}
