// The application model: the one parameter store the whole program shares,
// created before the application object and destroyed last. Adds the
// parameter table, the project edit flag with its lock counter, and the
// path of the current project file. User-interface thread only.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include "Model.h"
#include "OstrelParameters.h"

// 0: the project is unchanged since it was created, opened or saved; 1: edited.
using ParameterEditFlag = int;
constexpr ParameterEditFlag ParameterEditFlagUnchanged = 0;
constexpr ParameterEditFlag ParameterEditFlagEdited = 1;

class Dial;

class OstrelModel : public Model, public OstrelParameters {
public:
    OstrelModel();
    ~OstrelModel() override = default;

    // Nesting pair around work that rebuilds windows or reloads settings, so
    // that it does not mark the project as edited.
    void lockParameterEditFlag();
    void unlockParameterEditFlag();
    // Sets ParamEditFlag while no lock is held; otherwise does nothing.
    void setParameterEditFlag(ParameterEditFlag flag);
    ParameterEditFlag getParameterEditFlag();

    // Dials follow the knob-mode preference: a registered dial takes the
    // current mode at once and every later change before anyone else hears of it.
    void registerDial(Dial* dial);
    void unregisterDial(Dial* dial);

    // Knob-mode changes reach the dials first, then the usual notification.
    void updateParameter(unsigned int id) override;

    // Only the main window reads and writes the project path.
    QString projectFilePath() const { return m_projectFilePath; }
    void setProjectFilePath(const QString& path) { m_projectFilePath = path; }

private:
    QList<QPointer<Dial>> m_dials;
    QString m_projectFilePath;
    int m_editFlagLockCount = 0;
};
