// The groups of a settings file (the INI format Ostrel.ini is written in):
// working folders, the filter, MIDI thru and the bulk interval, and the
// preferences. Every value read is brought into its parameter's range, or
// is the default when it is missing or not a number, before anything uses
// it. Ports and the window layout are the application's. One thread at a
// time (the model's).
#pragma once

class OstrelModel;
class QSettings;

namespace SettingsFile {

void readDirectories(OstrelModel* model, QSettings& settings);
void readFilter(OstrelModel* model, QSettings& settings);
void readThru(OstrelModel* model, QSettings& settings);
void readPreferences(OstrelModel* model, QSettings& settings);
// Every group above.
void write(OstrelModel* model, QSettings& settings);

}  // namespace SettingsFile
