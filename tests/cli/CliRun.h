// Runs ostrel-cli for a test: the program built beside the tests, or the one
// next to the test binary (inside the ALSA virtual machine).
#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <csignal>
#include <functional>

namespace cli_run {

inline QString program()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/ostrel-cli");
    return QFile::exists(beside) ? beside : QStringLiteral(OSTREL_CLI);
}

struct Result {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Starts the program; the caller waits.
inline void start(QProcess& process, const QStringList& arguments)
{
    process.setProgram(program());
    process.setArguments(arguments);
    process.start();
}

inline Result finish(QProcess& process, int timeoutMs = 60000)
{
    Result result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

inline Result run(const QStringList& arguments, int timeoutMs = 60000)
{
    QProcess process;
    start(process, arguments);
    return finish(process, timeoutMs);
}

// A dump file of count system exclusive messages of size bytes each (their
// data bytes differ from message to message); the file's bytes.
inline QByteArray writeDump(const QString& path, int count, int size)
{
    QByteArray dump;
    for (int message = 0; message < count; message++) {
        QByteArray bytes(size, '\0');
        for (int i = 1; i < size - 1; i++) {
            bytes[i] = static_cast<char>((i * 7 + message) & 0x7F);
        }
        bytes[0] = static_cast<char>(0xF0);
        bytes[size - 1] = static_cast<char>(0xF7);
        dump += bytes;
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(dump);
    }
    return dump;
}

inline void signal(QProcess& process, int number)
{
    ::kill(static_cast<pid_t>(process.processId()), number);
}

}  // namespace cli_run
