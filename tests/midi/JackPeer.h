// A second JACK client standing in for an instrument: an output port "out"
// that sends what the test queues, and an input port "in" that records what
// arrives. Test code: its process callback takes a mutex, which a real
// client must not.
#pragma once

#include <jack/jack.h>
#include <jack/midiport.h>

#include <QString>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <pthread.h>
#include <time.h>
#include <thread>
#include <vector>

#include "PortTraffic.h"

class JackPeer {
public:
    explicit JackPeer(const char* name)
    {
        m_client = jack_client_open(name, JackNoStartServer, nullptr);
        if (!m_client) {
            return;
        }
        m_out = jack_port_register(m_client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        m_in = jack_port_register(m_client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(m_client, &JackPeer::process, this);
        jack_set_xrun_callback(m_client, &JackPeer::xrun, this);
        jack_activate(m_client);
    }

    ~JackPeer() { close(); }

    bool isOpen() const { return m_client != nullptr; }
    QString name() const { return QString::fromUtf8(jack_get_client_name(m_client)); }

    void close()
    {
        if (m_client) {
            jack_client_close(m_client);
            m_client = nullptr;
        }
    }

    // Sent in the next cycle at frame offset `offset` within it (offsets of
    // one cycle must not decrease).
    void send(const std::vector<unsigned char>& message, jack_nframes_t offset = 0)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_outgoing.push_back({message, offset});
    }

    // The frame time at which each sent event left, in order.
    std::vector<jack_nframes_t> sentFrames()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sentFrames;
    }

    // CPU time the peer's own process thread has used, in seconds (0 before
    // its first cycle): a measuring program leaves it out of Ostrel's share.
    double processThreadCpuSeconds() const
    {
        if (!m_threadKnown.load()) {
            return 0;
        }
        timespec used{};
        clock_gettime(m_threadClock, &used);
        return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
    }

    // Off: arrivals and sent frames are only counted, not kept (long runs).
    void setRecording(bool recording) { m_recording.store(recording); }

    // The next cycle takes this long: the server runs late for everyone.
    void stallOnce(std::chrono::milliseconds duration) { m_stall.store(duration.count()); }

    // Cycles the server reported late: an event sent in one may never reach a peer.
    int xruns() const { return m_xruns.load(); }

    // Connections of the peer's output (what listens to it) and input.
    int outConnections() const { return jack_port_connected(m_out); }
    int inConnections() const { return jack_port_connected(m_in); }

    bool waitUntilSent()
    {
        return port_traffic::waitUntil([&] {
            std::lock_guard<std::mutex> lock(m_mutex);
            return m_outgoing.empty();
        });
    }

    bool waitForBytes(size_t count)
    {
        return port_traffic::waitUntil([&] { return received().size() >= count; });
    }

    std::vector<unsigned char> received()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_received;
    }

    // When each received event arrived (JACK time, microseconds, and its
    // frame) and its size.
    struct Arrival {
        jack_time_t time;
        size_t size;
        jack_nframes_t frame;
    };
    jack_nframes_t sampleRate() const { return jack_get_sample_rate(m_client); }
    jack_nframes_t bufferSize() const { return jack_get_buffer_size(m_client); }
    std::vector<Arrival> arrivals()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_arrivals;
    }

    size_t receivedEvents()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_receivedEvents;
    }

private:
    static int process(jack_nframes_t frames, void* arg)
    {
        auto* self = static_cast<JackPeer*>(arg);
        if (!self->m_threadKnown.load(std::memory_order_relaxed) &&
            pthread_getcpuclockid(pthread_self(), &self->m_threadClock) == 0) {
            self->m_threadKnown.store(true);
        }
        if (const long long stall = self->m_stall.exchange(0)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(stall));
        }
        std::lock_guard<std::mutex> lock(self->m_mutex);
        const jack_nframes_t periodStart = jack_last_frame_time(self->m_client);
        void* out = jack_port_get_buffer(self->m_out, frames);
        jack_midi_clear_buffer(out);
        while (!self->m_outgoing.empty()) {
            const Outgoing& message = self->m_outgoing.front();
            const jack_nframes_t offset = std::min(message.offset, frames - 1);
            jack_midi_data_t* data = jack_midi_event_reserve(out, offset, message.bytes.size());
            if (!data) {
                break;
            }
            std::copy(message.bytes.begin(), message.bytes.end(), data);
            if (self->m_recording.load(std::memory_order_relaxed)) {
                self->m_sentFrames.push_back(periodStart + offset);
            }
            self->m_outgoing.pop_front();
        }
        void* in = jack_port_get_buffer(self->m_in, frames);
        const uint32_t count = jack_midi_get_event_count(in);
        for (uint32_t i = 0; i < count; i++) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, in, i) == 0) {
                self->m_receivedEvents++;
                if (!self->m_recording.load(std::memory_order_relaxed)) {
                    continue;
                }
                self->m_received.insert(self->m_received.end(), event.buffer,
                                        event.buffer + event.size);
                self->m_arrivals.push_back({jack_frames_to_time(self->m_client, periodStart + event.time),
                                            event.size, periodStart + event.time});
            }
        }
        return 0;
    }

    static int xrun(void* arg)
    {
        static_cast<JackPeer*>(arg)->m_xruns++;
        return 0;
    }

    struct Outgoing {
        std::vector<unsigned char> bytes;
        jack_nframes_t offset;
    };

    jack_client_t* m_client = nullptr;
    jack_port_t* m_out = nullptr;
    jack_port_t* m_in = nullptr;
    std::mutex m_mutex;
    std::deque<Outgoing> m_outgoing;
    std::vector<jack_nframes_t> m_sentFrames;
    std::atomic<int> m_xruns{0};
    std::atomic<long long> m_stall{0};  // milliseconds
    std::atomic<bool> m_recording{true};
    clockid_t m_threadClock{};
    std::atomic<bool> m_threadKnown{false};
    std::vector<unsigned char> m_received;
    size_t m_receivedEvents = 0;
    std::vector<Arrival> m_arrivals;
};
