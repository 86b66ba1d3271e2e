#include "SignalQuitter.h"

#include <QSocketNotifier>

#include <chrono>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
volatile sig_atomic_t signalsSeen = 0;
constexpr int HandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

}  // namespace

SignalQuitter::SignalQuitter(std::function<void()> quit) : m_quit(std::move(quit))
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
    for (int handled : HandledSignals) {
        sigaction(handled, &action, nullptr);
    }
}

SignalQuitter::~SignalQuitter()
{
    for (int handled : HandledSignals) {
        signal(handled, SIG_DFL);
    }
    for (int& fd : signalPipe) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
}

void SignalQuitter::handle(int signalNumber)
{
    // Only async-signal-safe work here.
    if (signalsSeen++ > 0) {
        _exit(128 + signalNumber);  // asked twice: no more waiting
    }
    const char byte = static_cast<char>(signalNumber);
    if (write(signalPipe[1], &byte, 1) < 0) {
    }
}

void SignalQuitter::readSignal()
{
    char byte = 0;
    while (read(signalPipe[0], &byte, 1) == 1) {
    }
    if (m_signalled) {
        return;
    }
    m_signalled = true;
    const int signalNumber = static_cast<unsigned char>(byte);
    std::thread([signalNumber] {
        std::this_thread::sleep_for(std::chrono::milliseconds(GraceMilliseconds));
        _exit(128 + signalNumber);
    }).detach();
    if (m_quit) {
        m_quit();
    }
}
