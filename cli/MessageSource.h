// The message text a sending subcommand takes: a dump file given as the
// positional argument, or --hex text, checked as the editor's save as
// .syx checks it (every pair hexadecimal, no lone digit, every system
// exclusive closed by its F7), with --checksum sum|xor put in before each
// F7 from --checksum-start (or the settings' start). Main thread.
#pragma once

#include <QCommandLineParser>
#include <QString>

class OstrelModel;

namespace MessageSource {

// Declares --hex, --checksum and --checksum-start and the file argument.
void addOptions(QCommandLineParser& parser);
// The text to send; false with the reason (the file's line named).
bool read(const QCommandLineParser& parser, OstrelModel* model, QString& text, QString& error);

}  // namespace MessageSource
