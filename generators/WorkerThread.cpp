#include "WorkerThread.h"

WorkerThread::~WorkerThread()
{
    quitAndWait();
}

void WorkerThread::startNormal()
{
    start();
    setPriority(QThread::NormalPriority);
}

void WorkerThread::quitAndWait()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_quit = true;
        m_wake.notify_all();
    }
    wait();
    std::lock_guard<std::mutex> lock(m_lock);  // the worker's end, visible to race checkers
}
