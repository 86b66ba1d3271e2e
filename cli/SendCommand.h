// ostrel-cli send: a dump file (.syx or the editor's text) or hexadecimal
// text sent to an output as the editor's Send does: split into messages by
// the same sending thread, the bulk interval around system exclusive, a
// checksum put in before each F7 when asked, the whole repeated when asked.
// Exit status 0 when everything went, 1 when anything was refused (the
// reason on standard error) or the input was not usable (nothing sent).
// Main thread; the sending thread sends.
#pragma once

#include "CliCommand.h"


class SendCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("send"); }
    QString summary() const override { return QStringLiteral("sends a dump file or hexadecimal text"); }

protected:
    void addOptions(QCommandLineParser& parser) override;
    int execute(const QCommandLineParser& parser) override;
};
