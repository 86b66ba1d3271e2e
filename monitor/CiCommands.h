// The editor's "Insert MIDI-CI" menu in its context menu: Discovery,
// Endpoint Inquiry, Profile Inquiry and Property Exchange Get of
// "ResourceList" and "DeviceInfo" (see CiMessages), each put in at the
// cursor on a line of its own; the Get's request ID counts up through the
// session. F7 then sends the message and collects the replies.
// User-interface thread.
#pragma once

#include <QObject>

class MidiEditTextView;
class QMenu;

class CiCommands : public QObject {
    Q_OBJECT

public:
    explicit CiCommands(MidiEditTextView* text);

    void addTo(QMenu* menu);
    // Puts the message's text in at the cursor, on its own line.
    void insert(const QByteArray& message);

private:
    MidiEditTextView* m_text;
};
