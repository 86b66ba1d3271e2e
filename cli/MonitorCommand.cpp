#include "MonitorCommand.h"

#include "CliFeed.h"
#include "CliSession.h"
#include "MidiNameTables.h"
#include "OstrelModel.h"
#include "midilib_event.h"

namespace {

const char HexDigits[] = "0123456789ABCDEF";

// A JSON string of Latin-1 text.
void appendJsonString(QByteArray& out, const char* text, int length)
{
    out += '"';
    for (int i = 0; i < length; i++) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += HexDigits[c >> 4];
            out += HexDigits[c & 0x0F];
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

}  // namespace

void MonitorCommand::addOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("in"),
                      QStringLiteral("An input port: its name as listed, or a part of it that names one port. "
                                     "Give it twice for two inputs."),
                      QStringLiteral("port")});
    parser.addOption({QStringLiteral("time"), QStringLiteral("Time stamps: clock, integer or delta."),
                      QStringLiteral("format")});
    parser.addOption({QStringLiteral("details"), QStringLiteral("Shows port, channel and type columns.")});
    addFilterOption(parser);
    parser.addOption({QStringLiteral("json"), QStringLiteral("One JSON object per message.")});
    parser.addOption({QStringLiteral("count"), QStringLiteral("Ends after this many messages."),
                      QStringLiteral("n")});
    parser.addOption({QStringLiteral("duration"), QStringLiteral("Ends after this many seconds."),
                      QStringLiteral("seconds")});
    parser.addOption({QStringLiteral("log"), QStringLiteral("Also writes the lines to a log file."),
                      QStringLiteral("file")});
}

int MonitorCommand::execute(const QCommandLineParser& parser)
{
    const QStringList inputs = parser.values(QStringLiteral("in"));
    if (inputs.isEmpty() || inputs.size() > 2) {
        return fail(QStringLiteral("give one or two input ports with --in"));
    }
    double duration = 0;
    if (!number(parser, QStringLiteral("count"), 1, 1LL << 62, m_count) ||
        !seconds(parser, QStringLiteral("duration"), duration)) {
        return Failed;
    }
    int timeFormat = -1;
    if (parser.isSet(QStringLiteral("time"))) {
        timeFormat = QStringList{QStringLiteral("clock"), QStringLiteral("integer"), QStringLiteral("delta")}.indexOf(
            parser.value(QStringLiteral("time")));
        if (timeFormat < 0) {
            return fail(QStringLiteral("--time takes clock, integer or delta, not \"%1\"")
                            .arg(parser.value(QStringLiteral("time"))));
        }
    }
    const std::unique_ptr<CliSession> session = openSession(parser);
    if (!session) {
        return Failed;
    }
    QString error;
    OstrelModel* model = session->model();
    if (timeFormat >= 0) {
        model->setModelIntValue(ParamTimeStamp, 1);
        model->setModelIntValue(ParamMessageTimeFormat, timeFormat);
    }
    if (parser.isSet(QStringLiteral("details"))) {
        model->setModelIntValue(ParamMessageDetail, 1);
    }
    if (parser.isSet(QStringLiteral("log")) && !m_log.open(parser.value(QStringLiteral("log")))) {
        return fail(QStringLiteral("cannot write the log \"%1\"").arg(parser.value(QStringLiteral("log"))));
    }
    m_json = parser.isSet(QStringLiteral("json"));
    // Recording before the inputs open: each message comes with its line.
    CliFeed feed(session.get(), true, [&](const CliFeed::Tick& tick) {
        print(take(*session, tick.lossLines, tick.recording));
        if (m_count > 0 && m_shown >= m_count) {
            stop();
        }
    });
    for (int group = 0; group < inputs.size(); group++) {
        if (!session->openInput(static_cast<unsigned int>(group), inputs.at(group), error)) {
            return fail(error);
        }
    }
    runUntilStopped(duration);
    if (m_count == 0 || m_shown < m_count) {
        feed.tick();  // what came until now
    }
    sayCounts(*session);
    m_log.close();
    return 0;
}

QByteArray MonitorCommand::take(const CliSession& session, const QString& lossLines,
                                const MidiAnalyzer::Recording& recording)
{
    QByteArray text;
    for (const QString& line : lossLines.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QByteArray said = line.toLatin1();
        text += '\n';
        if (m_json) {
            text += "{\"notice\":";
            appendJsonString(text, said.constData(), said.size());
            text += '}';
        } else {
            text += said;
        }
    }
    for (const MidiAnalyzer::RecordedMessage& message : recording.messages) {
        if (m_count > 0 && m_shown >= m_count) {
            break;
        }
        m_shown++;
        text += '\n';
        if (m_json) {
            text += json(session.inputName(message.group), recording, message);
        } else {
            text.append(recording.lines.constData() + message.lineOffset, message.lineLength);
        }
    }
    if (text.isEmpty()) {
        return text;
    }
    if (m_log.isOpen()) {
        m_log.append(text);
    }
    // Lines for a reader: each ends with its break.
    text.remove(0, 1);
    text += '\n';
    return text;
}

QByteArray MonitorCommand::json(const QString& port, const MidiAnalyzer::Recording& recording,
                                const MidiAnalyzer::RecordedMessage& message)
{
    QByteArray out;
    out.reserve(96 + static_cast<int>(message.length) * 3 + message.lineLength);
    out += "{\"port\":";
    const QByteArray name = port.toUtf8();
    appendJsonString(out, name.constData(), name.size());  // UTF-8 passes through
    out += ",\"time\":" + QByteArray::number(static_cast<qulonglong>(message.hostTime));
    out += ",\"bytes\":\"";
    const unsigned char* bytes = recording.bytes.data() + message.offset;
    for (uint32_t i = 0; i < message.length; i++) {
        if (i > 0) {
            out += ' ';
        }
        out += HexDigits[bytes[i] >> 4];
        out += HexDigits[bytes[i] & 0x0F];
    }
    out += "\",\"type\":";
    const QByteArray type = message.type < MessageTypeCount && message.type != MessageTypeNotParsed
                                ? QByteArray(MessageType[message.type]).trimmed()
                                : QByteArray("raw");
    appendJsonString(out, type.constData(), type.size());
    out += ",\"channel\":";
    if (message.type <= MIDILIB_Event_Type_PitchBend && message.length > 0) {
        out += QByteArray::number((bytes[0] & 0x0F) + 1);
    } else {
        out += "null";
    }
    out += ",\"text\":";
    appendJsonString(out, recording.lines.constData() + message.lineOffset, message.lineLength);
    out += '}';
    return out;
}
