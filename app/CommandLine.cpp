#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <memory>

#include "MidiClient.h"

namespace {

const char* const Program = "ostrel";

// Options the toolkit reads itself; accepted here so that they pass through.
const char* const ToolkitValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "display",
                                           "style", "stylesheet", "geometry", "qwindowgeometry",
                                           "qwindowtitle", "qwindowicon", "plugin", "session"};
const char* const ToolkitFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QString usageHint()
{
    return QStringLiteral("Try '%1 --help' for more information.\n").arg(QLatin1String(Program));
}

CommandLine exitWith(int code, const QString& text)
{
    CommandLine line;
    line.action = CommandLine::Exit;
    line.exitCode = code;
    line.output = text;
    return line;
}

QString helpText(const QCommandLineParser& parser)
{
    return parser.helpText() +
           QStringLiteral("\nSettings, the chosen ports and the window layout are kept in\n  %1\n"
                          "A project left unsaved when a signal ended the program is kept in\n  %2\n"
                          "and offered at the next start.\n")
               .arg(QStringLiteral("~/.config/ostrel/Ostrel.ini"),
                    QStringLiteral("~/.local/share/ostrel/recovery.ostrel"));
}

}  // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Ostrel: a MIDI monitor and sender for instrument developers."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the program's name and version and exits."));
    const QCommandLineOption api(QStringLiteral("midi-api"),
                                 QStringLiteral("The MIDI service: alsa (the ALSA sequencer) or jack (a "
                                                "running JACK server). Without it: ALSA when there is a "
                                                "sequencer, else JACK; the built-in loopback always."),
                                 QStringLiteral("alsa|jack"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(api);
    for (const char* name : ToolkitValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : ToolkitFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("A project file (.ostrel) to open."),
                                 QStringLiteral("[project]"));
    const QString program = QLatin1String(Program);
    if (!parser.parse(arguments)) {
        return exitWith(2, QStringLiteral("%1: %2\n").arg(program, parser.errorText()) + usageHint());
    }
    if (parser.isSet(help)) {
        // The usage line names the program through the application object:
        // a plain one here, which needs no display.
        int count = 1;
        char name[] = "ostrel";
        char* names[] = {name, nullptr};
        std::unique_ptr<QCoreApplication> application;
        if (!QCoreApplication::instance()) {
            application = std::make_unique<QCoreApplication>(count, names);
        }
        return exitWith(0, helpText(parser));
    }
    if (parser.isSet(version)) {
        return exitWith(0, QStringLiteral("%1 %2\n").arg(program, QStringLiteral(OSTREL_VERSION)));
    }
    CommandLine line;
    line.api = MidiApi::Automatic;
    if (parser.isSet(api)) {
        const QString value = parser.value(api);
        if (!MidiClient::apiNamed(value, line.api)) {
            return exitWith(2, QStringLiteral("%1: --midi-api takes alsa or jack, not '%2'\n").arg(program, value) +
                                   usageHint());
        }
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        return exitWith(2, QStringLiteral("%1: one project at a time\n").arg(program) + usageHint());
    }
    line.projectPath = positional.value(0);
    return line;
}
