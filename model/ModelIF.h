// The parameter store's interface: numbered integer parameters with a range
// and a default, numbered string parameters with a default, the connections
// bound to them and the assistants told of every change.
//
// User-interface thread only; no locks. Getters for an unknown id return 0
// (or an empty string) and report MODEL_RESULT_ERROR; nothing throws.
#pragma once

#include <QString>

#include "ModelResult.h"

class ModelConnectionIF;
class ModelAssistant;

using ModelValueToStringFunction = QString (*)(int value, MODEL_RESULT* result);
using ModelStringToValueFunction = int (*)(const QString& text, MODEL_RESULT* result);

class ModelIF {
public:
    virtual ~ModelIF() = default;

    virtual int getModelIntValue(unsigned int id, MODEL_RESULT* result) = 0;
    // Stores value unclamped and notifies, unless it equals the current value.
    virtual MODEL_RESULT setModelIntValue(unsigned int id, int value) = 0;
    // Inserts (or replaces) a parameter whose value starts at its default. No notification.
    virtual MODEL_RESULT createIntParameter(unsigned int id, int minimum, int maximum,
                                            int defaultValue, const QString& name,
                                            ModelValueToStringFunction toString,
                                            ModelStringToValueFunction fromString) = 0;
    virtual QString getModelStringValue(unsigned int id, MODEL_RESULT* result) = 0;
    virtual MODEL_RESULT setModelStringValue(unsigned int id, const QString& value) = 0;
    // The default comes before the name.
    virtual MODEL_RESULT createStringParameter(unsigned int id, const QString& defaultValue,
                                               const QString& name) = 0;
    // Tells the connections of id, then every assistant, in registration order.
    virtual void updateParameter(unsigned int id) = 0;
    // Appends the connection under its current id and tells it the value at once.
    virtual MODEL_RESULT registerModelConnection(ModelConnectionIF* connection) = 0;
    virtual MODEL_RESULT unregisterModelConnection(ModelConnectionIF* connection) = 0;
    virtual int getModelMinimumValue(unsigned int id, MODEL_RESULT* result) = 0;
    virtual int getModelMaximumValue(unsigned int id, MODEL_RESULT* result) = 0;
    virtual int getModelDefaultValue(unsigned int id, MODEL_RESULT* result) = 0;
    virtual QString getModelDefaultStringValue(unsigned int id, MODEL_RESULT* result) = 0;
    // Integer parameters are searched first, then string parameters.
    virtual QString getModelParameterName(unsigned int id, MODEL_RESULT* result) = 0;
    // Text for value: the converter's, else decimal; a string parameter's current value.
    virtual QString getParameterString(unsigned int id, int value, MODEL_RESULT* result) = 0;
    // Appends the assistant; no notification.
    virtual MODEL_RESULT registerModelAssistant(ModelAssistant* assistant) = 0;
    virtual MODEL_RESULT unregisterModelAssistant(ModelAssistant* assistant) = 0;
};
