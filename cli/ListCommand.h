// ostrel-cli list [--json]: the service's input and output ports, one per
// line as "in<TAB>name" and "out<TAB>name", with the names the other
// subcommands take; --json gives one object with the service's name and
// both lists. Main thread.
#pragma once

#include "CliCommand.h"

class ListCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("list"); }
    QString summary() const override { return QStringLiteral("lists the MIDI input and output ports"); }

protected:
    void addOptions(QCommandLineParser& parser) override;
    int execute(const QCommandLineParser& parser) override;
};
