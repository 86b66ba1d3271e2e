#include "ThruCommand.h"

#include <cstdio>

#include "CliFeed.h"
#include "CliSession.h"
#include "MidiClient.h"
#include "OstrelModel.h"

namespace {

// The lines of a monitor text that say something went wrong ("-- ... --").
QByteArray notices(const QByteArray& text)
{
    QByteArray said;
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith("-- ")) {
            said += line + '\n';
        }
    }
    return said;
}

}  // namespace

void ThruCommand::addOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("in"), QStringLiteral("The input port."), QStringLiteral("port")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("The output port."), QStringLiteral("port")});
    addFilterOption(parser);
}

int ThruCommand::execute(const QCommandLineParser& parser)
{
    if (!parser.isSet(QStringLiteral("in")) || !parser.isSet(QStringLiteral("out"))) {
        return fail(QStringLiteral("give the input port with --in and the output port with --out"));
    }
    const std::unique_ptr<CliSession> session = openSession(parser);
    if (!session) {
        return Failed;
    }
    QString error;
    // Set while no worker delivers: before the input opens.
    session->analyzer()->setThruSender(session->sender());
    session->model()->setModelIntValue(ParamMidiThru, 1);
    if (!session->openOutput(parser.value(QStringLiteral("out")), error) ||
        !session->openInput(0, parser.value(QStringLiteral("in")), error)) {
        return fail(error);
    }
    session->routeThru();
    CliFeed feed(session.get(), false, [](const CliFeed::Tick& tick) {
        const QByteArray said = notices(tick.lossLines.toLatin1() + tick.received);
        std::fwrite(said.constData(), 1, static_cast<size_t>(said.size()), stderr);
    });
    runUntilStopped(0);
    feed.tick();
    session->client()->flushOutput(2000);
    sayCounts(*session);
    return 0;
}
