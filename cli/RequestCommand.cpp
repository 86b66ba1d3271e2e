#include "RequestCommand.h"

#include <QTimer>

#include <cmath>

#include "CliFeed.h"
#include "CliSession.h"
#include "CliTransmission.h"
#include "DumpFile.h"
#include "MessageSource.h"
#include "MidiMessageText.h"
#include "MidiMonitorLine.h"
#include "OstrelModel.h"
#include "midilib_event.h"

namespace {

// The bytes of a hexadecimal prefix; false for anything else.
bool prefixBytes(const QString& text, QByteArray& bytes)
{
    int loneDigit = -1;
    const QVector<MidiMessageText::Pair> pairs = MidiMessageText::pairs(text, &loneDigit);
    for (const MidiMessageText::Pair& pair : pairs) {
        if (pair.value < 0) {
            return false;
        }
        bytes.append(static_cast<char>(pair.value));
    }
    return loneDigit < 0 && !bytes.isEmpty();
}

}  // namespace

void RequestCommand::addOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("out"), QStringLiteral("The output port the request goes to."),
                      QStringLiteral("port")});
    parser.addOption({QStringLiteral("in"), QStringLiteral("The input port the replies come from."),
                      QStringLiteral("port")});
    parser.addOption({QStringLiteral("timeout"),
                      QStringLiteral("Seconds to wait for a reply after the request and after each reply "
                                     "(default 5 or the settings')."),
                      QStringLiteral("seconds")});
    parser.addOption({QStringLiteral("expect"),
                      QStringLiteral("Hexadecimal bytes every reply must begin with (\"F0 7E 7F 06 02\")."),
                      QStringLiteral("hex")});
    parser.addOption({QStringLiteral("save"), QStringLiteral("Saves the replies: .syx as bytes, else as text."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("count"), QStringLiteral("The replies to wait for (default 1)."),
                      QStringLiteral("n")});
    MessageSource::addOptions(parser);
}

int RequestCommand::execute(const QCommandLineParser& parser)
{
    long long count = 1;
    double timeout = -1;
    if (!number(parser, QStringLiteral("count"), 1, 1000000, count) ||
        !seconds(parser, QStringLiteral("timeout"), timeout)) {
        return Failed;
    }
    if (parser.isSet(QStringLiteral("expect")) && !prefixBytes(parser.value(QStringLiteral("expect")), m_expected)) {
        return fail(QStringLiteral("--expect takes hexadecimal pairs, not \"%1\"")
                        .arg(parser.value(QStringLiteral("expect"))));
    }
    if (!parser.isSet(QStringLiteral("out")) || !parser.isSet(QStringLiteral("in"))) {
        return fail(QStringLiteral("give the output port with --out and the input port with --in"));
    }
    const std::unique_ptr<CliSession> session = openSession(parser);
    if (!session) {
        return Failed;
    }
    if (timeout < 0) {
        timeout = session->model()->getModelIntValue(ParamReplyTimeout, nullptr);
    }
    QString text, error;
    if (!MessageSource::read(parser, session->model(), text, error) ||
        !session->openInput(0, parser.value(QStringLiteral("in")), error) ||
        !session->openOutput(parser.value(QStringLiteral("out")), error)) {
        return fail(error);
    }
    QTimer replyTimer;
    replyTimer.setSingleShot(true);
    replyTimer.setInterval(static_cast<int>(std::llround(timeout * 1000)));
    QObject::connect(&replyTimer, &QTimer::timeout, [this] { stop(); });
    bool sent = false;
    CliFeed feed(session.get(), true, [&](const CliFeed::Tick& tick) {
        const int before = m_replies.size();
        for (const MidiAnalyzer::RecordedMessage& message : tick.recording.messages) {
            if (message.type == MIDILIB_Event_Type_SystemExclusive && m_replies.size() < count) {
                m_replies.append(QByteArray(reinterpret_cast<const char*>(tick.recording.bytes.data()) + message.offset,
                                            static_cast<int>(message.length)));
            }
        }
        if (sent && m_replies.size() >= count) {
            stop();
        } else if (sent && m_replies.size() > before) {
            replyTimer.start();  // the time counts from the last reply
        }
    });
    CliTransmission transmission(session.get());
    QObject::connect(&transmission, &CliTransmission::finished, [this] { stop(); });
    transmission.start(text);
    const bool signalled = runUntilStopped(0);
    if (signalled && !transmission.isFinished()) {
        transmission.stop();
        runUntilStopped(0);
    }
    if (!transmission.succeeded()) {
        return fail(transmission.error());
    }
    sent = true;
    feed.tick();
    if (!signalled && m_replies.size() < count) {
        replyTimer.start();
        runUntilStopped(0);
        feed.tick();
    }
    return answer(parser, count);
}

int RequestCommand::answer(const QCommandLineParser& parser, long long count)
{
    QByteArray text;
    bool matching = true;
    for (const QByteArray& reply : m_replies) {
        MidiMonitorLine::appendSystemExclusiveText(text, reinterpret_cast<const unsigned char*>(reply.constData()),
                                                   static_cast<uint32_t>(reply.size()));
        matching = matching && reply.startsWith(m_expected);
    }
    if (!text.isEmpty()) {
        print(text.mid(1) + '\n');
    }
    QString error;
    if (parser.isSet(QStringLiteral("save")) && !m_replies.isEmpty() &&
        !DumpFile::save(parser.value(QStringLiteral("save")), QString::fromLatin1(text.mid(1)), error)) {
        return fail(QStringLiteral("%1 (%2)").arg(error, parser.value(QStringLiteral("save"))));
    }
    if (m_replies.isEmpty()) {
        return fail(QStringLiteral("No reply received."), NoReply);
    }
    if (m_replies.size() < count) {
        return fail(QStringLiteral("%1 of %2 replies received.").arg(m_replies.size()).arg(count), NoReply);
    }
    if (!matching) {
        return fail(QStringLiteral("a reply does not begin with %1")
                        .arg(QString::fromLatin1(m_expected.toHex(' ').toUpper())),
                    WrongReply);
    }
    return 0;
}
