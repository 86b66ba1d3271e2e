#include "MidiEditTransmittionThread.h"

#include "MidiMessageText.h"
#include "MidiNameTables.h"
#include "MidiSender.h"
#include "OstrelModel.h"
#include "midilib_data.h"

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
        if (!m_sender->send(data, static_cast<unsigned short>(bytes.size()), MessageTypeNotParsed,
                            OutputPortGroup_Both, skipBulkInterval) ||
            !m_running) {
            return false;
        }
        sent += static_cast<quint32>(bytes.size());
        Q_EMIT transmittionProgress(sent);
        return true;
    }
    midilib_event& event = m_event;
    midilib_data& encoded = m_encoded;
    midilib_parser_setData(&m_parser, data, static_cast<uint64_t>(bytes.size()));
    while (midilib_parser_parse(&m_parser, &event) == 0) {
        midilib_eventToData(&event, &encoded);
        const auto size = static_cast<unsigned short>(midilib_data_getSize(&encoded));
        if (!m_sender->send(midilib_data_getMemory(&encoded), size, event.type, OutputPortGroup_Both,
                            skipBulkInterval) ||
            !m_running) {
            return false;
        }
        sent += size;
        Q_EMIT transmittionProgress(sent);
    }
    return true;
}

bool MidiEditTransmittionThread::parseMessage(const QString& text)
{
    const QString digits = MidiMessageText::removeUnnecessaryCharacters(text);
    const int length = digits.size();
    if (length == 0) {
        return true;
    }
    midilib_parser_clearRunningStatus(&m_parser);
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
