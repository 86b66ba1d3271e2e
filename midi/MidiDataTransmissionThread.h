// The worker of one input port. The host service's thread copies every
// received packet into the ring (writeData) and returns; this thread drains
// the ring in arrival order and calls the registered callback once per
// packet, outside the service's thread.
//
// Threads: writeData on the service's thread; run on this thread;
// setReceivedMidiCallbackFunc and the destructor on the owner's thread.
// Locks: bufferMutex guards the ring, its indexes, lapCount and the callback;
// dataArrived and spaceFreed wait on it. The callback runs with no lock of
// this class held, so it may take its own locks and send MIDI.
// Stopping: the destructor sets quit, wakes both sides and joins; records
// still queued are discarded.
#pragma once

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "CRingBuffer.h"

using MidiReceivedCallback = void (*)(void* context, const unsigned char* data,
                                      unsigned short length, unsigned int timeStamp,
                                      unsigned long long hostTimeStamp, unsigned int portGroup);

class MidiDataTransmissionThread : public QThread {
    Q_OBJECT

public:
    // Bytes a record takes besides its data: length, time stamp, host time.
    static constexpr unsigned int RecordOverhead = 2 + 4 + 8;
    static constexpr unsigned short PassedMark = 0x8000;  // in the length field

    // Starts the thread at once with the inherited priority.
    MidiDataTransmissionThread(QObject* parent, unsigned short ringSize, unsigned int portGroup);
    ~MidiDataTransmissionThread() override;

    // A null callback switches delivery off: packets written meanwhile are discarded.
    void setReceivedMidiCallbackFunc(MidiReceivedCallback callback, void* context);

    // Appends one record and wakes the worker. A packet that can never fit
    // (length + 14 above the ring size) is dropped; while the ring is too full
    // the caller waits, retrying at least every 50 ms and at once when the
    // worker frees space.
    // passedByThru: the service passed it through itself; the callback's
    // port group then carries PassedByServiceThru.
    void writeData(const unsigned char* data, unsigned short length, unsigned int timeStamp,
                   unsigned long long hostTimeStamp, bool passedByThru = false);

    bool isAvailable(unsigned short size);
    // Packets dropped because they can never fit the ring (any thread).
    uint64_t droppedPackets() const { return m_dropped.load(std::memory_order_relaxed); }
    bool isEmptyBuffer();

protected:
    void run() override;

private:
    unsigned int freeSpace();  // bufferMutex held
    bool ringEmpty() const;    // bufferMutex held
    void readRecord(unsigned short& length, unsigned int& timeStamp, unsigned long long& hostTimeStamp,
                    bool& passedByThru);  // bufferMutex held
    void readField(void* out, uint64_t size);            // bufferMutex held

    // Standard primitives rather than Qt's, so ThreadSanitizer sees every hand-off.
    std::condition_variable m_dataArrived;
    std::condition_variable m_spaceFreed;
    std::atomic<bool> m_quit{false};
    std::atomic<uint64_t> m_dropped{0};
    MidiReceivedCallback m_callback = nullptr;
    void* m_callbackContext = nullptr;
    std::mutex m_bufferMutex;
    std::unique_ptr<CRingBuffer<unsigned char>> m_ring;
    unsigned short m_ringSize;
    signed char m_lapCount = 0;
    unsigned int m_portGroup;
    std::vector<unsigned char> m_packet;  // the record being delivered; worker only
};
