#include "OstrelModel.h"

#include "Dial.h"

OstrelModel::OstrelModel() : Model(), OstrelParameters(this) {}

void OstrelModel::lockParameterEditFlag()
{
    m_editFlagLockCount++;
}

void OstrelModel::unlockParameterEditFlag()
{
    m_editFlagLockCount--;
}

void OstrelModel::setParameterEditFlag(ParameterEditFlag flag)
{
    if (m_editFlagLockCount == 0) {
        setModelIntValue(ParamEditFlag, flag);
    }
}

ParameterEditFlag OstrelModel::getParameterEditFlag()
{
    return getModelIntValue(ParamEditFlag, nullptr);
}

void OstrelModel::registerDial(Dial* dial)
{
    m_dials.removeAll(QPointer<Dial>());
    for (const QPointer<Dial>& registered : m_dials) {
        if (registered == dial) {
            return;
        }
    }
    m_dials.append(dial);
    dial->setKnobMode(getModelIntValue(ParamKnobMode, nullptr));
}

void OstrelModel::unregisterDial(Dial* dial)
{
    m_dials.removeAll(QPointer<Dial>(dial));
}

void OstrelModel::updateParameter(unsigned int id)
{
    if (id == ParamKnobMode) {
        const int mode = getModelIntValue(ParamKnobMode, nullptr);
        for (const QPointer<Dial>& dial : m_dials) {
            if (dial) {
                dial->setKnobMode(mode);
            }
        }
    }
    Model::updateParameter(id);
}
