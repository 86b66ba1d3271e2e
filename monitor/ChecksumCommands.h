// The editor's checksum commands in its context menu: Insert Checksum and
// Verify Checksum, each as a 7-bit sum or XOR (see SysExChecksum), and the
// byte a checksum starts from (a preference). Results and refusals are
// said in a box. User-interface thread.
#pragma once

#include <QObject>

#include "SysExChecksum.h"

class MidiEditTextView;
class MidiEditViewHost;
class OstrelModel;
class QMenu;

class ChecksumCommands : public QObject {
    Q_OBJECT

public:
    ChecksumCommands(MidiEditTextView* text, OstrelModel* model, MidiEditViewHost* host);

    void addTo(QMenu* menu);
    // True when the text changed.
    bool insert(SysExChecksum::Kind kind);
    // The report shown in the box.
    QString verify(SysExChecksum::Kind kind);
    // Asks for the first byte a checksum covers.
    void chooseStart();

private:
    int start() const;

    MidiEditTextView* m_text;
    OstrelModel* m_model;
    MidiEditViewHost* m_host;
};
