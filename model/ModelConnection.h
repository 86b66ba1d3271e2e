// The usual implementation of a binding; widgets inherit it beside their
// toolkit base class and override updateParameter and modelChanged.
// User-interface thread only.
#pragma once

#include "ModelConnectionIF.h"

class ModelConnection : public ModelConnectionIF {
public:
    ModelConnection() = default;
    // Unregisters every registration of this connection, so that the model
    // never keeps a pointer to it.
    ~ModelConnection() override;

    ModelConnection(const ModelConnection&) = delete;
    ModelConnection& operator=(const ModelConnection&) = delete;

    void updateParameter(unsigned int id) override;
    unsigned int getParameterId(MODEL_RESULT* result) const override;
    MODEL_RESULT setParameterId(unsigned int id) override;
    // Stores the model, calls modelChanged, then registers (error for null).
    MODEL_RESULT connectModel(ModelIF* model) override;
    // Unregisters (error when not connected), clears the model, calls modelChanged.
    MODEL_RESULT disconnectModel() override;
    bool isConnected(MODEL_RESULT* result) override;
    void modelChanged() override;
    int getMinimumValue(MODEL_RESULT* result) override;
    int getMaximumValue(MODEL_RESULT* result) override;
    QString getParameterString(int value, MODEL_RESULT* result) override;

    MODEL_RESULT setCurrentValue(int value);
    int getCurrentValue(MODEL_RESULT* result) const;
    int getDefaultValue(MODEL_RESULT* result) const;

protected:
    ModelIF* model() const { return m_model; }

private:
    unsigned int m_parameterId = UndefinedId;
    ModelIF* m_model = nullptr;
};
