// ostrel-cli thru: MIDI thru from an input to an output through the
// analyzer's filter (--filter, or the settings'), until SIGINT or SIGTERM,
// passed where the window passes it (JACK: in the cycle it came in).
// A message the output cannot take, and what the input lost, are said on
// standard error as the monitor says them; at the end "received N, lost
// M". Main thread; the input's worker passes the messages on.
#pragma once

#include "CliCommand.h"

class ThruCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("thru"); }
    QString summary() const override { return QStringLiteral("passes an input through to an output"); }

protected:
    void addOptions(QCommandLineParser& parser) override;
    int execute(const QCommandLineParser& parser) override;
};
