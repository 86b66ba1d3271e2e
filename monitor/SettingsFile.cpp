#include "SettingsFile.h"

#include <QSettings>

#include <algorithm>

#include "MidiNameTables.h"
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
    {"ChecksumStart", ParamChecksumStart},
    {"ReplyTimeout", ParamReplyTimeout},
    {"PCKeyboardEnable", ParamPCKeyboardEnable},
    {"PCKeyboardOctave", ParamPCKeyboardOctave},
    {"PCKeyboardChannel", ParamPCKeyboardChannel},
    {"PCKeyboardVelocity", ParamPCKeyboardVelocity},
};

const IntKey DirectoryKeys[] = {{"DumpFileWorkingDirectory", ParamDumpFileWorkingDirectory},
                                {"ProjectFileWorkingDirectory", ParamProjectFileWorkingDirectory},
                                {"DumpFileFilter", ParamDumpFileFilter}};

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

}  // namespace

namespace SettingsFile {

namespace {

void readInts(OstrelModel* model, QSettings& settings, const char* group, const IntKey* keys, size_t count)
{
    settings.beginGroup(QLatin1String(group));
    for (size_t i = 0; i < count; i++) {
        model->setModelIntValue(keys[i].id, boundedSetting(model, settings.value(QLatin1String(keys[i].key)), keys[i].id));
    }
    settings.endGroup();
}

}  // namespace

void readDirectories(OstrelModel* model, QSettings& settings)
{
    settings.beginGroup(QStringLiteral("FileWorkingDirectory"));
    for (const IntKey& key : DirectoryKeys) {
        const QString current = model->getModelStringValue(key.id, nullptr);
        model->setModelStringValue(key.id, settings.value(QLatin1String(key.key), current).toString());
    }
    settings.endGroup();
}

void readFilter(OstrelModel* model, QSettings& settings)
{
    settings.beginGroup(QStringLiteral("MidiFilter"));
    for (const auto& key : filterKeys()) {
        model->setModelIntValue(key.second, boundedSetting(model, settings.value(key.first), key.second));
    }
    settings.endGroup();
}

void readThru(OstrelModel* model, QSettings& settings)
{
    readInts(model, settings, "MidiThru", MidiThruKeys, sizeof(MidiThruKeys) / sizeof(MidiThruKeys[0]));
}

void readPreferences(OstrelModel* model, QSettings& settings)
{
    readInts(model, settings, "Preferences", PreferenceKeys, sizeof(PreferenceKeys) / sizeof(PreferenceKeys[0]));
}

void write(OstrelModel* model, QSettings& settings)
{
    settings.beginGroup(QStringLiteral("FileWorkingDirectory"));
    for (const IntKey& key : DirectoryKeys) {
        settings.setValue(QLatin1String(key.key), model->getModelStringValue(key.id, nullptr));
    }
    settings.endGroup();
    auto writeInts = [&](const char* group, const IntKey* keys, size_t count) {
        settings.beginGroup(QLatin1String(group));
        for (size_t i = 0; i < count; i++) {
            settings.setValue(QLatin1String(keys[i].key), model->getModelIntValue(keys[i].id, nullptr));
        }
        settings.endGroup();
    };
    writeInts("MidiThru", MidiThruKeys, sizeof(MidiThruKeys) / sizeof(MidiThruKeys[0]));
    writeInts("Preferences", PreferenceKeys, sizeof(PreferenceKeys) / sizeof(PreferenceKeys[0]));
    settings.beginGroup(QStringLiteral("MidiFilter"));
    for (const auto& key : filterKeys()) {
        settings.setValue(key.first, model->getModelIntValue(key.second, nullptr));
    }
    settings.endGroup();
}

}  // namespace SettingsFile
