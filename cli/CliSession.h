// What every subcommand works with: the parameter model (defaults, or a
// user's settings file), the MIDI client of the chosen service, two input
// and two output ports on one time origin, the analyzer the inputs deliver
// to, and the sending path through the bulk interval. Ports are chosen by
// a word that names exactly one endpoint (see PortMatch).
//
// Threads: everything here on the main thread. The input ports' workers
// call the analyzer; senders (the transmission threads) use sender() from
// their own threads and must have ended before the session does. The
// destructor closes the inputs first (their workers joined), then the
// outputs, then the client.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

#include "TrafficCounts.h"

class MidiAnalyzer;
class MidiBulkIntervalManager;
class MidiClient;
class MidiInputPort;
class MidiOutputPort;
class MidiSendPath;
class MidiSender;
class ThruRouter;
class OstrelModel;
enum class MidiApi;

class CliSession {
public:
    explicit CliSession(MidiApi api);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    OstrelModel* model() const { return m_model.get(); }
    MidiClient* client() const { return m_client.get(); }
    MidiAnalyzer* analyzer() const { return m_analyzer.get(); }
    MidiSender* sender() const;
    MidiOutputPort* output() const { return m_outputs[0].get(); }

    // Everything a settings file holds but ports and layout; the filter
    // alone. False, with the reason, when the file cannot be read.
    bool readSettings(const QString& path, QString& error);
    bool readFilter(const QString& path, QString& error);
    // Connects input group (0 or 1) or output 1 to the endpoint word names;
    // false with the reason. name() then gives the endpoint's full name.
    bool openInput(unsigned int group, const QString& word, QString& error);
    bool openOutput(const QString& word, QString& error);
    // Every endpoint's name as the port menus list it (empty, with an
    // error, when the service cannot be asked).
    QStringList inputNames(QString& error, unsigned int group = 0) const;
    QStringList outputNames(QString& error) const;
    QString inputName(unsigned int group) const { return m_inputNames[group]; }
    QString outputName() const { return m_outputName; }
    // MIDI thru where the window would pass it: by the service (JACK: in the
    // cycle a message came in) when input 1 and output 1 are its endpoints,
    // else on the analyzer's path. After the ports are open.
    void routeThru();
    // What the inputs received and lost so far, as the window counts it.
    TrafficCounts counts() const;

private:
    static bool readable(const QString& path, QString& error);

    std::unique_ptr<OstrelModel> m_model;
    std::unique_ptr<MidiClient> m_client;
    std::unique_ptr<MidiInputPort> m_inputs[2];
    std::unique_ptr<MidiOutputPort> m_outputs[2];
    std::unique_ptr<MidiAnalyzer> m_analyzer;
    std::unique_ptr<MidiBulkIntervalManager> m_bulkInterval;
    std::unique_ptr<MidiSendPath> m_sendPath;
    std::unique_ptr<ThruRouter> m_thruRouter;
    QString m_inputNames[2];
    QString m_outputName;
};
