// MainWindow: the INI file. Everything but the layout is read at start-up
// and written at the end; port names when a port is chosen; the layout when
// the window closes and when it is first shown.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <utility>

#include "MainWindow.h"
#include "MidiInputPort.h"
#include "MidiNameTables.h"
#include "MidiOutputPort.h"
#include "OstrelModel.h"

namespace {

struct IntKey {
    const char* key;
    unsigned int id;
};

const IntKey MidiThruKeys[] = {
    {"BulkInterval", ParamBulkInterval}, {"MidiThru", ParamMidiThru}, {"MidiThruSecond", ParamMidiThruSecond}};

const IntKey PreferenceKeys[] = {
    {"KnobMode", ParamKnobMode},
    {"TimeStamp", ParamTimeStamp},
    {"MessageFontSize", ParamMessageFontSize},
    {"MessageColor", ParamMessageColor},
    {"MessageDetail", ParamMessageDetail},
    {"MessageMiddleC", ParamMessageMiddleC},
    {"MessageTimeFormat", ParamMessageTimeFormat},
    {"MessageParsed", ParamMessageParsed},
    {"ProgramNumberBase", ParamProgramNumberBase},
    {"PCKeyboardEnable", ParamPCKeyboardEnable},
    {"PCKeyboardOctave", ParamPCKeyboardOctave},
    {"PCKeyboardChannel", ParamPCKeyboardChannel},
    {"PCKeyboardVelocity", ParamPCKeyboardVelocity},
};

const IntKey DirectoryKeys[] = {{"DumpFileWorkingDirectory", ParamDumpFileWorkingDirectory},
                                {"ProjectFileWorkingDirectory", ParamProjectFileWorkingDirectory}};

// A stored integer brought into its parameter's range; anything that is
// not a number (true and false count as 1 and 0) gives the default.
int boundedSetting(ModelIF* model, const QVariant& stored, unsigned int id)
{
    const int fallback = model->getModelDefaultValue(id, nullptr);
    const QString text = stored.toString().trimmed();
    bool readable = true;
    int value = 0;
    if (text == QLatin1String("true") || text == QLatin1String("false")) {
        value = text == QLatin1String("true") ? 1 : 0;
    } else {
        value = text.toInt(&readable);
    }
    if (!stored.isValid() || !readable) {
        return fallback;
    }
    return std::clamp(value, model->getModelMinimumValue(id, nullptr), model->getModelMaximumValue(id, nullptr));
}

// The filter's keys and parameters, in the order they are read and written.
QList<QPair<QString, unsigned int>> filterKeys()
{
    QList<QPair<QString, unsigned int>> keys;
    for (unsigned int channel = 0; channel < ParamChannelFilterCount; channel++) {
        keys.append({QString::number(channel), ParamChannelFilterFirst + channel});
    }
    for (unsigned int i = 0; i < ParamMessageFilterCount; i++) {
        keys.append({QString::fromLatin1(MessageFilterNames[i]), ParamMessageFilterFirst + i});
    }
    for (unsigned int i = 0; i < ParamSystemCommonFilterCount; i++) {
        keys.append({QString::fromLatin1(SystemCommonFilterNames[i]), ParamSystemCommonFilterFirst + i});
    }
    for (unsigned int i = 0; i < ParamSystemRealtimeFilterCount; i++) {
        keys.append({QString::fromLatin1(SystemRealtimeFilterNames[i]), ParamSystemRealtimeFilterFirst + i});
    }
    for (unsigned int i = 0; i < ParamControlChangeFilterCount; i++) {
        keys.append({QString::fromLatin1(ControlChangeNameList[i]), ParamControlChangeFilterFirst + i});
    }
    return keys;
}

// Windows of these kinds are numbered among their own kind in layout keys.
bool countsInstances(int id)
{
    return id == WindowRestorationInfo::SystemExclusiveId || id == WindowRestorationInfo::KeyboardId ||
           id == WindowRestorationInfo::ControlChangeId || id == WindowRestorationInfo::ProgramChangeId;
}

QString layoutKey(int order, int id, int sequence)
{
    return QStringLiteral("%1-%2-%3").arg(order, 10, 10, QLatin1Char('0')).arg(id).arg(sequence);
}

}  // namespace

void MainWindow::restoreRegistory()
{
    m_model->lockParameterEditFlag();
    QSettings settings(getIniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("FileWorkingDirectory"));
    for (const IntKey& key : DirectoryKeys) {
        const QString current = m_model->getModelStringValue(key.id, nullptr);
        m_model->setModelStringValue(key.id, settings.value(QLatin1String(key.key), current).toString());
    }
    settings.endGroup();

    settings.beginGroup(QStringLiteral("MidiFilter"));
    for (const auto& key : filterKeys()) {
        m_model->setModelIntValue(key.second, boundedSetting(m_model, settings.value(key.first), key.second));
    }
    settings.endGroup();

    settings.beginGroup(QStringLiteral("MidiThru"));
    for (const IntKey& key : MidiThruKeys) {
        m_model->setModelIntValue(key.id, boundedSetting(m_model, settings.value(QLatin1String(key.key)), key.id));
    }
    settings.endGroup();

    settings.beginGroup(QStringLiteral("PortName"));
    for (unsigned int group = 0; group < 2; group++) {
        const QString name = settings.value(group == 0 ? "InputPortName" : "InputPortNameSecond").toString();
        m_inputPorts[group]->openInputPort(name);
        const unsigned int index = getCurrentInputPortIndex(static_cast<InputPortGroup>(group));
        if (index == 0) {
            m_inputPorts[group]->closeInputPort();
        }
        m_model->setModelIntValue(group == 0 ? ParamInputPortIndex : ParamInputPortIndexSecond,
                                  static_cast<int>(index));
    }
    for (unsigned int group = 0; group < 2; group++) {
        const QString name = settings.value(group == 0 ? "OutputPortName" : "OutputPortNameSecond").toString();
        m_outputPorts[group]->openOutputPort(name);
        const unsigned int index = getCurrentOutputPortIndex(static_cast<OutputPortGroup>(group));
        if (index == 0) {
            m_outputPorts[group]->closeOutputPort();
        }
        m_model->setModelIntValue(group == 0 ? ParamOutputPortIndex : ParamOutputPortIndexSecond,
                                  static_cast<int>(index));
    }
    settings.endGroup();

    settings.beginGroup(QStringLiteral("Preferences"));
    for (const IntKey& key : PreferenceKeys) {
        m_model->setModelIntValue(key.id, boundedSetting(m_model, settings.value(QLatin1String(key.key)), key.id));
    }
    settings.endGroup();
    m_model->unlockParameterEditFlag();
}

