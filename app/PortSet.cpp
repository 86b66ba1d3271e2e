#include "PortSet.h"

#include <QSettings>

#include "MidiClient.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "OstrelModel.h"
#include "PortGroups.h"
#include "SettingsStore.h"

namespace {

const char* const InputKeys[] = {"InputPortName", "InputPortNameSecond"};
const char* const OutputKeys[] = {"OutputPortName", "OutputPortNameSecond"};

// "Not Connected" and the names; the place of current in that list (0: none).
QStringList withNoAssign(const QStringList& names, const QString& current, unsigned int& currentIndex)
{
    const QStringList all = QStringList(QString::fromLatin1(NoAssign)) + names;
    const int position = static_cast<int>(all.indexOf(current));
    currentIndex = position < 0 ? 0u : static_cast<unsigned int>(position);
    return all;
}

bool isStored(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(NoAssign);
}

}  // namespace

PortSet::PortSet(MidiApi api, std::function<void(const QString&)> reportError)
    : m_reportError(std::move(reportError)), m_client(std::make_unique<MidiClient>(api))
{
    PortGroups::create(m_client.get(), m_inputs, m_outputs);
}

PortSet::~PortSet()
{
    closeInputs();
    for (auto& port : m_outputs) {
        port.reset();
    }
    m_client.reset();
}

void PortSet::closeInputs()
{
    for (auto& port : m_inputs) {
        port.reset();
    }
}

MidiInputPort* PortSet::input(InputPortGroup group) const
{
    return m_inputs[group].get();
}

MidiOutputPort* PortSet::output(OutputPortGroup group) const
{
    return group == OutputPortGroup_Both ? nullptr : m_outputs[group].get();
}

void PortSet::getInputPortList(InputPortGroup group, QStringList& names, unsigned int& currentIndex)
{
    MidiInputPort* port = m_inputs[group].get();
    QString current;
    port->getCurrentPortName(current);
    names = withNoAssign(port->getInputPortNameList(nullptr), current, currentIndex);
    Q_EMIT portsChanged();
}

void PortSet::getOutputPortList(OutputPortGroup group, QStringList& names, unsigned int& currentIndex)
{
    MidiOutputPort* port = m_outputs[group].get();
    QString current;
    port->getCurrentPortName(current);
    names = withNoAssign(port->getOutputPortNameList(nullptr), current, currentIndex);
    Q_EMIT portsChanged();
}

unsigned int PortSet::currentInputIndex(InputPortGroup group)
{
    QStringList names;
    unsigned int index = 0;
    getInputPortList(group, names, index);
    return index;
}

unsigned int PortSet::currentOutputIndex(OutputPortGroup group)
{
    QStringList names;
    unsigned int index = 0;
    getOutputPortList(group, names, index);
    return index;
}

void PortSet::writePortName(const char* key, const QString& name)
{
    QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("PortName"));
    settings.setValue(QString::fromLatin1(key), name);
    settings.endGroup();
}

bool PortSet::inputPortMenuSelected(InputPortGroup group, unsigned int index)
{
    MidiInputPort* port = m_inputs[group].get();
    if (port->portNameList().isEmpty()) {
        port->getInputPortNameList(nullptr);  // the index is into the names listed
    }
    port->closeInputPort();
    QString name = QString::fromLatin1(NoAssign);
    bool opened = true;
    if (static_cast<int>(index) != InvalidPortIndex) {
        opened = port->openInputPort(index) == MIDI_RESULT_SUCCESS;
        if (opened) {
            port->getCurrentPortName(name);
        } else {
            m_reportError(tr("Port open failed."));
        }
    }
    writePortName(InputKeys[group], name);
    Q_EMIT portsChanged();
    return opened;
}

bool PortSet::outputPortMenuSelected(OutputPortGroup group, unsigned int index)
{
    if (group == OutputPortGroup_Both) {
        return false;
    }
    MidiOutputPort* port = m_outputs[group].get();
    if (port->portNameList().isEmpty()) {
        port->getOutputPortNameList(nullptr);  // the index is into the names listed
    }
    port->closeOutputPort();
    QString name = QString::fromLatin1(NoAssign);
    bool opened = true;
    if (static_cast<int>(index) != InvalidPortIndex) {
        opened = port->openOutputPort(index) == MIDI_RESULT_SUCCESS;
        if (opened) {
            port->getCurrentPortName(name);
        } else {
            m_reportError(tr("Port open failed."));
        }
    }
    writePortName(OutputKeys[group], name);
    Q_EMIT portsChanged();
    return opened;
}

bool PortSet::closeInputPort(InputPortGroup group)
{
    const bool closed = m_inputs[group]->closeInputPort() == MIDI_RESULT_SUCCESS;
    Q_EMIT portsChanged();
    return closed;
}

bool PortSet::closeOutputPort(OutputPortGroup group)
{
    const bool closed = group != OutputPortGroup_Both && m_outputs[group]->closeOutputPort() == MIDI_RESULT_SUCCESS;
    Q_EMIT portsChanged();
    return closed;
}

void PortSet::openStoredPorts(OstrelModel* model)
{
    QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("PortName"));
    for (unsigned int group = 0; group < 2; group++) {
        const auto inputGroup = static_cast<InputPortGroup>(group);
        const QString name = settings.value(QLatin1String(InputKeys[group])).toString();
        // None stored: nothing to look up (listing waits for the service).
        if (!isStored(name)) {
            model->setModelIntValue(group == 0 ? ParamInputPortIndex : ParamInputPortIndexSecond, 0);
            continue;
        }
        m_inputs[group]->openInputPort(name);
        const unsigned int index = currentInputIndex(inputGroup);
        if (index == 0) {
            m_inputs[group]->closeInputPort();
        }
        model->setModelIntValue(group == 0 ? ParamInputPortIndex : ParamInputPortIndexSecond,
                                static_cast<int>(index));
    }
    for (unsigned int group = 0; group < 2; group++) {
        const auto outputGroup = static_cast<OutputPortGroup>(group);
        const QString name = settings.value(QLatin1String(OutputKeys[group])).toString();
        if (!isStored(name)) {
            model->setModelIntValue(group == 0 ? ParamOutputPortIndex : ParamOutputPortIndexSecond, 0);
            continue;
        }
        m_outputs[group]->openOutputPort(name);
        const unsigned int index = currentOutputIndex(outputGroup);
        if (index == 0) {
            m_outputs[group]->closeOutputPort();
        }
        model->setModelIntValue(group == 0 ? ParamOutputPortIndex : ParamOutputPortIndexSecond,
                                static_cast<int>(index));
    }
    settings.endGroup();
    Q_EMIT portsChanged();
}

QStringList PortSet::refreshInputNames(QString& current)
{
    MidiInputPort* port = m_inputs[InputPortGroup_First].get();
    const QStringList names = port->getInputPortNameList(nullptr);
    port->getCurrentPortName(current);
    if (!names.contains(current) && port->portIndex() != InvalidPortIndex) {
        port->closeInputPort();
    }
    Q_EMIT inputPortListUpdated();
    Q_EMIT portsChanged();
    return names;
}

QStringList PortSet::refreshOutputNames(QString& current)
{
    MidiOutputPort* port = m_outputs[OutputPortGroup_First].get();
    const QStringList names = port->getOutputPortNameList(nullptr);
    port->getCurrentPortName(current);
    if (!names.contains(current) && port->portIndex() != InvalidPortIndex) {
        port->closeOutputPort();
    }
    Q_EMIT outputPortListUpdated();
    Q_EMIT portsChanged();
    return names;
}
