#include "MidiEditTransmittionThread.h"

#include "MidiMessageText.h"
#include "MidiNameTables.h"
#include "MidiSender.h"
#include "OstrelModel.h"
#include "midilib_data.h"

#include <algorithm>
#include <climits>

MidiEditTransmittionThread::MidiEditTransmittionThread(OstrelModel* model, MidiSender* sender,
                                                       QObject* parent)
    : QThread(parent), m_model(model), m_sender(sender)
{
    midilib_parser_init(&m_parser);
    m_parserEnabled = m_model->getModelIntValue(ParamMessageParsed, nullptr) != 0;
    m_model->registerModelAssistant(this);
}

MidiEditTransmittionThread::~MidiEditTransmittionThread()
{
    m_model->unregisterModelAssistant(this);
    quitAndWait();
}

void MidiEditTransmittionThread::quitAndWait()
{
    m_quit = true;
    m_running = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_wake.notify_all();
    }
    wait();
    // The worker left run() holding this lock last: taking it here makes its
    // end visible to checkers that cannot see inside QThread::wait.
    std::lock_guard<std::mutex> lock(m_lock);
}

void MidiEditTransmittionThread::setTransmittionMessage(const QString& text)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_message = text;
    // Set here rather than when the worker picks the text up, so that a
    // stop requested in between is not overwritten.
    m_running = true;
    m_wake.notify_all();
}

void MidiEditTransmittionThread::stopTransmittion()
{
    {
        // Under the lock a waiting worker tests its condition with: never missed.
        std::lock_guard<std::mutex> lock(m_lock);
        m_running = false;
    }
    m_wake.notify_all();
}

void MidiEditTransmittionThread::setBulkIntervalIgnored(bool ignored)
{
    m_bulkIntervalIgnored = ignored;
}

void MidiEditTransmittionThread::updateParameter(unsigned int id)
{
    if (id != ParamMessageParsed) {
        return;
    }
    m_parserEnabled = m_model->getModelIntValue(ParamMessageParsed, nullptr) > 0;
    m_parserReset = true;  // the worker starts its parser afresh at its next chunk
}

bool MidiEditTransmittionThread::takeMessage(std::unique_lock<std::mutex>& lock, QString& text)
{
    // Tested under the lock the message is handed over with: none is missed.
    m_wake.wait(lock, [this] { return m_quit || !m_message.isEmpty(); });
    if (m_quit) {
        return false;
    }
    text.clear();
    text.swap(m_message);
    return true;
}

void MidiEditTransmittionThread::run()
{
    QString text;
    std::unique_lock<std::mutex> lock(m_lock);
    while (takeMessage(lock, text)) {
        lock.unlock();
        transmitMessage(text);
        lock.lock();
    }
}

void MidiEditTransmittionThread::transmitMessage(QString& text)
{
    // One result per transmission: a failed or stopped one has reported its own.
    if (parseMessage(text)) {
        Q_EMIT finishTransmittion(Processed);
    }
}

void MidiEditTransmittionThread::interruptTransmittion()
{
    midilib_parser_clear(&m_parser);
    Q_EMIT finishTransmittion(m_running ? Failed : Stopped);
}

bool MidiEditTransmittionThread::sendChunk(const QByteArray& bytes, quint32& sent)
{
    if (m_parserReset.exchange(false)) {
        midilib_parser_init(&m_parser);
    }
    const bool skipBulkInterval = m_bulkIntervalIgnored;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (!m_parserEnabled) {
        if (!m_sender->send(data, static_cast<uint32_t>(bytes.size()), MessageTypeNotParsed,
                            OutputPortGroup_Both, skipBulkInterval) ||
            !m_running) {
            return false;
        }
        sent += static_cast<quint32>(bytes.size());
        Q_EMIT transmittionProgress(sent);
        return true;
    }
    midilib_parser_setData(&m_parser, data, static_cast<uint64_t>(bytes.size()));
    while (midilib_parser_parse(&m_parser, &m_event) == 0) {
        if (m_event.part != MIDILIB_SystemExclusive_Whole) {
            if (!joinPiece(m_parser.input.position, skipBulkInterval, sent)) {
                return false;
            }
            continue;
        }
        if (m_event.type < MIDILIB_Event_Type_TimingClock) {
            m_longOpen = false;  // a long one was cut off: it is no message
        }
        midilib_eventToData(&m_event, &m_encoded);
        if (!sendMessage(midilib_data_getMemory(&m_encoded), static_cast<uint32_t>(midilib_data_getSize(&m_encoded)),
                         m_event.type, skipBulkInterval, sent)) {
            return false;
        }
    }
    m_chunkStart += static_cast<quint64>(bytes.size());
    return true;
}

