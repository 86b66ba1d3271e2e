#include "OstrelParameters.h"

#include <QStandardPaths>
#include <QStringList>

#include <limits>

#include "ModelIF.h"

namespace {

QString textAt(const QStringList& texts, int value, MODEL_RESULT* result)
{
    if (value < 0 || value >= texts.size()) {
        setModelResult(result, MODEL_RESULT_ERROR);
        return QString();
    }
    setModelResult(result, MODEL_RESULT_SUCCESS);
    return texts.at(value);
}

struct IntParameter {
    unsigned int id;
    int minimum;
    int maximum;
    int defaultValue;
    const char* name;
    ModelValueToStringFunction toString;
};

constexpr int PortIndexMax = std::numeric_limits<int>::max();

// Created in this order after the first five ids, which hold the two strings.
const IntParameter portParameters[] = {
    {ParamMidiThru, 0, 1, 0, "MIDI Thru", nullptr},
    {ParamBulkInterval, 0, 1000, 0, "Bulk Interval (ms)", nullptr},
    {ParamMidiThruSecond, 0, 1, 0, "MIDI Thru", nullptr},
    {ParamInputPortIndex, 0, PortIndexMax, 0, "Input Port Index", nullptr},
    {ParamInputPortIndexSecond, 0, PortIndexMax, 0, "Input Port Index", nullptr},
    {ParamOutputPortIndex, 0, PortIndexMax, 0, "Output Port Index", nullptr},
    {ParamOutputPortIndexSecond, 0, PortIndexMax, 0, "Output Port Index", nullptr},
    {ParamMonitorPort1, 0, 1, 1, "Port1", nullptr},
    {ParamMonitorPort2, 0, 1, 1, "Port2", nullptr},
};

const struct {
    unsigned int first;
    unsigned int count;
} filterParameters[] = {
    {ParamChannelFilterFirst, ParamChannelFilterCount},
    {ParamMessageFilterFirst, ParamMessageFilterCount},
    {ParamControlChangeFilterFirst, ParamControlChangeFilterCount},
    {ParamSystemCommonFilterFirst, ParamSystemCommonFilterCount},
    {ParamSystemRealtimeFilterFirst, ParamSystemRealtimeFilterCount},
};

const IntParameter preferenceParameters[] = {
    {ParamKnobMode, 0, 1, 0, "Knob Mode", getKnobModeString},
    {ParamTimeStamp, 0, 1, 0, "Time", nullptr},
    {ParamMessageFontSize, 0, 1, 0, "Font Size", getMessageFontSizeString},
    {ParamMessageColor, 0, 1, 1, "Color", nullptr},
    {ParamMessageDetail, 0, 1, 0, "Details", nullptr},
    {ParamMessageMiddleC, 0, 2, 0, "Middle C", getMessageMiddleCString},
    {ParamMessageTimeFormat, 0, 2, 0, "Time Format", getTimeFormatString},
    {ParamMessageParsed, 0, 1, 1, "Parser", nullptr},
    {ParamProgramNumberBase, 0, 1, 1, "Program Number", getProgramNumberBaseString},
    {ParamChecksumStart, 1, 16383, 5, "Checksum Start", nullptr},
    {ParamReplyTimeout, 0, 3600, 5, "Reply Timeout (s)", nullptr},
    {ParamPCKeyboardEnable, 0, 1, 0, "Enable", nullptr},
    {ParamPCKeyboardOctave, -5, 4, 0, "Octave", nullptr},
    {ParamPCKeyboardChannel, 1, 16, 1, "Channel", nullptr},
    {ParamPCKeyboardVelocity, 0, 127, 64, "Velocity", nullptr},
};

void create(ModelIF* model, const IntParameter& parameter)
{
    model->createIntParameter(parameter.id, parameter.minimum, parameter.maximum,
                              parameter.defaultValue, QString::fromUtf8(parameter.name),
                              parameter.toString, nullptr);
}

void createSwitch(ModelIF* model, unsigned int id)
{
    model->createIntParameter(id, 0, 1, 0, QString(), nullptr, nullptr);
}

}  // namespace

QString getKnobModeString(int value, MODEL_RESULT* result)
{
    return textAt({"Circular", "Linear"}, value, result);
}

QString getProgramNumberBaseString(int value, MODEL_RESULT* result)
{
    return textAt({"Zero-based", "One-based"}, value, result);
}

QString getMessageFontSizeString(int value, MODEL_RESULT* result)
{
    return textAt({"Normal", "Large"}, value, result);
}

QString getMessageMiddleCString(int value, MODEL_RESULT* result)
{
    return textAt({"C3", "C4", "C5"}, value, result);
}

QString getTimeFormatString(int value, MODEL_RESULT* result)
{
    return textAt({"Clock", "Integer", "Delta"}, value, result);
}

QString getDocumentDirectory()
{
    return QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation).value(0);
}

OstrelParameters::OstrelParameters(ModelIF* model)
{
    createParameters(model);
}

void OstrelParameters::createParameters(ModelIF* model)
{
    if (!model) {
        return;
    }
    const QString documents = getDocumentDirectory();
    model->createIntParameter(ParamSysExTransmitState, 0, 2, 0, QString(), nullptr, nullptr);
    model->createStringParameter(ParamDumpFileWorkingDirectory, documents,
                                 "Dump File Working Directory");
    model->createStringParameter(ParamProjectFileWorkingDirectory, documents,
                                 "Project File Working Directory");
    model->createStringParameter(ParamDumpFileFilter, QString(), "Dump File Filter");
    createSwitch(model, ParamEditFlag);
    createSwitch(model, ParamSysExRepeat);
    for (const IntParameter& parameter : portParameters) {
        create(model, parameter);
    }
    for (const auto& block : filterParameters) {
        for (unsigned int i = 0; i < block.count; i++) {
            createSwitch(model, block.first + i);
        }
    }
    for (const IntParameter& parameter : preferenceParameters) {
        create(model, parameter);
    }
}
