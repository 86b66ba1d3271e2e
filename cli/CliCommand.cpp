#include "CliCommand.h"

#include <QEventLoop>
#include <QTimer>

#include <cmath>
#include <cstdio>

#include "CliSession.h"
#include "MidiClient.h"
#include "SignalQuitter.h"

namespace {

const QString ApiOption = QStringLiteral("midi-api");
const QString SettingsOption = QStringLiteral("settings");
const QString FilterOption = QStringLiteral("filter");

}  // namespace

int CliCommand::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    parser.addOption(help);
    parser.addOption({ApiOption,
                      QStringLiteral("The MIDI service: alsa (the ALSA sequencer) or jack (a running JACK server). "
                                     "Without it: ALSA when there is a sequencer, else JACK; the built-in "
                                     "loopback always."),
                      QStringLiteral("alsa|jack")});
    parser.addOption({SettingsOption,
                      QStringLiteral("A settings file as the window writes it (Ostrel.ini): its filter, MIDI "
                                     "thru, bulk interval and preferences apply."),
                      QStringLiteral("file")});
    addOptions(parser);
    QStringList all = arguments;
    all.prepend(QStringLiteral("ostrel-cli ") + name());
    if (!parser.parse(all)) {
        return fail(parser.errorText() + QStringLiteral(" (see ostrel-cli %1 --help)").arg(name()));
    }
    if (parser.isSet(help)) {
        print(helpText(parser).toUtf8());
        return 0;
    }
    return execute(parser);
}

QString CliCommand::helpText(const QCommandLineParser& parser) const
{
    // The parser's own text names the program by the application's name.
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const int end = text.indexOf(QLatin1Char('\n'));
    if (text.startsWith(usage) && end > 0) {
        const int options = text.indexOf(QLatin1String(" [options]"));
        if (options > 0 && options < end) {
            text.replace(usage.size(), options - usage.size(), QStringLiteral("ostrel-cli ") + name());
        }
    }
    return text;
}

int CliCommand::fail(const QString& reason, int status) const
{
    std::fprintf(stderr, "ostrel-cli %s: %s\n", qPrintable(name()), qPrintable(reason));
    std::fflush(stderr);
    return status;
}

std::unique_ptr<CliSession> CliCommand::openSession(const QCommandLineParser& parser) const
{
    MidiApi api = MidiApi::Automatic;
    if (parser.isSet(ApiOption) && !MidiClient::apiNamed(parser.value(ApiOption), api)) {
        fail(QStringLiteral("--midi-api takes alsa or jack, not \"%1\"").arg(parser.value(ApiOption)));
        return nullptr;
    }
    auto session = std::make_unique<CliSession>(api);
    QString error;
    if ((parser.isSet(SettingsOption) && !session->readSettings(parser.value(SettingsOption), error)) ||
        (m_takesFilter && parser.isSet(FilterOption) && !session->readFilter(parser.value(FilterOption), error))) {
        fail(error);
        return nullptr;
    }
    return session;
}

void CliCommand::addFilterOption(QCommandLineParser& parser)
{
    m_takesFilter = true;
    parser.addOption({FilterOption, QStringLiteral("Reads the filter from a settings file."), QStringLiteral("file.ini")});
}

void CliCommand::sayCounts(const CliSession& session)
{
    const TrafficCounts counts = session.counts();
    std::fprintf(stderr, "received %llu, lost %llu\n",
                 static_cast<unsigned long long>(counts.messages[0] + counts.messages[1]),
                 static_cast<unsigned long long>(counts.totalLost()));
    std::fflush(stderr);
}

bool CliCommand::number(const QCommandLineParser& parser, const QString& option, long long minimum,
                        long long maximum, long long& value) const
{
    if (!parser.isSet(option)) {
        return true;
    }
    bool ok = false;
    const long long given = parser.value(option).trimmed().toLongLong(&ok);
    if (!ok || given < minimum || given > maximum) {
        fail(QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\"")
                 .arg(option)
                 .arg(minimum)
                 .arg(maximum)
                 .arg(parser.value(option)));
        return false;
    }
    value = given;
    return true;
}

void CliCommand::print(const QByteArray& text)
{
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    std::fflush(stdout);
}

bool CliCommand::seconds(const QCommandLineParser& parser, const QString& option, double& value) const
{
    if (!parser.isSet(option)) {
        return true;
    }
    bool ok = false;
    const double given = parser.value(option).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(given) || given < 0 || given > 1e6) {
        fail(QStringLiteral("--%1 takes seconds from 0 to 1000000, not \"%2\"").arg(option, parser.value(option)));
        return false;
    }
    value = given;
    return true;
}

bool CliCommand::runUntilStopped(double seconds)
{
    QEventLoop loop;
    m_loop = &loop;
    SignalQuitter quitter([&loop] { loop.quit(); });
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (seconds > 0) {
        limit.start(static_cast<int>(std::llround(seconds * 1000)));
    }
    if (!m_stopped) {
        loop.exec();
    }
    m_loop = nullptr;
    m_stopped = false;
    return quitter.signalled();
}

void CliCommand::stop()
{
    m_stopped = true;
    if (m_loop) {
        m_loop->quit();
    }
}
