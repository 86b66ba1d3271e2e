#include "CliSession.h"

#include <QFileInfo>
#include <QSettings>

#include "MidiAnalyzer.h"
#include "MidiBulkIntervalManager.h"
#include "MidiClient.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiSendPath.h"
#include "OstrelModel.h"
#include "PortGroups.h"
#include "PortMatch.h"
#include "SettingsFile.h"
#include "ThruRouter.h"

CliSession::CliSession(MidiApi api)
    : m_model(std::make_unique<OstrelModel>()), m_client(std::make_unique<MidiClient>(api))
{
    PortGroups::create(m_client.get(), m_inputs, m_outputs);
    m_analyzer = std::make_unique<MidiAnalyzer>(m_model.get());
    m_bulkInterval = std::make_unique<MidiBulkIntervalManager>(m_model.get());
    m_sendPath = std::make_unique<MidiSendPath>(m_outputs[0].get(), m_outputs[1].get(), m_analyzer.get(),
                                                m_bulkInterval.get());
    for (const auto& input : m_inputs) {
        input->setReceivedMidiCallbackFunc(&MidiAnalyzer::callbackReceivedMidi, m_analyzer.get());
    }
}

CliSession::~CliSession()
{
    m_thruRouter.reset();
    for (auto& input : m_inputs) {
        input.reset();
    }
    for (auto& output : m_outputs) {
        output.reset();
    }
    m_client.reset();
}

MidiSender* CliSession::sender() const
{
    return m_sendPath.get();
}

bool CliSession::readable(const QString& path, QString& error)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        error = QStringLiteral("cannot read \"%1\"").arg(path);
        return false;
    }
    return true;
}

bool CliSession::readSettings(const QString& path, QString& error)
{
    if (!readable(path, error)) {
        return false;
    }
    QSettings settings(path, QSettings::IniFormat);
    m_model->lockParameterEditFlag();
    SettingsFile::readDirectories(m_model.get(), settings);
    SettingsFile::readFilter(m_model.get(), settings);
    SettingsFile::readThru(m_model.get(), settings);
    SettingsFile::readPreferences(m_model.get(), settings);
    m_model->unlockParameterEditFlag();
    return true;
}

bool CliSession::readFilter(const QString& path, QString& error)
{
    if (!readable(path, error)) {
        return false;
    }
    QSettings settings(path, QSettings::IniFormat);
    m_model->lockParameterEditFlag();
    SettingsFile::readFilter(m_model.get(), settings);
    m_model->unlockParameterEditFlag();
    return true;
}

QStringList CliSession::inputNames(QString& error, unsigned int group) const
{
    MIDI_RESULT result = MIDI_RESULT_SUCCESS;
    const QStringList names = m_inputs[group]->getInputPortNameList(&result);
    if (result != MIDI_RESULT_SUCCESS && names.isEmpty()) {
        error = QStringLiteral("the MIDI service cannot list its input ports");
    }
    return names;
}

QStringList CliSession::outputNames(QString& error) const
{
    MIDI_RESULT result = MIDI_RESULT_SUCCESS;
    const QStringList names = m_outputs[0]->getOutputPortNameList(&result);
    if (result != MIDI_RESULT_SUCCESS && names.isEmpty()) {
        error = QStringLiteral("the MIDI service cannot list its output ports");
    }
    return names;
}

bool CliSession::openInput(unsigned int group, const QString& word, QString& error)
{
    const QStringList names = inputNames(error, group);
    if (names.isEmpty() && !error.isEmpty()) {
        return false;
    }
    const int index = PortMatch::find(names, word, QStringLiteral("input"), error);
    if (index < 0) {
        return false;
    }
    if (m_inputs[group]->openInputPort(static_cast<unsigned int>(index)) != MIDI_RESULT_SUCCESS) {
        error = QStringLiteral("cannot open the input port \"%1\"").arg(names.at(index));
        return false;
    }
    m_inputNames[group] = names.at(index);
    return true;
}

bool CliSession::openOutput(const QString& word, QString& error)
{
    const QStringList names = outputNames(error);
    if (names.isEmpty() && !error.isEmpty()) {
        return false;
    }
    const int index = PortMatch::find(names, word, QStringLiteral("output"), error);
    if (index < 0) {
        return false;
    }
    if (m_outputs[0]->openOutputPort(static_cast<unsigned int>(index)) != MIDI_RESULT_SUCCESS) {
        error = QStringLiteral("cannot open the output port \"%1\"").arg(names.at(index));
        return false;
    }
    m_outputName = names.at(index);
    return true;
}

void CliSession::routeThru()
{
    if (!m_thruRouter) {
        MidiInputPort* const inputs[2] = {m_inputs[0].get(), m_inputs[1].get()};
        MidiOutputPort* const outputs[2] = {m_outputs[0].get(), m_outputs[1].get()};
        m_thruRouter = std::make_unique<ThruRouter>(*m_client, inputs, outputs, *m_analyzer);
    }
    m_thruRouter->update();
}

TrafficCounts CliSession::counts() const
{
    TrafficCounts counts;
    for (unsigned int group = 0; group < 2; group++) {
        counts.messages[group] = m_analyzer->receivedMessages(group);
        counts.lost[group] = m_inputs[group]->droppedPackets() + m_analyzer->lostMessages(group);
    }
    counts.lostOnArrival = m_client->droppedOnArrival();
    counts.overruns = m_client->inputOverruns();
    counts.skippedCycles = m_client->skippedCycles();
    counts.xruns = m_client->xruns();
    return counts;
}