bool MidiEditTransmittionThread::sendMessage(const unsigned char* bytes, uint32_t size, unsigned char type,
                                             bool skipBulkInterval, quint32& sent)
{
    if (!m_sender->send(bytes, size, type, OutputPortGroup_Both, skipBulkInterval) || !m_running) {
        return false;
    }
    sent += size;
    Q_EMIT transmittionProgress(sent);
    return true;
}

bool MidiEditTransmittionThread::joinPiece(quint64 position, bool skipBulkInterval, quint32& sent)
{
    const uint8_t* piece = m_event.payload.systemExclusive.bytes;
    const auto size = static_cast<size_t>(m_event.payload.systemExclusive.size);
    if (m_event.part == MIDILIB_SystemExclusive_First) {
        // The parser has read the first piece and the byte after it.
        m_long.clear();
        m_longStart = m_chunkStart + position - size;
        m_longOpen = true;
    } else if (!m_longOpen) {
        return true;
    }
    if (m_long.size() + size > MaximumMessageSize) {
        refuse(m_longStart, tr("a system exclusive message longer than %1 bytes cannot be sent.")
                                .arg(MaximumMessageSize));
        return false;
    }
    m_long.insert(m_long.end(), piece, piece + size);
    if (m_event.part != MIDILIB_SystemExclusive_Last) {
        return true;
    }
    m_longOpen = false;
    const uint32_t largest = m_sender->largestMessage(OutputPortGroup_Both);
    const auto length = static_cast<uint32_t>(m_long.size());
    if (length > largest) {
        refuse(m_longStart, tr("a system exclusive message of %1 bytes; the output port takes at most %2 bytes.")
                                .arg(length)
                                .arg(largest));
        return false;
    }
    return sendMessage(m_long.data(), length, MIDILIB_Event_Type_SystemExclusive, skipBulkInterval, sent);
}

void MidiEditTransmittionThread::refuse(quint64 start, const QString& why)
{
    const auto digit = static_cast<int>(std::min<quint64>(start * 2, INT_MAX));
    const auto line = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), digit) - m_lineStarts.begin();
    Q_EMIT transmittionError(tr("Line %1: %2").arg(line).arg(why));
}

bool MidiEditTransmittionThread::parseMessage(const QString& text)
{
    const QString digits = MidiMessageText::removeUnnecessaryCharacters(text);
    const int length = digits.size();
    if (length == 0) {
        return true;
    }
    midilib_parser_clearRunningStatus(&m_parser);
    m_lineStarts = MidiMessageText::digitsBeforeLines(text);
    m_chunkStart = 0;
    m_longOpen = false;
    Q_EMIT startTransmittion(static_cast<quint32>(length / 2));
    quint32 sent = 0;
    QByteArray bytes;
    for (int offset = 0; offset < length; offset += 2 * SysExBufferSize) {
        const int chunk = std::min(2 * SysExBufferSize, length - offset);
        // A final odd digit is not sent; a chunk that is only that digit fails.
        if (chunk < 2 || !MidiMessageText::toBytes(digits.mid(offset, chunk), 0, chunk / 2, bytes) ||
            !sendChunk(bytes, sent)) {
            interruptTransmittion();
            return false;
        }
    }
    return true;
}
