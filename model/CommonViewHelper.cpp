#include "CommonViewHelper.h"

#include <QObject>

#include "ModelConnectionIF.h"

void CommonViewHelper::connectModel(QObject* object)
{
    if (!object) {
        return;
    }
    if (auto* connection = dynamic_cast<ModelConnectionIF*>(object)) {
        connection->connectModel(m_model);
    }
    for (QObject* child : object->children()) {
        connectModel(child);
    }
}
