#include "OstrelModel.h"

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
