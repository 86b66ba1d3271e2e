// One window class for four uses, chosen at construction: the MIDI In
// monitor, the MIDI Out monitor, the system exclusive editor, and an editor
// that opens listening for incoming system exclusive messages. Three pages:
// the text (general), progress while receiving or sending a long text, and
// the repeat page while the text is sent again and again. Each window owns
// a transmission thread for the whole of its life and a repeat thread while
// a repeat runs; they report back only by queued signals.
// User-interface thread.
#pragma once

#include <QFrame>

#include "FileStream.h"
#include "WindowRestorationInfo.h"

class MidiEditGeneralView;
class MidiEditProgressView;
class MidiEditRepeatMessageView;
class MidiEditRepeatTransmittionThread;
class MidiEditTransmittionThread;
class MidiEditViewHost;
class OstrelModel;
class QStackedLayout;
class QTimer;

class MidiEditView : public QFrame, public WindowRestorationInfo, public FileStream {
    Q_OBJECT

public:
    enum OpenMode {
        MidiInMonitor = 0,
        MidiOutMonitor = 1,
        SystemExclusive = 2,
        SystemExclusiveReceiving = 3,
    };
    enum View { GeneralPage = 0, ProgressPage = 1, RepeatMessagePage = 2 };

    // host: the application holding the editor; it outlives the editor.
    MidiEditView(QWidget* parent, OstrelModel* model, MidiEditViewHost* host, OpenMode mode,
                 const QString& text);
    ~MidiEditView() override;

    bool setDataStream(QDataStream& stream) override;
    bool getDataStream(QDataStream& stream) override;

    void receivedMessage(const QString& text, unsigned int byteCount);
    // A monitor's whole text of a tick, for its log (lines the view may drop).
    void logTraffic(const QByteArray& text);
    void insertText(const QString& text);
    void clearText();
    void transmitMessage(const QString& text);
    void startRepeatTransmittion(const QString& text);
    void stopRepeatTransmittion();
    // Cancel on the progress page: the transmission this window runs ends
    // after its current message, without waiting for the next progress report.
    void cancelTransmittion();
    void setReceivedMessageEnabled(bool enabled);
    // A listening editor waiting for the reply to a request: it stops
    // listening once seconds pass (0: never) with no transmission running and
    // nothing received; "No reply received." when nothing came at all.
    void listenForReply(int seconds);
    bool isWaitingForReply() const;
    void changeView(View view);

    OpenMode openMode() const { return m_openMode; }
    bool isMonitor() const { return m_isMonitor; }
    bool isReceiveEnabled() const { return m_receiveEnabled; }
    bool isTransmitting() const { return m_transmitting; }
    View currentView() const;
    MidiEditGeneralView* generalView() const { return m_generalView; }
    MidiEditProgressView* progressView() const { return m_progressView; }
    MidiEditRepeatMessageView* repeatMessageView() const { return m_repeatMessageView; }
    MidiEditTransmittionThread* transmissionThread() const { return m_thread; }
    MidiEditRepeatTransmittionThread* repeatThread() const { return m_repeatThread; }
    MidiEditViewHost* host() const { return m_host; }

public Q_SLOTS:
    void startTransmittion(quint32 totalBytes);
    void transmittionProgress(quint32 bytesSent);
    void finishTransmittion(qint32 result);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void deleteRepeatThread();
    void replyTimedOut();

    OpenMode m_openMode;
    bool m_isMonitor;
    bool m_receiveEnabled;
    OstrelModel* m_model;
    MidiEditViewHost* m_host;
    bool m_transmitting = false;
    QString m_transmissionError;  // why the transmission ending next failed, when it said
    QStackedLayout* m_pages;
    MidiEditGeneralView* m_generalView;
    MidiEditProgressView* m_progressView;
    MidiEditRepeatMessageView* m_repeatMessageView;
    MidiEditTransmittionThread* m_thread;
    MidiEditRepeatTransmittionThread* m_repeatThread = nullptr;
    QTimer* m_replyTimer;
};
