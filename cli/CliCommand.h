// One subcommand of ostrel-cli: its options, its help (--help, -h), and
// what it does. Results go to standard output only; every error goes to
// standard error as "ostrel-cli <command>: <reason>" with exit status 1
// (a subcommand may give other statuses their own meaning).
// Main thread only.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <memory>

class CliSession;
class QEventLoop;

class CliCommand {
public:
    static constexpr int Failed = 1;

    virtual ~CliCommand() = default;
    virtual QString name() const = 0;
    // One line for the program's own help.
    virtual QString summary() const = 0;
    // The arguments after the command's name.
    int run(const QStringList& arguments);

protected:
    // Declares the command's options and positional arguments.
    virtual void addOptions(QCommandLineParser& parser) = 0;
    // Runs with the parsed options; returns the exit status.
    virtual int execute(const QCommandLineParser& parser) = 0;

    // Says what went wrong on standard error; returns status.
    int fail(const QString& reason, int status = Failed) const;
    // Declares --filter (a settings file whose filter applies).
    void addFilterOption(QCommandLineParser& parser);
    // A session on the service --midi-api names, with --settings (and
    // --filter, when declared) read; null after saying why.
    std::unique_ptr<CliSession> openSession(const QCommandLineParser& parser) const;
    // An option's whole number in [minimum, maximum] (fallback when not
    // given); false after saying why.
    bool number(const QCommandLineParser& parser, const QString& option, long long minimum, long long maximum,
                long long& value) const;
    // An option's seconds (a decimal number from 0 up); false after saying why.
    bool seconds(const QCommandLineParser& parser, const QString& option, double& value) const;
    // "received N, lost M" on standard error: what the inputs received and lost.
    static void sayCounts(const CliSession& session);
    // Writes to standard output at once.
    static void print(const QByteArray& text);
    // Runs the event loop until stop(), SIGINT, SIGTERM or SIGHUP, or until
    // seconds pass (0: no limit). True when a signal ended it.
    bool runUntilStopped(double seconds);
    void stop();

private:
    QEventLoop* m_loop = nullptr;
    bool m_stopped = false;  // stop() came before the loop ran
    bool m_takesFilter = false;

    QString helpText(const QCommandLineParser& parser) const;
};
