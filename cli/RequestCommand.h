// ostrel-cli request: what the editor's Send and Receive does: sends a
// request (a dump file or --hex text, as send takes it), then collects the
// system exclusive replies that arrive at an input until --count came or
// --timeout seconds passed without one (counted from the last reply, once
// the request went). The replies are printed as the editor's text and
// saved with --save. Exit status: 0 every reply came (and begins with
// --expect), 1 an error, 2 no reply or too few ("No reply received."),
// 3 a reply that does not begin with --expect. Main thread.
#pragma once

#include <QByteArray>
#include <QList>

#include "CliCommand.h"

class RequestCommand : public CliCommand {
public:
    static constexpr int NoReply = 2;
    static constexpr int WrongReply = 3;

    QString name() const override { return QStringLiteral("request"); }
    QString summary() const override { return QStringLiteral("sends a request and waits for the replies"); }

protected:
    void addOptions(QCommandLineParser& parser) override;
    int execute(const QCommandLineParser& parser) override;

private:
    // The outcome once the waiting is over: the replies printed and saved.
    int answer(const QCommandLineParser& parser, long long count);

    QList<QByteArray> m_replies;
    QByteArray m_expected;
};
