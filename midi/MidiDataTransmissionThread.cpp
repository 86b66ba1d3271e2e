#include "MidiDataTransmissionThread.h"

#include "MidiCommon.h"

#include <chrono>

namespace {
constexpr std::chrono::milliseconds WriterRetry{50};
}

MidiDataTransmissionThread::MidiDataTransmissionThread(QObject* parent, unsigned short ringSize,
                                                       unsigned int portGroup)
    : QThread(parent),
      m_ring(std::make_unique<CRingBuffer<unsigned char>>(ringSize)),
      m_ringSize(ringSize),
      m_portGroup(portGroup),
      m_packet(ringSize)
{
    setObjectName(QStringLiteral("MIDI input %1").arg(portGroup + 1));
    start(QThread::InheritPriority);
}

MidiDataTransmissionThread::~MidiDataTransmissionThread()
{
    {
        std::unique_lock<std::mutex> lock(m_bufferMutex);
        m_quit = true;
        m_callback = nullptr;
        m_callbackContext = nullptr;
        m_dataArrived.notify_all();
        m_spaceFreed.notify_all();
    }
    wait();
    // QThread::wait() hands off inside Qt, out of ThreadSanitizer's sight;
    // the worker's last unlock of this mutex is the hand-off it can see.
    std::lock_guard<std::mutex> lock(m_bufferMutex);
}

void MidiDataTransmissionThread::setReceivedMidiCallbackFunc(MidiReceivedCallback callback,
                                                             void* context)
{
    std::unique_lock<std::mutex> lock(m_bufferMutex);
    m_callback = callback;
    m_callbackContext = context;
    m_dataArrived.notify_all();
    m_spaceFreed.notify_all();
}

unsigned int MidiDataTransmissionThread::freeSpace()
{
    switch (m_lapCount) {
    case 0:
        return static_cast<unsigned short>(m_ringSize - m_ring->writeIndex() + m_ring->readIndex());
    case 1:
        return static_cast<unsigned short>(m_ring->readIndex() - m_ring->writeIndex());
    default:
        m_lapCount = 0;
        return 0;
    }
}

bool MidiDataTransmissionThread::ringEmpty() const
{
    return m_lapCount <= 0 && m_ring->readIndex() == m_ring->writeIndex();
}

void MidiDataTransmissionThread::writeData(const unsigned char* data, unsigned short length,
                                           unsigned int timeStamp,
                                           unsigned long long hostTimeStamp, bool passedByThru)
{
    const unsigned int recordSize = length + RecordOverhead;
    if (recordSize > m_ringSize) {
        m_dropped.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    std::unique_lock<std::mutex> lock(m_bufferMutex);
    // Without a callback nothing drains the ring, so nothing is queued either.
    while (m_callback && freeSpace() < recordSize) {
        if (m_quit) {
            return;
        }
        m_spaceFreed.wait_for(lock, WriterRetry);
    }
    if (!m_callback) {
        return;
    }
    if (m_ring->writeIndex() + recordSize > m_ringSize) {
        m_lapCount++;
    }
    // Little-endian fields, each split at the end of the ring on its own;
    // the length's top bit (packets are far shorter) marks thru passed.
    const unsigned short marked = static_cast<unsigned short>(length | (passedByThru ? PassedMark : 0));
    const unsigned char lengthBytes[2] = {static_cast<unsigned char>(marked & 0xFF),
                                          static_cast<unsigned char>(marked >> 8)};
    unsigned char stamps[12];
    for (int i = 0; i < 4; i++) {
        stamps[i] = static_cast<unsigned char>(timeStamp >> (8 * i));
    }
    for (int i = 0; i < 8; i++) {
        stamps[4 + i] = static_cast<unsigned char>(hostTimeStamp >> (8 * i));
    }
    m_ring->write(lengthBytes, 2);
    m_ring->write(data, length);
    m_ring->write(stamps, 4);
    m_ring->write(stamps + 4, 8);
    m_dataArrived.notify_all();
}

bool MidiDataTransmissionThread::isAvailable(unsigned short size)
{
    std::unique_lock<std::mutex> lock(m_bufferMutex);
    return freeSpace() >= size;
}

bool MidiDataTransmissionThread::isEmptyBuffer()
{
    std::unique_lock<std::mutex> lock(m_bufferMutex);
    return ringEmpty();
}

void MidiDataTransmissionThread::readField(void* out, uint64_t size)
{
    if (m_ring->read(static_cast<unsigned char*>(out), size)) {
        m_lapCount--;
    }
}

void MidiDataTransmissionThread::readRecord(unsigned short& length, unsigned int& timeStamp,
                                            unsigned long long& hostTimeStamp, bool& passedByThru)
{
    unsigned char lengthBytes[2];
    readField(lengthBytes, 2);
    const auto marked = static_cast<unsigned short>(lengthBytes[0] | (lengthBytes[1] << 8));
    passedByThru = (marked & PassedMark) != 0;
    length = static_cast<unsigned short>(marked & ~PassedMark);
    readField(m_packet.data(), length);
    unsigned char stamps[12];
    readField(stamps, 4);
    readField(stamps + 4, 8);
    timeStamp = 0;
    for (int i = 0; i < 4; i++) {
        timeStamp |= static_cast<unsigned int>(stamps[i]) << (8 * i);
    }
    hostTimeStamp = 0;
    for (int i = 0; i < 8; i++) {
        hostTimeStamp |= static_cast<unsigned long long>(stamps[4 + i]) << (8 * i);
    }
}

void MidiDataTransmissionThread::run()
{
    std::unique_lock<std::mutex> lock(m_bufferMutex);
    while (!m_quit) {
        // Tested under the same lock the writer signals with: no wake-up is missed.
        if (ringEmpty() || !m_callback) {
            m_dataArrived.wait(lock);
            continue;
        }
        unsigned short length = 0;
        unsigned int timeStamp = 0;
        unsigned long long hostTimeStamp = 0;
        bool passedByThru = false;
        readRecord(length, timeStamp, hostTimeStamp, passedByThru);
        const MidiReceivedCallback callback = m_callback;
        void* const context = m_callbackContext;
        m_spaceFreed.notify_all();
        lock.unlock();
        callback(context, m_packet.data(), length, timeStamp, hostTimeStamp,
                 m_portGroup | (passedByThru ? PassedByServiceThru : 0u));
        lock.lock();
    }
}
