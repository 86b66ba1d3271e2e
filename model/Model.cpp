#include "Model.h"

#include "ModelAssistant.h"
#include "ModelConnectionIF.h"

const Model::IntParameterInfo* Model::findInt(unsigned int id, MODEL_RESULT* result) const
{
    const auto found = m_intParameters.constFind(id);
    const bool known = found != m_intParameters.constEnd();
    setModelResult(result, known ? MODEL_RESULT_SUCCESS : MODEL_RESULT_ERROR);
    return known ? &found.value() : nullptr;
}

const Model::StringParameterInfo* Model::findString(unsigned int id, MODEL_RESULT* result) const
{
    const auto found = m_stringParameters.constFind(id);
    const bool known = found != m_stringParameters.constEnd();
    setModelResult(result, known ? MODEL_RESULT_SUCCESS : MODEL_RESULT_ERROR);
    return known ? &found.value() : nullptr;
}

template <typename Parameters, typename Value>
MODEL_RESULT Model::storeValue(Parameters& parameters, unsigned int id, const Value& value)
{
    const auto found = parameters.find(id);
    if (found == parameters.end()) {
        return MODEL_RESULT_ERROR;
    }
    if (found->value == value) {
        return MODEL_RESULT_SUCCESS;
    }
    found->value = value;
    updateParameter(id);
    return MODEL_RESULT_SUCCESS;
}

int Model::getModelIntValue(unsigned int id, MODEL_RESULT* result)
{
    const IntParameterInfo* info = findInt(id, result);
    return info ? info->value : 0;
}

MODEL_RESULT Model::setModelIntValue(unsigned int id, int value)
{
    // Not clamped: ranges are enforced by the widgets and callers.
    return storeValue(m_intParameters, id, value);
}

MODEL_RESULT Model::createIntParameter(unsigned int id, int minimum, int maximum, int defaultValue,
                                       const QString& name, ModelValueToStringFunction toString,
                                       ModelStringToValueFunction fromString)
{
    IntParameterInfo info;
    info.id = id;
    info.name = name;
    info.minimum = minimum;
    info.maximum = maximum;
    info.defaultValue = defaultValue;
    info.value = defaultValue;
    info.toString = toString;
    info.fromString = fromString;
    m_intParameters.insert(id, info);
    return MODEL_RESULT_SUCCESS;
}

QString Model::getModelStringValue(unsigned int id, MODEL_RESULT* result)
{
    const StringParameterInfo* info = findString(id, result);
    return info ? info->value : QString();
}

MODEL_RESULT Model::setModelStringValue(unsigned int id, const QString& value)
{
    return storeValue(m_stringParameters, id, value);
}

MODEL_RESULT Model::createStringParameter(unsigned int id, const QString& defaultValue,
                                          const QString& name)
{
    StringParameterInfo info;
    info.id = id;
    info.name = name;
    info.defaultValue = defaultValue;
    info.value = defaultValue;
    m_stringParameters.insert(id, info);
    return MODEL_RESULT_SUCCESS;
}

void Model::updateParameter(unsigned int id)
{
    const auto connections = m_connections.constFind(id);
    if (connections != m_connections.constEnd()) {
        const QList<ModelConnectionIF*> snapshot = connections.value();
        for (ModelConnectionIF* connection : snapshot) {
            if (connection) {
                connection->updateParameter(id);
            }
        }
    }
    const QList<ModelAssistant*> assistants = m_assistants;
    for (ModelAssistant* assistant : assistants) {
        if (assistant) {
            assistant->updateParameter(id);
        }
    }
}

MODEL_RESULT Model::registerModelConnection(ModelConnectionIF* connection)
{
    if (!connection) {
        return MODEL_RESULT_ERROR;
    }
    const unsigned int id = connection->getParameterId(nullptr);
    QList<ModelConnectionIF*>& list = m_connections[id];
    list.removeAll(nullptr);
    list.append(connection);
    updateParameter(id);
    return MODEL_RESULT_SUCCESS;
}

template <typename Entry>
bool Model::clearFirst(QList<Entry*>& list, Entry* entry)
{
    const int index = list.indexOf(entry);
    if (index < 0) {
        return false;
    }
    list[index] = nullptr;
    return true;
}

MODEL_RESULT Model::unregisterModelConnection(ModelConnectionIF* connection)
{
    if (!connection) {
        return MODEL_RESULT_ERROR;
    }
    const unsigned int id = connection->getParameterId(nullptr);
    const auto own = m_connections.find(id);
    if (own != m_connections.end() && clearFirst(own.value(), connection)) {
        return MODEL_RESULT_SUCCESS;
    }
    for (auto list = m_connections.begin(); list != m_connections.end(); ++list) {
        if (clearFirst(list.value(), connection)) {
            return MODEL_RESULT_SUCCESS;
        }
    }
    return MODEL_RESULT_ERROR;
}

int Model::getModelMinimumValue(unsigned int id, MODEL_RESULT* result)
{
    const IntParameterInfo* info = findInt(id, result);
    return info ? info->minimum : 0;
}

int Model::getModelMaximumValue(unsigned int id, MODEL_RESULT* result)
{
    const IntParameterInfo* info = findInt(id, result);
    return info ? info->maximum : 0;
}

int Model::getModelDefaultValue(unsigned int id, MODEL_RESULT* result)
{
    const IntParameterInfo* info = findInt(id, result);
    return info ? info->defaultValue : 0;
}

QString Model::getModelDefaultStringValue(unsigned int id, MODEL_RESULT* result)
{
    const StringParameterInfo* info = findString(id, result);
    return info ? info->defaultValue : QString();
}

QString Model::getModelParameterName(unsigned int id, MODEL_RESULT* result)
{
    if (const IntParameterInfo* info = findInt(id, nullptr)) {
        setModelResult(result, MODEL_RESULT_SUCCESS);
        return info->name;
    }
    const StringParameterInfo* info = findString(id, result);
    return info ? info->name : QString();
}

QString Model::getParameterString(unsigned int id, int value, MODEL_RESULT* result)
{
    if (const IntParameterInfo* info = findInt(id, result)) {
        if (info->toString) {
            return info->toString(value, result);
        }
        return QString::number(value);
    }
    const StringParameterInfo* info = findString(id, result);
    return info ? info->value : QString();
}

MODEL_RESULT Model::registerModelAssistant(ModelAssistant* assistant)
{
    m_assistants.removeAll(nullptr);
    m_assistants.append(assistant);
    return MODEL_RESULT_SUCCESS;
}

MODEL_RESULT Model::unregisterModelAssistant(ModelAssistant* assistant)
{
    return clearFirst(m_assistants, assistant) ? MODEL_RESULT_SUCCESS : MODEL_RESULT_ERROR;
}
