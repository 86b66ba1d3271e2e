// A second ALSA sequencer client standing in for an instrument: a port
// "out" whose events go to its subscribers, and a port "in" that records
// what arrives. It uses alsa-lib's own byte/event converter, so Ostrel's
// conversion is checked against an independent one.
#pragma once

#include <alsa/asoundlib.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "PortTraffic.h"

class AlsaPeer {
public:
    explicit AlsaPeer(const char* name)
    {
        if (snd_seq_open(&m_seq, "default", SND_SEQ_OPEN_DUPLEX, 0) < 0) {
            m_seq = nullptr;
            return;
        }
        snd_seq_set_client_name(m_seq, name);
        snd_seq_set_client_pool_output(m_seq, 2000);
        snd_seq_set_client_pool_input(m_seq, 2000);
        snd_seq_set_input_buffer_size(m_seq, 1 << 18);
        m_out = snd_seq_create_simple_port(m_seq, "out",
                                           SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                           SND_SEQ_PORT_TYPE_MIDI_GENERIC);
        m_in = snd_seq_create_simple_port(m_seq, "in",
                                          SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                          SND_SEQ_PORT_TYPE_MIDI_GENERIC);
        snd_midi_event_new(256, &m_encoder);
        snd_midi_event_new(1 << 16, &m_decoder);
        snd_midi_event_no_status(m_decoder, 1);
        m_reader = std::thread([this] { read(); });
    }

    ~AlsaPeer() { close(); }

    bool isOpen() const { return m_seq != nullptr; }

    void close()
    {
        if (!m_seq) {
            return;
        }
        m_stop = true;
        m_reader.join();
        snd_midi_event_free(m_encoder);
        snd_midi_event_free(m_decoder);
        snd_seq_close(m_seq);
        m_seq = nullptr;
    }

    // Sends bytes to the subscribers of "out", converted by alsa-lib.
    void send(const std::vector<unsigned char>& bytes)
    {
        std::lock_guard<std::mutex> lock(m_sendMutex);
        for (unsigned char byte : bytes) {
            snd_seq_event_t event;
            snd_seq_ev_clear(&event);
            if (snd_midi_event_encode_byte(m_encoder, byte, &event) == 1) {
                snd_seq_ev_set_source(&event, m_out);
                snd_seq_ev_set_subs(&event);
                snd_seq_ev_set_direct(&event);
                while (snd_seq_event_output_direct(m_seq, &event) == -EAGAIN) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            }
        }
    }

    // What reads the peer's "out": subscribers whose own side of the
    // subscription is in place too. The sequencer links the two sides one
    // after the other and delivers only once both are, so a subscriber seen
    // from this side alone may not get an event sent at that moment.
    int outSubscribers()
    {
        std::lock_guard<std::mutex> lock(m_sendMutex);
        const snd_seq_addr_t out{static_cast<unsigned char>(snd_seq_client_id(m_seq)),
                                 static_cast<unsigned char>(m_out)};
        int count = 0;
        for (const snd_seq_addr_t& reader : subscribers(out, SND_SEQ_QUERY_SUBS_READ)) {
            for (const snd_seq_addr_t& source : subscribers(reader, SND_SEQ_QUERY_SUBS_WRITE)) {
                count += source.client == out.client && source.port == out.port ? 1 : 0;
            }
        }
        return count;
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

    // When each received event arrived, in microseconds after origin.
    std::vector<long long> arrivalTimes(std::chrono::steady_clock::time_point origin)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<long long> times;
        for (const auto& arrival : m_arrivals) {
            times.push_back(std::chrono::duration_cast<std::chrono::microseconds>(arrival - origin).count());
        }
        return times;
    }

    // Subscribes other's "in" to this peer's "out": the sequencer delivers directly.
    bool connectOutTo(AlsaPeer& other)
    {
        return snd_seq_connect_to(m_seq, m_out, snd_seq_client_id(other.m_seq), other.m_in) == 0;
    }

private:
    // The other ends of root's subscriptions of one kind. Holds m_sendMutex.
    std::vector<snd_seq_addr_t> subscribers(const snd_seq_addr_t& root, snd_seq_query_subs_type_t type)
    {
        snd_seq_query_subscribe_t* query = nullptr;
        snd_seq_query_subscribe_alloca(&query);
        snd_seq_query_subscribe_set_root(query, &root);
        snd_seq_query_subscribe_set_type(query, type);
        snd_seq_query_subscribe_set_index(query, 0);
        std::vector<snd_seq_addr_t> addresses;
        while (snd_seq_query_port_subscribers(m_seq, query) >= 0) {
            addresses.push_back(*snd_seq_query_subscribe_get_addr(query));
            snd_seq_query_subscribe_set_index(query, snd_seq_query_subscribe_get_index(query) + 1);
        }
        return addresses;
    }

    void read()
    {
        const int count = snd_seq_poll_descriptors_count(m_seq, POLLIN);
        std::vector<pollfd> fds(static_cast<size_t>(count));
        snd_seq_poll_descriptors(m_seq, fds.data(), static_cast<unsigned int>(count), POLLIN);
        std::vector<unsigned char> buffer(1 << 16);
        while (!m_stop) {
            if (poll(fds.data(), fds.size(), 50) <= 0) {
                continue;
            }
            while (snd_seq_event_input_pending(m_seq, 1) > 0) {
                snd_seq_event_t* event = nullptr;
                if (snd_seq_event_input(m_seq, &event) < 0 || !event) {
                    break;
                }
                const long size = snd_midi_event_decode(m_decoder, buffer.data(),
                                                        static_cast<long>(buffer.size()), event);
                if (size > 0) {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_received.insert(m_received.end(), buffer.begin(), buffer.begin() + size);
                    m_arrivals.push_back(std::chrono::steady_clock::now());
                }
            }
        }
    }

    snd_seq_t* m_seq = nullptr;
    int m_out = -1;
    int m_in = -1;
    snd_midi_event_t* m_encoder = nullptr;
    snd_midi_event_t* m_decoder = nullptr;
    std::mutex m_sendMutex;
    std::mutex m_mutex;
    std::vector<unsigned char> m_received;
    std::vector<std::chrono::steady_clock::time_point> m_arrivals;
    std::atomic<bool> m_stop{false};
    std::thread m_reader;
};
