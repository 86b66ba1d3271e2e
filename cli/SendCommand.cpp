#include "SendCommand.h"

#include "CliSession.h"
#include "CliTransmission.h"
#include "MessageSource.h"
#include "MidiClient.h"
#include "OstrelModel.h"

void SendCommand::addOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("out"),
                      QStringLiteral("The output port: its name as listed, or a part of it that names one port."),
                      QStringLiteral("port")});
    parser.addOption({QStringLiteral("bulk-interval"),
                      QStringLiteral("Milliseconds of silence around each system exclusive message (0-1000)."),
                      QStringLiteral("ms")});
    parser.addOption({QStringLiteral("repeat"), QStringLiteral("Sends the whole this many times."),
                      QStringLiteral("n")});
    parser.addOption({QStringLiteral("interval"), QStringLiteral("Milliseconds between repeats."),
                      QStringLiteral("ms")});
    MessageSource::addOptions(parser);
}

int SendCommand::execute(const QCommandLineParser& parser)
{
    long long bulkInterval = -1, repeat = 1, interval = 0;
    if (!number(parser, QStringLiteral("bulk-interval"), 0, 1000, bulkInterval) ||
        !number(parser, QStringLiteral("repeat"), 1, 1000000000, repeat) ||
        !number(parser, QStringLiteral("interval"), 0, 3600000, interval)) {
        return Failed;
    }
    if (!parser.isSet(QStringLiteral("out"))) {
        return fail(QStringLiteral("give the output port with --out"));
    }
    const std::unique_ptr<CliSession> session = openSession(parser);
    if (!session) {
        return Failed;
    }
    QString text, error;
    if (!MessageSource::read(parser, session->model(), text, error) ||
        !session->openOutput(parser.value(QStringLiteral("out")), error)) {
        return fail(error);
    }
    if (bulkInterval >= 0) {
        session->model()->setModelIntValue(ParamBulkInterval, static_cast<int>(bulkInterval));
    }
    CliTransmission transmission(session.get());
    QObject::connect(&transmission, &CliTransmission::finished, [this] { stop(); });
    for (long long round = 0; round < repeat; round++) {
        if (round > 0 && interval > 0 && runUntilStopped(static_cast<double>(interval) / 1000)) {
            return fail(QStringLiteral("stopped after %1 of %2 sendings").arg(round).arg(repeat));
        }
        transmission.start(text);
        if (runUntilStopped(0) && !transmission.isFinished()) {
            transmission.stop();
            runUntilStopped(0);
        }
        if (!transmission.succeeded()) {
            return fail(transmission.error());
        }
    }
    if (!session->client()->flushOutput(10000)) {
        return fail(QStringLiteral("the output port did not take everything in 10 seconds"));
    }
    return 0;
}
