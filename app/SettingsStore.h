// The settings in the INI file (Ostrel.ini in the configuration folder):
// working folders, the filter, MIDI thru and the bulk interval, and the
// preferences, read into the model at start-up and written back at the end.
// Every value read is brought into its parameter's range, or is the
// default when it is not a number, before anything uses it. The chosen
// ports are read here too (PortSet opens them and writes each new choice);
// the window layout is the main window's.
// User-interface thread.
#pragma once

#include <QString>

class OstrelModel;
class PortSet;

class SettingsStore {
public:
    static QString iniFilePath();
    // Everything but the layout into the model; the ports opened by name.
    static void read(OstrelModel* model, PortSet* ports);
    // Everything but port names and the layout.
    static void write(OstrelModel* model);
};
