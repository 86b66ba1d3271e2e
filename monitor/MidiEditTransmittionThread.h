// Sends the text of a system exclusive editor (or of the custom message
// window) without blocking the user interface: waits for a message text,
// converts it in chunks of 4096 bytes, splits it into MIDI messages with
// the parser when the parser is on (the bulk interval then separates
// system exclusive messages) and hands them to the sending interface,
// reporting progress and the outcome by queued signals.
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

    std::atomic<bool> m_parserEnabled{true};
    std::atomic<bool> m_parserReset{false};
    std::atomic<bool> m_bulkIntervalIgnored{false};
    midilib_parser m_parser;  // this thread only

    midilib_event m_event;   // the message being sent; this thread only
    midilib_data m_encoded;  // its bytes again
};
