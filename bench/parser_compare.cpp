// The byte-stream parser beside alsa-lib's snd_midi_event_encode, the usual
// byte-to-event encoder on Linux, on the same generated streams in one
// program: rounds alternate between the two, and each side's median
// throughput is reported with the ratio.
//
//   parser_compare [rounds] [stream: 1-4, for a profile of one]
#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "midilib_parser.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t StreamSize = 4u << 20;

uint8_t data(std::mt19937& random)
{
    return static_cast<uint8_t>(random() & 0x7F);
}

// Notes and controllers with running status, a timing clock every few bytes.
Bytes channelStream()
{
    std::mt19937 random(1);
    Bytes stream;
    while (stream.size() < StreamSize) {
        stream.push_back(static_cast<uint8_t>((random() % 2 ? 0x90 : 0xB0) | (random() % 16)));
        for (int i = 0; i < 16; i++) {
            stream.push_back(data(random));
            if (random() % 4 == 0) {
                stream.push_back(0xF8);
            }
            stream.push_back(data(random));
        }
    }
    return stream;
}

// A keyboard played with a clock running: whole channel messages, each with
// its status byte (notes, controllers, pitch bend, pressure), and a timing
// clock between messages.
Bytes playedStream()
{
    std::mt19937 random(4);
    Bytes stream;
    while (stream.size() < StreamSize) {
        static const uint8_t statuses[] = {0x90, 0x80, 0x90, 0x80, 0xB0, 0xE0, 0xD0};
        const uint8_t status = statuses[random() % 7];
        stream.push_back(static_cast<uint8_t>(status | (random() % 16)));
        stream.push_back(data(random));
        if (status != 0xD0) {
            stream.push_back(data(random));
        }
        if (random() % 2 == 0) {
            stream.push_back(0xF8);
        }
    }
    return stream;
}

// Every kind: channel messages with and without running status, system
// common, real time, short system exclusive.
Bytes mixedStream()
{
    std::mt19937 random(2);
    Bytes stream;
    while (stream.size() < StreamSize) {
        const unsigned kind = random() % 100;
        if (kind < 5) {
            stream.push_back(0xF0);
            for (unsigned i = 0; i < 8 + random() % 56; i++) {
                stream.push_back(data(random));
            }
            stream.push_back(0xF7);
        } else if (kind < 10) {
            stream.push_back(0xF2);
            stream.push_back(data(random));
            stream.push_back(data(random));
        } else if (kind < 20) {
            stream.push_back(static_cast<uint8_t>(0xF8 + (random() % 2) * 2));
        } else {
            static const uint8_t statuses[] = {0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0};
            const uint8_t status = statuses[random() % 7];
            const int size = (status == 0xC0 || status == 0xD0) ? 1 : 2;
            stream.push_back(static_cast<uint8_t>(status | (random() % 16)));
            for (unsigned run = 0; run < 1 + random() % 4; run++) {
                for (int i = 0; i < size; i++) {
                    stream.push_back(data(random));
                }
            }
        }
    }
    return stream;
}

// Dumps of 1-8 KiB with a few notes between them.
Bytes sysexStream()
{
    std::mt19937 random(3);
    Bytes stream;
    while (stream.size() < StreamSize) {
        stream.push_back(0xF0);
        for (unsigned i = 0; i < 1024 + random() % 7168; i++) {
            stream.push_back(data(random));
        }
        stream.push_back(0xF7);
        for (int i = 0; i < 4; i++) {
            stream.insert(stream.end(), {0x90, data(random), 0x40});
        }
    }
    return stream;
}

// Fed in packets of 256 bytes, as a port delivers them.
constexpr size_t Packet = 256;

uint64_t parseOurs(const Bytes& stream)
{
    static auto parser = std::make_unique<midilib_parser>();
    static auto event = std::make_unique<midilib_event>();
    midilib_parser_init(parser.get());
    uint64_t events = 0;
    for (size_t at = 0; at < stream.size(); at += Packet) {
        midilib_parser_setData(parser.get(), stream.data() + at, std::min(Packet, stream.size() - at));
        while (midilib_parser_parse(parser.get(), event.get()) == 0) {
            events++;
        }
    }
    return events;
}

uint64_t parseAlsa(const Bytes& stream)
{
    static snd_midi_event_t* encoder = [] {
        snd_midi_event_t* created = nullptr;
        if (snd_midi_event_new(16384, &created) < 0) {
            std::exit(1);
        }
        return created;
    }();
    snd_midi_event_reset_encode(encoder);
    uint64_t events = 0;
    snd_seq_event_t event;
    for (size_t at = 0; at < stream.size(); at += Packet) {
        const unsigned char* bytes = stream.data() + at;
        long left = static_cast<long>(std::min(Packet, stream.size() - at));
        while (left > 0) {
            const long used = snd_midi_event_encode(encoder, bytes, left, &event);
            if (used <= 0) {
                break;
            }
            bytes += used;
            left -= used;
            if (event.type != SND_SEQ_EVENT_NONE) {
                events++;
            }
        }
    }
    return events;
}

template <typename Parse>
double megabytesPerSecond(Parse parse, const Bytes& stream, uint64_t& events)
{
    const auto start = std::chrono::steady_clock::now();
    events = parse(stream);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return stream.size() / elapsed.count() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const int only = argc > 2 ? std::atoi(argv[2]) : 0;
    const struct {
        const char* name;
        Bytes stream;
    } streams[] = {{"channel messages, running status, clocks", channelStream()},
                   {"played: whole channel messages, clocks", playedStream()},
                   {"mixed stream", mixedStream()},
                   {"system exclusive dumps", sysexStream()}};
    std::printf("%-42s %10s %10s %7s %10s %10s\n", "stream (4 MiB, 256-byte packets)", "ours MB/s",
                "alsa MB/s", "ratio", "ours ev", "alsa ev");
    int number = 0;
    for (const auto& entry : streams) {
        if (only != 0 && ++number != only) {
            continue;
        }
        std::vector<double> ours;
        std::vector<double> alsa;
        uint64_t ourEvents = 0;
        uint64_t alsaEvents = 0;
        for (int round = 0; round < rounds; round++) {
            ours.push_back(megabytesPerSecond(parseOurs, entry.stream, ourEvents));
            alsa.push_back(megabytesPerSecond(parseAlsa, entry.stream, alsaEvents));
        }
        const double oursMedian = median(ours);
        const double alsaMedian = median(alsa);
        std::printf("%-42s %10.1f %10.1f %6.2fx %10llu %10llu\n", entry.name, oursMedian, alsaMedian,
                    oursMedian / alsaMedian, static_cast<unsigned long long>(ourEvents),
                    static_cast<unsigned long long>(alsaEvents));
    }
    return 0;
}
