// The MIDI client and the four ports (inputs and outputs 1 and 2), created
// together on one time origin so every time stamp compares. Lists endpoint
// names, opens a port by its place in that list or by a stored name, lets
// one go, and writes each choice to the INI file. It is the port selection
// of the settings window, and says when the lists were read again.
//
// Threads: everything here on the user-interface thread. The ports it hands
// out are used by the senders and the input workers from their own threads
// (see MidiInputPort and MidiOutputPort); the set only opens and closes them.
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

#include "MidiCommon.h"
#include "MidiPortSelection.h"

class MidiClient;
class MidiInputPort;
class MidiOutputPort;
class OstrelModel;
enum class MidiApi;

class PortSet : public QObject, public MidiPortSelection {
    Q_OBJECT

public:
    // reportError shows a failure to the user ("Port open failed.").
    PortSet(MidiApi api, std::function<void(const QString&)> reportError);
    ~PortSet() override;

    MidiClient* client() const { return m_client.get(); }
    MidiInputPort* input(InputPortGroup group) const;
    MidiOutputPort* output(OutputPortGroup group) const;  // null for both groups

    void getInputPortList(InputPortGroup group, QStringList& names, unsigned int& currentIndex) override;
    void getOutputPortList(OutputPortGroup group, QStringList& names, unsigned int& currentIndex) override;
    unsigned int currentInputIndex(InputPortGroup group);
    unsigned int currentOutputIndex(OutputPortGroup group);
    // Opens endpoint index (InvalidPortIndex: disconnects) and writes the
    // name to the INI file; "Port open failed." and false when it fails.
    bool inputPortMenuSelected(InputPortGroup group, unsigned int index) override;
    bool outputPortMenuSelected(OutputPortGroup group, unsigned int index) override;
    bool closeInputPort(InputPortGroup group) override;
    bool closeOutputPort(OutputPortGroup group) override;

    // At start-up: each port opened by the name the INI file stores, the
    // model's port indexes set to what was found (0 for none).
    void openStoredPorts(OstrelModel* model);
    // Group 1's endpoint names read again for its menu, with the name in
    // use; a port whose endpoint is gone is closed. Says the lists changed.
    QStringList refreshInputNames(QString& current);
    QStringList refreshOutputNames(QString& current);
    // The input ports end first (their workers joined): MIDI thru may be
    // sending through the path the outputs serve.
    void closeInputs();

Q_SIGNALS:
    // A port may have opened, closed or lost its endpoint (also sent when
    // nothing changed).
    void portsChanged();
    void inputPortListUpdated();
    void outputPortListUpdated();

private:
    void writePortName(const char* key, const QString& name);

    std::function<void(const QString&)> m_reportError;
    std::unique_ptr<MidiClient> m_client;
    std::unique_ptr<MidiInputPort> m_inputs[2];
    std::unique_ptr<MidiOutputPort> m_outputs[2];
};
