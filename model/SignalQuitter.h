// Ends the program when the process receives SIGTERM, SIGINT or SIGHUP (a
// session ending, Ctrl+C in a terminal, the terminal closing), whatever
// dialog is open: the handler only writes to a pipe, and the user-interface
// thread, reading it, calls the quit function given. Should ending take
// longer than GraceMilliseconds (a stuck device, say), a watchdog thread
// ends the process; a second signal ends it at once.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class SignalQuitter : public QObject {
    Q_OBJECT

public:
    static constexpr int GraceMilliseconds = 1500;

    explicit SignalQuitter(std::function<void()> quit);
    ~SignalQuitter() override;

    // A signal arrived (and the quit function was called).
    bool signalled() const { return m_signalled; }

private:
    static void handle(int signal);
    void readSignal();

    std::function<void()> m_quit;
    QSocketNotifier* m_notifier = nullptr;
    bool m_signalled = false;
};
