// A binding between one object (usually a widget) and one parameter.
#pragma once

#include <QString>

#include "ModelResult.h"

class ModelIF;

class ModelConnectionIF {
public:
    virtual ~ModelConnectionIF() = default;

    // The bound parameter changed (or the connection was just registered).
    virtual void updateParameter(unsigned int id) = 0;
    // UndefinedId and an error while unbound.
    virtual unsigned int getParameterId(MODEL_RESULT* result) const = 0;
    // Stores the id only: set it before connecting.
    virtual MODEL_RESULT setParameterId(unsigned int id) = 0;
    virtual MODEL_RESULT connectModel(ModelIF* model) = 0;
    virtual MODEL_RESULT disconnectModel() = 0;
    virtual bool isConnected(MODEL_RESULT* result) = 0;
    // Called after the model pointer changed.
    virtual void modelChanged() = 0;
    virtual int getMinimumValue(MODEL_RESULT* result) = 0;
    virtual int getMaximumValue(MODEL_RESULT* result) = 0;
    virtual QString getParameterString(int value, MODEL_RESULT* result) = 0;
};
