// Closes the main window when the process receives SIGTERM or SIGINT (a
// session ending, Ctrl+C in a terminal), as if the user had closed it: the
// signal handler only writes to a pipe; the user-interface thread reads it.
#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

class SignalQuitter : public QObject {
    Q_OBJECT

public:
    explicit SignalQuitter(QWidget* window);
    ~SignalQuitter() override;

private:
    static void handle(int signal);
    void readSignal();

    QPointer<QWidget> m_window;
    QSocketNotifier* m_notifier = nullptr;
};
