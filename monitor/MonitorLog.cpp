#include "MonitorLog.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// Workers of closed logs still writing, process-wide: waitForClosedLogs
// waits for them. Taken after a State's mutex, never before.
std::mutex closingMutex;
std::condition_variable closingChanged;
int closing = 0;

QByteArray lossLine(uint64_t lines)
{
    return "\n-- " + QByteArray::number(static_cast<qulonglong>(lines)) + " messages lost --";
}

}  // namespace

MonitorLog::~MonitorLog()
{
    close();
}

bool MonitorLog::open(const QString& path)
{
    close();
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file) {
        return false;
    }
    m_path = path;
    m_state = std::make_shared<State>();
    m_state->file = file;
    m_open = true;
    std::thread(run, m_state).detach();
    return true;
}

void MonitorLog::append(const QByteArray& text)
{
    if (text.isEmpty() || !m_open) {
        return;
    }
    State& state = *m_state;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (state.failed) {
            return;
        }
        if (state.pending.size() + text.size() > m_pendingLimit) {
            const auto lines = static_cast<uint64_t>(text.count('\n'));
            state.lostLines += lines;
            state.unreported += lines;
            return;
        }
        if (state.unreported > 0) {
            state.pending += lossLine(state.unreported);
            state.unreported = 0;
        }
        if (!text.startsWith('\n')) {
            state.pending += '\n';
        }
        // Copied, never shared: the worker owns every byte it writes.
        state.pending.append(text.constData(), text.size());
    }
    state.wake.notify_one();
}

void MonitorLog::run(const std::shared_ptr<State>& shared)
{
    State& state = *shared;
    QByteArray writing;
    bool stopping = false;
    while (!stopping) {
        {
            std::unique_lock<std::mutex> lock(state.mutex);
            state.wake.wait_for(lock, std::chrono::milliseconds(FlushMilliseconds),
                                [&state] { return state.stopping || !state.pending.isEmpty(); });
            writing.swap(state.pending);
            stopping = state.stopping;
            if (stopping && state.unreported > 0) {
                writing += lossLine(state.unreported);
                state.unreported = 0;
            }
        }
        if (writing.isEmpty()) {
            continue;
        }
        // Lines arrive each beginning with a break; the file's lines each end with one.
        const auto size = static_cast<size_t>(writing.size() - 1);
        const bool written = std::fwrite(writing.constData() + 1, 1, size, state.file) == size &&
                             std::fputc('\n', state.file) != EOF && std::fflush(state.file) == 0;
        const int error = errno;
        writing.clear();
        if (!written) {
            std::lock_guard<std::mutex> lock(state.mutex);
            state.failed = true;
            state.error = QString::fromLocal8Bit(std::strerror(error));
            state.pending.clear();
            break;
        }
    }
    std::fclose(state.file);
    state.file = nullptr;
    bool closed = false;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.ended = true;
        closed = state.stopping;
    }
    if (closed) {
        std::lock_guard<std::mutex> lock(closingMutex);
        closing--;
    }
    closingChanged.notify_all();
}

void MonitorLog::close()
{
    if (!m_open) {
        return;
    }
    m_open = false;
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        if (!m_state->ended) {
            // Counted before the worker can see the flag and end.
            m_state->stopping = true;
            std::lock_guard<std::mutex> count(closingMutex);
            closing++;
        }
    }
    m_state->wake.notify_one();
}

void MonitorLog::waitForClosedLogs()
{
    std::unique_lock<std::mutex> lock(closingMutex);
    closingChanged.wait(lock, [] { return closing == 0; });
}

uint64_t MonitorLog::lostLines() const
{
    if (!m_state) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->lostLines;
}

bool MonitorLog::failed() const
{
    if (!m_state) {
        return false;
    }
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->failed;
}

QString MonitorLog::error() const
{
    if (!m_state) {
        return QString();
    }
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->error;
}
