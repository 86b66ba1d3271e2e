// Binds a window's whole widget tree to the model. Windows inherit it next
// to their frame class, set every bound widget's parameter id, then call
// connectModel(this). User-interface thread.
#pragma once

class ModelIF;
class QObject;

class CommonViewHelper {
public:
    explicit CommonViewHelper(ModelIF* model) : m_model(model) {}
    virtual ~CommonViewHelper() = default;

    // Connects object, then its children depth first in child order, to the
    // model wherever one is a model connection; each gets its value at once.
    void connectModel(QObject* object);

protected:
    ModelIF* m_model;
};