void MainWindow::writeRegistory()
{
    QSettings settings(getIniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("FileWorkingDirectory"));
    for (const IntKey& key : DirectoryKeys) {
        settings.setValue(QLatin1String(key.key), m_model->getModelStringValue(key.id, nullptr));
    }
    settings.endGroup();
    auto writeInts = [&](const char* group, const IntKey* keys, size_t count) {
        settings.beginGroup(QLatin1String(group));
        for (size_t i = 0; i < count; i++) {
            settings.setValue(QLatin1String(keys[i].key), m_model->getModelIntValue(keys[i].id, nullptr));
        }
        settings.endGroup();
    };
    writeInts("MidiThru", MidiThruKeys, sizeof(MidiThruKeys) / sizeof(MidiThruKeys[0]));
    writeInts("Preferences", PreferenceKeys, sizeof(PreferenceKeys) / sizeof(PreferenceKeys[0]));
    settings.beginGroup(QStringLiteral("MidiFilter"));
    for (const auto& key : filterKeys()) {
        settings.setValue(key.first, m_model->getModelIntValue(key.second, nullptr));
    }
    settings.endGroup();
}

void MainWindow::restoreWindowRegistory()
{
    setUpdatesEnabled(false);
    m_restoringLayout = true;
    m_model->lockParameterEditFlag();
    QSettings settings(getIniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("SavePosition"));
    const QStringList keys = settings.childKeys();  // sorted: the order prefix fixes creation order
    if (keys.isEmpty()) {
        initializeSubWindows();
    }
    for (const QString& key : keys) {
        QList<QVariant> values = settings.value(key).toList();
        if (values.size() < 3) {
            continue;  // not a layout entry
        }
        const QRect rect = values.takeFirst().toRect();
        const auto state = static_cast<Qt::WindowStates>(values.takeFirst().toInt());
        const bool stayOnTop = values.takeFirst().toBool();
        bool readable = false;
        const unsigned int id = key.section(QLatin1Char('-'), 1, 1).toUInt(&readable);
        if (readable && id != WindowRestorationInfo::MainWindowId) {
            createSubWindowByWindowId(static_cast<WindowRestorationInfo::WindowId>(id), stayOnTop,
                                      rect, state, values);
        } else {
            restoreMainWindowPlacement(rect, state, stayOnTop);
        }
    }
    settings.endGroup();
    m_model->unlockParameterEditFlag();
    setUpdatesEnabled(true);
    m_restoringLayout = false;
    // What did not fit is said once, after the window is up.
    const QString overLimit = std::exchange(m_limitReachedDuringRestore, QString());
    if (!overLimit.isEmpty()) {
        QTimer::singleShot(0, this, [this, overLimit] { showLimitViewDisplayMessageBox(overLimit); });
    }
}

void MainWindow::restoreMainWindowPlacement(const QRect& rect, Qt::WindowStates state, bool stayOnTop)
{
    setWindowGeometry(this, getMainWindowRestorationRect(rect));
    if (!(state & (Qt::WindowMinimized | Qt::WindowFullScreen))) {
        setWindowState(windowState() | state);
    }
    if (stayOnTop) {
        setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    }
}

void MainWindow::storeWindowPosition()
{
    QSettings settings(getIniFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("SavePosition"));
    settings.remove(QString());
    writeMainWindowInfoToRegistry(settings);
    writeSubWindowInfoToRegistry(settings);
    settings.endGroup();
}

void MainWindow::writeMainWindowInfoToRegistry(QSettings& settings)
{
    const QRect rect = isNormalWindowState(this) ? geometry() : getNormalRect(this);
    settings.setValue(layoutKey(0, WindowRestorationInfo::MainWindowId, 0),
                      QList<QVariant>{rect, static_cast<int>(windowState()),
                                      bool(windowFlags() & Qt::WindowStaysOnTopHint)});
}

void MainWindow::writeSubWindowInfoToRegistry(QSettings& settings)
{
    int order = 0;
    QHash<int, int> sequences;
    for (QMdiSubWindow* window : getSubWindowList()) {
        const auto* info = dynamic_cast<const WindowRestorationInfo*>(window->widget());
        if (!info) {
            continue;
        }
        const int id = info->windowId();
        const int sequence = countsInstances(id) ? sequences[id]++ : 0;
        const QRect rect = isNormalWindowState(window) ? window->geometry() : getNormalRect(window);
        QList<QVariant> values{rect, static_cast<int>(window->windowState()),
                               bool(window->windowFlags() & Qt::WindowStaysOnTopHint)};
        values += info->restorationData();
        settings.setValue(layoutKey(++order, id, sequence), values);
    }
}
