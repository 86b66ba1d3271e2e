// The application's parameter table: every id, its range, default, display
// name and value texts. Every other file names parameters by these constants.
#pragma once

#include <QString>

#include "ModelResult.h"

class ModelIF;

// System exclusive editors: 0 idle, non-zero while one is transmitting.
constexpr unsigned int ParamSysExTransmitState = 0;
constexpr unsigned int ParamDumpFileWorkingDirectory = 1;     // string
constexpr unsigned int ParamProjectFileWorkingDirectory = 2;  // string
// Written only through OstrelModel::setParameterEditFlag.
constexpr unsigned int ParamEditFlag = 3;
constexpr unsigned int ParamSysExRepeat = 4;
constexpr unsigned int ParamDumpFileFilter = 5;  // string: the dump dialogs' last filter

constexpr unsigned int ParamMidiThru = 500;
constexpr unsigned int ParamBulkInterval = 501;  // milliseconds
constexpr unsigned int ParamMidiThruSecond = 502;
constexpr unsigned int ParamInputPortIndex = 503;
constexpr unsigned int ParamInputPortIndexSecond = 504;
constexpr unsigned int ParamOutputPortIndex = 505;
constexpr unsigned int ParamOutputPortIndexSecond = 506;
constexpr unsigned int ParamMonitorPort1 = 507;
constexpr unsigned int ParamMonitorPort2 = 508;

// Filter switches, 1 = rejected. Channels 1-16 at First + (channel - 1).
constexpr unsigned int ParamChannelFilterFirst = 600;
constexpr unsigned int ParamChannelFilterCount = 16;
// Note Off, Note On, Key Pressure, Control Change, Program Change, Channel
// Pressure, Pitch Bend, System Exclusive, System Common, System Realtime.
constexpr unsigned int ParamMessageFilterFirst = 700;
constexpr unsigned int ParamMessageFilterCount = 10;
// Controllers 0-127 at First + controller.
constexpr unsigned int ParamControlChangeFilterFirst = 800;
constexpr unsigned int ParamControlChangeFilterCount = 128;
// F1, F2, F3, F6.
constexpr unsigned int ParamSystemCommonFilterFirst = 1000;
constexpr unsigned int ParamSystemCommonFilterCount = 4;
// F8, FA, FB, FC, FE, FF.
constexpr unsigned int ParamSystemRealtimeFilterFirst = 1100;
constexpr unsigned int ParamSystemRealtimeFilterCount = 6;

// Preferences.
constexpr unsigned int ParamKnobMode = 1200;
constexpr unsigned int ParamTimeStamp = 1201;
constexpr unsigned int ParamMessageFontSize = 1202;
constexpr unsigned int ParamMessageColor = 1203;
constexpr unsigned int ParamMessageDetail = 1204;
constexpr unsigned int ParamMessageMiddleC = 1205;
constexpr unsigned int ParamMessageTimeFormat = 1206;
constexpr unsigned int ParamMessageParsed = 1207;
constexpr unsigned int ParamProgramNumberBase = 1208;
// The first byte a system exclusive checksum covers (F0 is byte 0).
constexpr unsigned int ParamChecksumStart = 1209;
// How long Transmit and Receive listens for a reply, in seconds; 0: until stopped.
constexpr unsigned int ParamReplyTimeout = 1210;

// The PC keyboard.
constexpr unsigned int ParamPCKeyboardEnable = 1300;
constexpr unsigned int ParamPCKeyboardOctave = 1301;
constexpr unsigned int ParamPCKeyboardChannel = 1302;  // 1-based
constexpr unsigned int ParamPCKeyboardVelocity = 1303;

// Value texts: the text for a value with one, else an empty string and
// MODEL_RESULT_ERROR.
QString getKnobModeString(int value, MODEL_RESULT* result);           // Circular, Linear
QString getProgramNumberBaseString(int value, MODEL_RESULT* result);  // Zero-based, One-based
QString getMessageFontSizeString(int value, MODEL_RESULT* result);    // Normal, Large
QString getMessageMiddleCString(int value, MODEL_RESULT* result);     // C3, C4, C5
QString getTimeFormatString(int value, MODEL_RESULT* result);         // Clock, Integer, Delta

// The first standard document location, or empty when the platform has none.
QString getDocumentDirectory();

// Creates the whole table on a model; a base of the application model.
class OstrelParameters {
public:
    // Creates every parameter on model (nothing for null).
    explicit OstrelParameters(ModelIF* model);
    virtual ~OstrelParameters() = default;

private:
    static void createParameters(ModelIF* model);
};
