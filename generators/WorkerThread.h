// A worker thread that waits on a condition and ends on request: the
// destructor sets quit under the lock, wakes the worker and joins it.
// Subclasses run their loop holding lock() and waiting on wake() until quit.
#pragma once

#include <QThread>

#include <condition_variable>
#include <mutex>

class WorkerThread : public QThread {
    Q_OBJECT

public:
    explicit WorkerThread(QObject* parent = nullptr) : QThread(parent) {}
    ~WorkerThread() override;

protected:
    // Starts the worker with the creator's priority, then normal priority.
    void startNormal();
    // Called by the most derived destructor, before its members go.
    void quitAndWait();

    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_quit = false;  // under m_lock
};
