// The main page of a monitor or system exclusive editor window: the text,
// and for editors the toolbar (new, open, save, transmit, receive, transmit
// and receive, find), the repeat settings bar, the find bar, dump files
// dropped on the text and the byte counts in the transmit buttons' tips.
// Monitors are read-only, dark, coloured by the parser rules and keep the
// last 1024 lines. User-interface thread.
#pragma once

#include <QColor>
#include <QWidget>

#include "ModelAssistant.h"
#include "TextBacklog.h"

class ChecksumCommands;
class MonitorCommands;
class MidiEditTextView;
class MidiEditView;
class OstrelModel;
class QDragEnterEvent;
class QDropEvent;
class QTimer;
class QToolButton;
class ReferenceWidget;
class RepeatSettingsView;
class TextHighlighter;

class MidiEditGeneralView : public QWidget, public ModelAssistant {
    Q_OBJECT

public:
    static constexpr int MonitorViewLineLimit = 1024;
    static constexpr int ToolbarHeight = 36;
    // Appended text goes into the view in pieces of about this many
    // characters, one piece per pass of the event loop.
    static constexpr int InsertSliceSize = 128 * 1024;
    static const QColor MonitorBackgroundColor;
    static const QColor MonitorTextColor;

    // openMode is one of MidiEditView::OpenMode.
    MidiEditGeneralView(MidiEditView* owner, OstrelModel* model, int openMode, QWidget* parent = nullptr);
    ~MidiEditGeneralView() override;

    void setText(const QString& text);
    // Appends text that was received or monitored (never an edit of the
    // project): at once when little is waiting, otherwise piece by piece.
    void insertText(const QString& text);
    // Everything still waiting goes into the view now.
    void flushInsertedText();
    bool hasPendingText() const { return !m_backlog.isEmpty(); }
    // Held: appended text waits (only the last lines a monitor keeps) and
    // goes in at once when released.
    void setInsertionHeld(bool held);
    // The whole text; true when it is not empty.
    bool getText(QString& text);
    // The text with what still waits after it, as the view will show it,
    // leaving the view as it is (a paused monitor stays paused).
    QString textWithPending() const;
    bool hasText() const;
    void changeHighLighter();
    void minimalizeScrollAreaForMac();
    // label with every "Transmit" followed by the byte count of what would
    // be sent: "Transmit (12 Bytes) and Receive"; unchanged when unknown.
    QString createTooltipTransmissionByteString(const QString& label) const;
    void updateParameter(unsigned int id) override;

    // The file halves of Open, Save and a drop, after the path is known.
    // Unreadable or unwritable files are reported and change nothing.
    bool openDumpFile(const QString& path, const QSize& newEditorSize);
    bool saveDumpFile(const QString& path);

    MidiEditTextView* textView() const { return m_textView; }
    QWidget* toolbar() const { return m_toolbar; }
    ReferenceWidget* findBar() const { return m_findBar; }
    RepeatSettingsView* repeatSettings() const { return m_repeatSettings; }
    ChecksumCommands* checksums() const { return m_checksums; }  // editors only
    MonitorCommands* monitorCommands() const { return m_monitorCommands; }  // monitors only
    TextHighlighter* highlighter() const { return m_highlighter; }
    QToolButton* transmitButton() const { return m_transmitButton; }
    QToolButton* transmitAndReceiveButton() const { return m_transmitAndReceiveButton; }
    int repeatInterval() const { return m_repeatInterval; }
    int lineLimit() const { return m_lineLimit; }

public Q_SLOTS:
    void transmitMidi(const QString& message);
    void transmitMenuSelected();
    void receiveMenuSelected();
    void transmitAndReceiveMenuSelected();
    void newMenuSelected();
    void openMenuSelected();
    void saveMenuSelected();
    void searchMenuSelected();
    void settingsMenuSelected();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isMonitor() const;
    bool isTransmitting() const;
    QWidget* createToolbar();
    void setUpMonitor();
    void setUpEditor();
    void transmitFromSettings();
    MidiEditView* openReceivingEditor();
    QString dumpFileDirectory() const;
    // The Open or Save dialog on the dump folder and the last filter used.
    QString askForDumpFile(bool save);
    void setDumpFileDirectory(const QString& path);
    bool handleDragEnter(QDragEnterEvent* event);
    bool handleDrop(QDropEvent* event);
    void insertNextPiece();

    MidiEditView* m_owner;
    MidiEditTextView* m_textView;
    int m_lineLimit = 0;
    OstrelModel* m_model;
    QWidget* m_toolbar = nullptr;
    TextHighlighter* m_highlighter = nullptr;
    ReferenceWidget* m_findBar = nullptr;
    RepeatSettingsView* m_repeatSettings = nullptr;
    ChecksumCommands* m_checksums = nullptr;
    MonitorCommands* m_monitorCommands = nullptr;
    bool m_held = false;
    int m_repeatInterval;
    int m_openMode;
    QToolButton* m_transmitButton = nullptr;
    QToolButton* m_transmitAndReceiveButton = nullptr;
    TextBacklog m_backlog;
    QTimer* m_insertTimer;
};
