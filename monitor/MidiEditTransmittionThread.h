// Sends the text of a system exclusive editor (or of the custom message
// window) without blocking the user interface: waits for a message text,
// converts it in chunks of 4096 bytes, splits it into MIDI messages with
// the parser when the parser is on (the bulk interval then separates
// system exclusive messages) and hands them to the sending interface,
// reporting progress and the outcome by queued signals. A system exclusive
// longer than the parser's buffer is joined from its pieces and sent whole
// (up to MaximumMessageSize); one longer than the outputs take stops the
// transmission before it, nothing of it sent, and transmittionError names
// its line and both sizes.
//
// Threads: setTransmittionMessage, stopTransmittion, setBulkIntervalIgnored
// and updateParameter on the user-interface thread; run and everything it
// calls on this thread, including every send.
// Locks: m_lock guards only the message handed over and the wake-up; the
// worker takes the message under it and sends with no lock held, so nothing
// on the user-interface thread ever waits for a send. The running, quit,
// parser and bulk interval switches are atomics the worker reads at each
// chunk; the parser itself belongs to the worker (a parser switch asks it
// to start afresh). Stopping: the destructor sets quit, wakes and joins.
#pragma once

#include <QString>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

#include <QVector>

#include "ModelAssistant.h"
#include "midilib_data.h"
#include "midilib_parser.h"

class MidiSender;
class OstrelModel;

class MidiEditTransmittionThread : public QThread, public ModelAssistant {
    Q_OBJECT

public:
    enum Result { Processed = 0, Stopped = 1, Failed = 2 };
    static constexpr int SysExBufferSize = 4096;

    // sender outlives the thread.
    MidiEditTransmittionThread(OstrelModel* model, MidiSender* sender, QObject* parent = nullptr);
    ~MidiEditTransmittionThread() override;

    virtual void setTransmittionMessage(const QString& text);
    // Clears running without waiting: the transmission in progress ends
    // after the message being sent and reports Stopped. A transmission not
    // yet started is not affected.
    virtual void stopTransmittion();
    void setBulkIntervalIgnored(bool ignored);
    void updateParameter(unsigned int id) override;

Q_SIGNALS:
    void startTransmittion(quint32 totalBytes);
    void transmittionProgress(quint32 bytesSent);
    void finishTransmittion(qint32 result);
    // Why the transmission that ends next with Failed failed.
    void transmittionError(const QString& text);

protected:
    void run() override;
    virtual void transmitMessage(QString& text);
    virtual void interruptTransmittion();
    // Sends text; false when it was interrupted (stopped or failed).
    bool parseMessage(const QString& text);
    void quitAndWait();
    // Waits (lock held, released while waiting) for a message or quit and
    // moves the message into text; false on quit.
    bool takeMessage(std::unique_lock<std::mutex>& lock, QString& text);

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::atomic<bool> m_quit{false};
    std::atomic<bool> m_running{false};
    QString m_message;  // m_lock
    OstrelModel* m_model;
    MidiSender* m_sender;

private:
    bool sendChunk(const QByteArray& bytes, quint32& sent);
    bool sendMessage(const unsigned char* bytes, uint32_t size, unsigned char type, bool skipBulkInterval,
                     quint32& sent);
    // A piece of a long system exclusive (m_event), the parser's input at
    // position of the chunk: joined, and the whole sent after its last
    // piece. False when the transmission ends (stopped, failed, refused).
    bool joinPiece(quint64 position, bool skipBulkInterval, quint32& sent);
    // Says why the message beginning at byte start of the text cannot go.
    void refuse(quint64 start, const QString& why);

    std::atomic<bool> m_parserEnabled{true};
    std::atomic<bool> m_parserReset{false};
    std::atomic<bool> m_bulkIntervalIgnored{false};
    midilib_parser m_parser;  // this thread only

    midilib_event m_event;   // the message being sent; this thread only
    midilib_data m_encoded;  // its bytes again
    std::vector<unsigned char> m_long;  // a long system exclusive being joined; this thread only
    quint64 m_longStart = 0;            // the byte of the text it begins at
    bool m_longOpen = false;
    QVector<int> m_lineStarts;  // digits before each line of the text being sent
    quint64 m_chunkStart = 0;   // bytes of the text before the chunk being sent
};
