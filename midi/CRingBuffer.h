// A byte ring of fixed capacity. The caller keeps track of laps; an index
// equal to the capacity is legal and means the end: the next access wraps.
// Not locked: its owner guards it (MidiDataTransmissionThread's bufferMutex).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

template <typename T>
class CRingBuffer {
public:
    explicit CRingBuffer(uint64_t capacity)
        : m_buffer(new T[capacity]()), m_capacity(capacity)
    {
    }
    virtual ~CRingBuffer() = default;

    CRingBuffer(const CRingBuffer&) = delete;
    CRingBuffer& operator=(const CRingBuffer&) = delete;

    uint64_t capacity() const { return m_capacity; }
    uint64_t writeIndex() const { return m_writeIndex; }
    uint64_t readIndex() const { return m_readIndex; }

    // Writes count elements at the write index, the part that does not fit
    // before the end going to the start. True when the write passed the end.
    bool write(const T* data, uint64_t count)
    {
        return transfer(m_writeIndex, const_cast<T*>(data), count, true);
    }

    // Reads count elements at the read index, wrapping like write.
    bool read(T* data, uint64_t count) { return transfer(m_readIndex, data, count, false); }

private:
    bool transfer(uint64_t& index, T* data, uint64_t count, bool toRing)
    {
        if (count == 0) {
            return false;  // an empty field never moves the index, not even to wrap
        }
        if (index == m_capacity) {
            index = 0;
            transferSpan(index, data, count, toRing);
            return true;
        }
        const uint64_t first = count < m_capacity - index ? count : m_capacity - index;
        transferSpan(index, data, first, toRing);
        if (first == count) {
            return false;
        }
        index = 0;
        transferSpan(index, data + first, count - first, toRing);
        return true;
    }

    void transferSpan(uint64_t& index, T* data, uint64_t count, bool toRing)
    {
        if (toRing) {
            std::memcpy(m_buffer.get() + index, data, count * sizeof(T));
        } else {
            std::memcpy(data, m_buffer.get() + index, count * sizeof(T));
        }
        index += count;
    }

    std::unique_ptr<T[]> m_buffer;
    uint64_t m_capacity;
    uint64_t m_writeIndex = 0;
    uint64_t m_readIndex = 0;
};
