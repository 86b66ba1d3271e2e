// The generic parameter store. Owns the parameter records; owns neither
// connections nor assistants. User-interface thread only.
//
// Removed connections and assistants leave a null entry that notification
// skips and the next registration into the same list purges; notification
// walks a snapshot, so registering or removing during a pass is safe for the
// lists (an entry removed during a pass is still called in that pass).
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include "ModelIF.h"

class Model : public ModelIF {
public:
    struct IntParameterInfo {
        unsigned int id = UndefinedId;
        int type = 0;
        QString name;
        int minimum = 0;
        int maximum = 0;
        int defaultValue = 0;
        int value = 0;
        ModelValueToStringFunction toString = nullptr;
        ModelStringToValueFunction fromString = nullptr;  // kept for callers; unused here
    };

    struct StringParameterInfo {
        unsigned int id = UndefinedId;
        int type = 1;
        QString name;
        QString defaultValue;
        QString value;
    };

    Model() = default;
    ~Model() override = default;

    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    int getModelIntValue(unsigned int id, MODEL_RESULT* result) override;
    MODEL_RESULT setModelIntValue(unsigned int id, int value) override;
    MODEL_RESULT createIntParameter(unsigned int id, int minimum, int maximum, int defaultValue,
                                    const QString& name, ModelValueToStringFunction toString,
                                    ModelStringToValueFunction fromString) override;
    QString getModelStringValue(unsigned int id, MODEL_RESULT* result) override;
    MODEL_RESULT setModelStringValue(unsigned int id, const QString& value) override;
    MODEL_RESULT createStringParameter(unsigned int id, const QString& defaultValue,
                                       const QString& name) override;
    void updateParameter(unsigned int id) override;
    MODEL_RESULT registerModelConnection(ModelConnectionIF* connection) override;
    // Clears the first entry of the connection under its current id; when it
    // is not there (its id changed after registering), the first entry found
    // under any id, so that no pointer to a destroyed connection can remain.
    MODEL_RESULT unregisterModelConnection(ModelConnectionIF* connection) override;
    int getModelMinimumValue(unsigned int id, MODEL_RESULT* result) override;
    int getModelMaximumValue(unsigned int id, MODEL_RESULT* result) override;
    int getModelDefaultValue(unsigned int id, MODEL_RESULT* result) override;
    QString getModelDefaultStringValue(unsigned int id, MODEL_RESULT* result) override;
    QString getModelParameterName(unsigned int id, MODEL_RESULT* result) override;
    QString getParameterString(unsigned int id, int value, MODEL_RESULT* result) override;
    MODEL_RESULT registerModelAssistant(ModelAssistant* assistant) override;
    MODEL_RESULT unregisterModelAssistant(ModelAssistant* assistant) override;

private:
    const IntParameterInfo* findInt(unsigned int id, MODEL_RESULT* result) const;
    const StringParameterInfo* findString(unsigned int id, MODEL_RESULT* result) const;
    // Stores a changed value and notifies; error for an unknown id.
    template <typename Parameters, typename Value>
    MODEL_RESULT storeValue(Parameters& parameters, unsigned int id, const Value& value);
    template <typename Entry>
    static bool clearFirst(QList<Entry*>& list, Entry* entry);

    QHash<unsigned int, IntParameterInfo> m_intParameters;
    QHash<unsigned int, StringParameterInfo> m_stringParameters;
    QHash<unsigned int, QList<ModelConnectionIF*>> m_connections;
    QList<ModelAssistant*> m_assistants;
};
