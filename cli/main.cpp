// ostrel-cli: Ostrel's engine from the command line, for test rigs and
// continuous integration. No window and no display: a plain application
// object runs the subcommand's event loop.
#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <vector>

#include "ListCommand.h"
#include "MonitorCommand.h"
#include "MonitorLog.h"
#include "RecordCommand.h"
#include "RequestCommand.h"
#include "SendCommand.h"
#include "ThruCommand.h"

namespace {

std::vector<std::unique_ptr<CliCommand>> commands()
{
    std::vector<std::unique_ptr<CliCommand>> all;
    all.push_back(std::make_unique<ListCommand>());
    all.push_back(std::make_unique<MonitorCommand>());
    all.push_back(std::make_unique<SendCommand>());
    all.push_back(std::make_unique<RequestCommand>());
    all.push_back(std::make_unique<RecordCommand>());
    all.push_back(std::make_unique<ThruCommand>());
    return all;
}

QByteArray usage(const std::vector<std::unique_ptr<CliCommand>>& all)
{
    QByteArray text = "Usage: ostrel-cli <command> [options]\n"
                      "Ostrel's MIDI engine from the command line.\n\nCommands:\n";
    for (const auto& command : all) {
        text += "  " + command->name().toUtf8().leftJustified(9) + command->summary().toUtf8() + '\n';
    }
    text += "\nEach command takes --help. ostrel-cli --version shows the version.\n";
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Ostrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(OSTREL_VERSION));
    const auto all = commands();
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString first = arguments.value(0);
    if (first == QLatin1String("-h") || first == QLatin1String("--help") || first == QLatin1String("help")) {
        const QByteArray text = usage(all);
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
        return 0;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        std::printf("ostrel-cli %s\n", OSTREL_VERSION);
        return 0;
    }
    for (const auto& command : all) {
        if (command->name() == first) {
            arguments.removeFirst();
            const int status = command->run(arguments);
            MonitorLog::waitForClosedLogs();
            return status;
        }
    }
    const QByteArray text = usage(all);
    if (first.isEmpty()) {
        std::fprintf(stderr, "ostrel-cli: a command is needed\n%s", text.constData());
    } else {
        std::fprintf(stderr, "ostrel-cli: no command \"%s\"\n%s", qPrintable(first), text.constData());
    }
    return 1;
}
