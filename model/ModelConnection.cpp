#include "ModelConnection.h"

#include "ModelIF.h"

ModelConnection::~ModelConnection()
{
    if (m_model) {
        // A connection registered more than once has an entry per registration.
        while (m_model->unregisterModelConnection(this) == MODEL_RESULT_SUCCESS) {
        }
    }
    m_model = nullptr;
    // Only this class's hook runs here: derived parts are already destroyed.
    ModelConnection::modelChanged();
}

void ModelConnection::updateParameter(unsigned int) {}

unsigned int ModelConnection::getParameterId(MODEL_RESULT* result) const
{
    setModelResult(result, m_parameterId == UndefinedId ? MODEL_RESULT_ERROR
                                                        : MODEL_RESULT_SUCCESS);
    return m_parameterId;
}

MODEL_RESULT ModelConnection::setParameterId(unsigned int id)
{
    m_parameterId = id;
    return MODEL_RESULT_SUCCESS;
}

MODEL_RESULT ModelConnection::connectModel(ModelIF* model)
{
    m_model = model;
    modelChanged();
    if (!m_model) {
        return MODEL_RESULT_ERROR;
    }
    return m_model->registerModelConnection(this);
}

MODEL_RESULT ModelConnection::disconnectModel()
{
    MODEL_RESULT result = MODEL_RESULT_ERROR;
    if (m_model) {
        result = m_model->unregisterModelConnection(this);
    }
    m_model = nullptr;
    modelChanged();
    return result;
}

bool ModelConnection::isConnected(MODEL_RESULT* result)
{
    setModelResult(result, MODEL_RESULT_SUCCESS);
    return m_model != nullptr;
}

void ModelConnection::modelChanged() {}

int ModelConnection::getMinimumValue(MODEL_RESULT* result)
{
    if (!m_model) {
        setModelResult(result, MODEL_RESULT_ERROR);
        return 0;
    }
    return m_model->getModelMinimumValue(m_parameterId, result);
}

int ModelConnection::getMaximumValue(MODEL_RESULT* result)
{
    if (!m_model) {
        setModelResult(result, MODEL_RESULT_ERROR);
        return 0;
    }
    return m_model->getModelMaximumValue(m_parameterId, result);
}

QString ModelConnection::getParameterString(int value, MODEL_RESULT* result)
{
    if (!m_model) {
        setModelResult(result, MODEL_RESULT_ERROR);
        return QString();
    }
    return m_model->getParameterString(m_parameterId, value, result);
}

MODEL_RESULT ModelConnection::setCurrentValue(int value)
{
    if (!m_model) {
        return MODEL_RESULT_ERROR;
    }
    return m_model->setModelIntValue(m_parameterId, value);
}

int ModelConnection::getCurrentValue(MODEL_RESULT* result) const
{
    if (!m_model) {
        setModelResult(result, MODEL_RESULT_ERROR);
        return 0;
    }
    return m_model->getModelIntValue(m_parameterId, result);
}

int ModelConnection::getDefaultValue(MODEL_RESULT* result) const
{
    if (!m_model) {
        setModelResult(result, MODEL_RESULT_ERROR);
        return 0;
    }
    return m_model->getModelDefaultValue(m_parameterId, result);
}
