#include "MonitorLog.h"

#include <QFile>

#include <chrono>

MonitorLog::~MonitorLog()
{
    close();
}

bool MonitorLog::open(const QString& path)
{
    close();
    m_file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!m_file) {
        return false;
    }
    m_path = path;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending.clear();
        m_lostLines = 0;
        m_unreported = 0;
        m_stopping = false;
        m_failed = false;
    }
    m_worker = std::thread([this] { run(); });
    return true;
}

void MonitorLog::append(const QByteArray& text)
{
    if (text.isEmpty() || !isOpen()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_failed) {
            return;
        }
        if (m_pending.size() + text.size() > m_pendingLimit) {
            const auto lines = static_cast<uint64_t>(text.count('\n'));
            m_lostLines += lines;
            m_unreported += lines;
            return;
        }
        if (m_unreported > 0) {
            const QByteArray lossLine =
                "\n-- " + QByteArray::number(static_cast<qulonglong>(m_unreported)) + " messages lost --";
            m_pending.append(lossLine.constData(), lossLine.size());
            m_unreported = 0;
        }
        if (!text.startsWith('\n')) {
            m_pending += '\n';
        }
        // Copied, never shared: the worker owns every byte it writes.
        m_pending.append(text.constData(), text.size());
    }
    m_wake.notify_one();
}

void MonitorLog::run()
{
    QByteArray writing;
    bool stopping = false;
    while (!stopping) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait_for(lock, std::chrono::milliseconds(FlushMilliseconds),
                            [this] { return m_stopping || !m_pending.isEmpty(); });
            writing.swap(m_pending);
            stopping = m_stopping;
            if (stopping && m_unreported > 0) {
                writing += "\n-- " + QByteArray::number(static_cast<qulonglong>(m_unreported)) + " messages lost --";
                m_unreported = 0;
            }
        }
        if (writing.isEmpty()) {
            continue;
        }
        // Lines arrive each beginning with a break; the file's lines each end with one.
        const bool written = std::fwrite(writing.constData() + 1, 1, static_cast<size_t>(writing.size() - 1), m_file) ==
                                 static_cast<size_t>(writing.size() - 1) &&
                             std::fputc('\n', m_file) != EOF && std::fflush(m_file) == 0;
        writing.clear();
        if (!written) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_failed = true;
            m_pending.clear();
            return;
        }
    }
}

void MonitorLog::close()
{
    if (!m_worker.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_worker.join();
    std::fclose(m_file);
    m_file = nullptr;
}

uint64_t MonitorLog::lostLines() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lostLines;
}

bool MonitorLog::failed() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failed;
}
