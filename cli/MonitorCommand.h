// ostrel-cli monitor: the MIDI In monitor's lines on standard output, one
// per message, as the window writes them (the same analyzer, filter and
// line text), or one JSON object per message (--json). Ends after --count
// messages, --duration seconds, or SIGINT/SIGTERM, then says "received N,
// lost M" on standard error. A loss is said as the monitor says it, a line
// of its own ({"notice": "..."} in JSON). Main thread.
#pragma once

#include "CliCommand.h"
#include "MidiAnalyzer.h"
#include "MonitorLog.h"

class MonitorCommand : public CliCommand {
public:
    QString name() const override { return QStringLiteral("monitor"); }
    QString summary() const override { return QStringLiteral("prints what arrives at one or two inputs"); }

    // One message as a JSON object (no line break): port, time (ns), bytes
    // (hexadecimal pairs), type, channel (1-16, null for other messages)
    // and the monitor line's text.
    static QByteArray json(const QString& port, const MidiAnalyzer::Recording& recording,
                           const MidiAnalyzer::RecordedMessage& message);

protected:
    void addOptions(QCommandLineParser& parser) override;
    int execute(const QCommandLineParser& parser) override;

private:
    // What one tick brought, as output text (up to the count).
    QByteArray take(const CliSession& session, const QString& lossLines, const MidiAnalyzer::Recording& recording);

    bool m_json = false;
    long long m_count = 0;  // 0: no limit
    long long m_shown = 0;
    MonitorLog m_log;
};
