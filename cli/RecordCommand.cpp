#include "RecordCommand.h"

#include <cstdio>

#include "CliFeed.h"
#include "CliSession.h"
#include "MidiTime.h"
#include "SmfRecorder.h"

void RecordCommand::addOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("in"), QStringLiteral("The input port to record."), QStringLiteral("port")});
    parser.addOption({QStringLiteral("duration"), QStringLiteral("Ends after this many seconds."),
                      QStringLiteral("seconds")});
    addFilterOption(parser);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The MIDI file to write (.mid)."),
                                 QStringLiteral("file.mid"));
}

int RecordCommand::execute(const QCommandLineParser& parser)
{
    double duration = 0;
    if (!seconds(parser, QStringLiteral("duration"), duration)) {
        return Failed;
    }
    if (!parser.isSet(QStringLiteral("in")) || parser.positionalArguments().size() != 1) {
        return fail(QStringLiteral("give the input port with --in and one MIDI file"));
    }
    const QString path = parser.positionalArguments().first();
    const std::unique_ptr<CliSession> session = openSession(parser);
    if (!session) {
        return Failed;
    }
    QString error;
    SmfRecorder recorder;
    CliFeed feed(session.get(), true, [&](const CliFeed::Tick& tick) {
        for (const MidiAnalyzer::RecordedMessage& message : tick.recording.messages) {
            recorder.add(message.hostTime, tick.recording.bytes.data() + message.offset,
                         static_cast<int>(message.length), message.parsed);
        }
        if (!recorder.sync()) {
            stop();
        }
    });
    // What arrives before the loop runs waits for the first tick: the
    // file is open by then.
    if (!session->openInput(0, parser.value(QStringLiteral("in")), error)) {
        return fail(error);
    }
    if (!recorder.open(path, getHostTimeInNanoseconds())) {
        return fail(QStringLiteral("cannot write \"%1\"").arg(path));
    }
    runUntilStopped(duration);
    if (!recorder.failed()) {
        feed.tick();
    }
    sayCounts(*session);
    if (!recorder.close()) {
        return fail(QStringLiteral("writing \"%1\" failed: %2").arg(path, recorder.error()));
    }
    return 0;
}
