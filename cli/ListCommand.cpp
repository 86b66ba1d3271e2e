#include "ListCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliSession.h"
#include "MidiClient.h"

void ListCommand::addOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("json"), QStringLiteral("Lists the ports as one JSON object.")});
}

int ListCommand::execute(const QCommandLineParser& parser)
{
    const std::unique_ptr<CliSession> session = openSession(parser);
    if (!session) {
        return Failed;
    }
    QString error;
    const QStringList inputs = session->inputNames(error);
    const QStringList outputs = session->outputNames(error);
    if (!error.isEmpty()) {
        return fail(error);
    }
    if (parser.isSet(QStringLiteral("json"))) {
        QJsonObject list;
        const QString service = session->client()->systemServiceName();
        list.insert(QStringLiteral("service"), service.isEmpty() ? QStringLiteral("Loopback") : service);
        list.insert(QStringLiteral("inputs"), QJsonArray::fromStringList(inputs));
        list.insert(QStringLiteral("outputs"), QJsonArray::fromStringList(outputs));
        print(QJsonDocument(list).toJson(QJsonDocument::Compact) + '\n');
        return 0;
    }
    QByteArray text;
    for (const QString& input : inputs) {
        text += "in\t" + input.toUtf8() + '\n';
    }
    for (const QString& output : outputs) {
        text += "out\t" + output.toUtf8() + '\n';
    }
    print(text);
    return 0;
}
