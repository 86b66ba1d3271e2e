// Sends the text of a system exclusive editor (or of the custom message
// window) without blocking the user interface: waits for a message text,
// converts it in chunks of 4096 bytes, splits it into MIDI messages with
// the parser when the parser is on (the bulk interval then separates
// system exclusive messages) and hands them to the main window's transmit
// operation, reporting progress and the outcome by queued signals.
//
// Threads: setTransmittionMessage, stopTransmittion, setBulkIntervalIgnored
// and updateParameter on the user-interface thread; run and everything it
// calls on this thread. The lock is held for one whole transmission, so
// stopTransmittion returns once the worker has left it. running and quit
// are atomics. Stopping: the destructor sets quit, wakes and joins.
#pragma once

#include <QString>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "ModelAssistant.h"
#include "midilib_data.h"
#include "midilib_parser.h"

class OstrelModel;

class MidiEditTransmittionThread : public QThread, public ModelAssistant {
    Q_OBJECT

public:
    enum Result { Processed = 0, Stopped = 1, Failed = 2 };
    static constexpr int SysExBufferSize = 4096;

    MidiEditTransmittionThread(OstrelModel* model, QObject* parent = nullptr);
    ~MidiEditTransmittionThread() override;

    virtual void setTransmittionMessage(const QString& text);
    // Clears running and returns once the transmission in progress has ended.
    virtual void stopTransmittion();
    // Clears running without waiting: the transmission ends after the
    // message in progress. A transmission not yet started is not affected.
    void requestStop() { m_running = false; }
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

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::atomic<bool> m_quit{false};
    std::atomic<bool> m_running{false};
    midilib_parser m_parser;
    QString m_message;
    bool m_parserEnabled = true;
    OstrelModel* m_model;
    bool m_bulkIntervalIgnored = false;

private:
    bool sendChunk(const QByteArray& bytes, quint32& sent);

    midilib_event m_event;   // the message being sent; this thread only
    midilib_data m_encoded;  // its bytes again
};
