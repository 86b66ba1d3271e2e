#include "SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

#include "OstrelModel.h"
#include "PortSet.h"
#include "SettingsFile.h"

QString SettingsStore::iniFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/Ostrel.ini");
}

void SettingsStore::read(OstrelModel* model, PortSet* ports)
{
    model->lockParameterEditFlag();
    QSettings settings(iniFilePath(), QSettings::IniFormat);
    SettingsFile::readDirectories(model, settings);
    SettingsFile::readFilter(model, settings);
    SettingsFile::readThru(model, settings);
    ports->openStoredPorts(model);
    SettingsFile::readPreferences(model, settings);
    model->unlockParameterEditFlag();
}

void SettingsStore::write(OstrelModel* model)
{
    QSettings settings(iniFilePath(), QSettings::IniFormat);
    SettingsFile::write(model, settings);
}
