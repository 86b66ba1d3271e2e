// ostrel-cli record: what arrives at an input, as the monitor's Record
// writes it (a format 0 MIDI file, 960 ticks per quarter note), made whole
// on disk every 100 ms so a killed process leaves a valid file. Ends after
// --duration seconds or at SIGINT/SIGTERM; says "received N, lost M" on
// standard error. Main thread.
#pragma once

#include "CliCommand.h"

class RecordCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("record"); }
    QString summary() const override { return QStringLiteral("records an input to a MIDI file"); }

protected:
    void addOptions(QCommandLineParser& parser) override;
    int execute(const QCommandLineParser& parser) override;
};
