// A monitor's own commands, in its context menu after Clear: Pause (also
// the Pause key) freezes the view while the text goes on arriving and
// shows the latest lines at once on resuming, with "(paused)" in the
// title meanwhile; Find (Ctrl+F) opens the find bar; Save Text As writes
// what the view shows; Log to File appends every line the monitor is
// handed, also those the view drops, until it is switched off or the
// window closes (MonitorLog). Both files hold the monitor's lines exactly.
// The MIDI In monitor also has Record, which writes what it shows to a
// Standard MIDI File (SmfRecorder) until switched off or the window closes;
// the file is synced with every batch, so a crash loses at most the last
// tick. A write that fails stops the log or the recording with one message
// box (shown after the current work, never inside it), and its menu item
// is unchecked.
// User-interface thread.
#pragma once

#include <QObject>
#include <QString>

#include "MidiAnalyzer.h"
#include "MonitorLog.h"
#include "SmfRecorder.h"

class MidiEditGeneralView;
class MidiEditViewHost;
class OstrelModel;
class QWidget;
class QMenu;

class MonitorCommands : public QObject {
    Q_OBJECT

public:
    MonitorCommands(MidiEditGeneralView* page, OstrelModel* model, MidiEditViewHost* host, bool recordable);
    ~MonitorCommands() override;

    void addTo(QMenu* menu);

    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }
    // Asks for a file, then saveText / startLog.
    void saveTextAs();
    void chooseLogFile();
    bool saveText(const QString& path);
    bool startLog(const QString& path);
    void stopLog();
    bool isLogging() const { return m_log.isOpen(); }
    uint64_t lostLines() const { return m_log.lostLines(); }
    // Every text the monitor is handed, whether the view shows it or not.
    void log(const QByteArray& text) { m_log.append(text); }

    void chooseRecordFile();
    bool startRecording(const QString& path);
    // False when the file could not be completed. What the analyzer still
    // held is written first (recordingChanged hands it over).
    bool stopRecording();
    bool isRecording() const { return m_recorder.isOpen(); }
    // Adds a batch of messages and syncs the file.
    void record(const MidiAnalyzer::Recording& recording);
    // Stops a log whose writes failed (the monitor feed asks every tick).
    void checkFiles();

Q_SIGNALS:
    // The analyzer keeps what arrives for the file from now on (or no longer).
    void recordingChanged(bool on);

private:
    QWidget* frame() const;
    QString askForFile(const QString& caption, const char* filter);
    void recordingFailed();
    // A critical box once the current work is done.
    void sayLater(const QString& text);

    MidiEditGeneralView* m_page;
    OstrelModel* m_model;
    MidiEditViewHost* m_host;
    bool m_paused = false;
    QString m_title;  // the window's title without "(paused)"
    MonitorLog m_log;
    bool m_recordable;
    SmfRecorder m_recorder;
    QString m_recordPath;
};
