// The command line: ostrel [options] [project-file]. Read before anything
// else starts, so that --help and --version answer without a window or a
// display. Options: --help (-h), --version (-v), --midi-api=alsa|jack, and
// the toolkit's own (-platform, -display, -style and the like), which pass
// through to it.
#pragma once

#include <QString>
#include <QStringList>

enum class MidiApi;

class CommandLine {
public:
    enum Action { Run, Exit };

    // arguments as the process got them, the program's name first.
    static CommandLine parse(const QStringList& arguments);

    Action action = Run;
    int exitCode = 0;     // when Exit: 0 for --help and --version, 2 for a usage error
    QString output;       // when Exit: for stdout (exit code 0) or stderr
    MidiApi api{};        // when Run (Automatic)
    QString projectPath;  // when Run: empty for none
};
