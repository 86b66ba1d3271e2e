// Ostrel's entry point: the model, the application object, the key and
// mouse event source and the main window, created in this order and
// destroyed in the reverse one.
//
//   ostrel [--help] [--version] [--midi-api=alsa|jack] [project-file]
#include <QStringList>

#include <cstdio>
#include <memory>

#include "CApplication.h"
#include "CommandLine.h"
#include "CursorBlinkRest.h"
#include "MainWindow.h"
#include "MidiClient.h"
#include "MonitorLog.h"
#include "NativeEventFilter.h"
#include "OstrelModel.h"
#include "ProjectController.h"
#include "SignalQuitter.h"

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; i++) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const CommandLine line = CommandLine::parse(arguments);
    if (line.action == CommandLine::Exit) {
        std::fputs(line.output.toLocal8Bit().constData(), line.exitCode == 0 ? stdout : stderr);
        return line.exitCode;
    }
    Q_INIT_RESOURCE(ostrel);
    auto model = std::make_unique<OstrelModel>();
    auto application = std::make_unique<CApplication>(argc, argv);
    // Desktops match windows to the installed entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ostrel.ostrel"));
    auto filter = std::make_unique<NativeEventFilter>();
    application->installEventFilter(filter.get());
    auto cursorRest = std::make_unique<CursorBlinkRest>();
    auto mainWindow = std::make_unique<MainWindow>(nullptr, model.get(), line.api);
    filter->setTarget(mainWindow.get());

    auto quitter = std::make_unique<SignalQuitter>([window = mainWindow.get()] { window->project()->quitOnSignal(); });

    application->setFileOpenHandler([window = mainWindow.get()](const QString& path) {
        window->showNormal();
        window->project()->openFile(path);
    });
    mainWindow->show();
    mainWindow->project()->offerRecovery();
    // A project named on the command line opens once the window is shown;
    // a failure is said on stderr as well as in the box.
    if (!mainWindow->project()->isQuitting() && !line.projectPath.isEmpty() &&
        !mainWindow->project()->openFile(line.projectPath) && !mainWindow->project()->lastError().isEmpty()) {
        // One line: the reason, when there is one, in brackets.
        QString error = mainWindow->project()->lastError();
        const int reasonStart = error.indexOf(QLatin1Char('\n'));
        if (reasonStart >= 0) {
            error = error.left(reasonStart) + QStringLiteral(" (") + error.mid(reasonStart + 1) + QLatin1Char(')');
        }
        std::fprintf(stderr, "ostrel: %s: %s\n", line.projectPath.toLocal8Bit().constData(),
                     error.toLocal8Bit().constData());
    }
    // A signal answered in a dialog before the main loop ran has quit already.
    const int exitCode = mainWindow->project()->isQuitting() ? 0 : application->exec();

    application->setFileOpenHandler(nullptr);
    filter->setTarget(nullptr);
    Q_CLEANUP_RESOURCE(ostrel);
    quitter.reset();
    mainWindow.reset();
    // Logs switched off or closed with their windows finish writing.
    MonitorLog::waitForClosedLogs();
    cursorRest.reset();
    filter.reset();
    application.reset();
    model.reset();
    return exitCode;
}
