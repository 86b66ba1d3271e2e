#include "SignalQuitter.h"

#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};
}

SignalQuitter::SignalQuitter(QWidget* window) : m_window(window)
{
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalQuitter::readSignal);
    struct sigaction action {};
    action.sa_handler = &SignalQuitter::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

SignalQuitter::~SignalQuitter()
{
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    for (int& fd : signalPipe) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
}

void SignalQuitter::handle(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    // Only async-signal-safe work here; a full pipe means a close is pending anyway.
    if (write(signalPipe[1], &byte, 1) < 0) {
    }
}

void SignalQuitter::readSignal()
{
    char byte = 0;
    while (read(signalPipe[0], &byte, 1) == 1) {
    }
    if (m_window) {
        m_window->close();
    }
}
