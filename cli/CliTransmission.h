// One text sent as the editor sends it: the editor's sending thread splits
// it into messages, waits out the bulk interval and hands them to the
// session's sending path. finished() comes (queued, on the main thread)
// when the text went, failed or was stopped; error() then says why a
// failed one failed.
//
// Threads: everything here on the main thread; the sending thread sends
// and is joined by the destructor.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class CliSession;
class MidiEditTransmittionThread;

class CliTransmission : public QObject {
    Q_OBJECT

public:
    explicit CliTransmission(CliSession* session);
    ~CliTransmission() override;

    void start(const QString& text);
    // Ends the transmission after the message being sent (finished follows).
    void stop();
    bool isFinished() const { return m_finished; }
    bool succeeded() const { return m_succeeded; }
    QString error() const { return m_error; }

Q_SIGNALS:
    void finished();

private:
    std::unique_ptr<MidiEditTransmittionThread> m_thread;
    bool m_finished = true;
    bool m_succeeded = false;
    QString m_error;
};
