// Ostrel's entry point: the model, the application object, the key and
// mouse event source and the main window, created in this order and
// destroyed in the reverse one.
//
//   ostrel [--midi-api=alsa|jack] [project-file]
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>

#include "CApplication.h"
#include "MainWindow.h"
#include "MidiClient.h"
#include "NativeEventFilter.h"
#include "OstrelModel.h"
#include "ProjectController.h"
#include "SignalQuitter.h"

namespace {

// Reads and removes --midi-api=...; false for a value that is neither.
bool takeMidiApi(int& argc, char** argv, MidiApi& api)
{
    const char* const option = "--midi-api=";
    int kept = 0;
    bool valid = true;
    for (int i = 0; i < argc; i++) {
        if (std::strncmp(argv[i], option, std::strlen(option)) == 0) {
            const char* value = argv[i] + std::strlen(option);
            if (std::strcmp(value, "alsa") == 0) {
                api = MidiApi::Alsa;
            } else if (std::strcmp(value, "jack") == 0) {
                api = MidiApi::Jack;
            } else {
                valid = false;
            }
            continue;
        }
        argv[kept++] = argv[i];
    }
    argc = kept;
    return valid;
}

}  // namespace

int main(int argc, char** argv)
{
    MidiApi api = MidiApi::Automatic;
    if (!takeMidiApi(argc, argv, api)) {
        std::fprintf(stderr, "ostrel: --midi-api takes alsa or jack\n");
        return 2;
    }
    Q_INIT_RESOURCE(ostrel);
    auto model = std::make_unique<OstrelModel>();
    auto application = std::make_unique<CApplication>(argc, argv);
    auto filter = std::make_unique<NativeEventFilter>();
    application->installEventFilter(filter.get());
    auto mainWindow = std::make_unique<MainWindow>(nullptr, model.get(), api);
    filter->setTarget(mainWindow.get());

    auto quitter = std::make_unique<SignalQuitter>([window = mainWindow.get()] { window->project()->quitOnSignal(); });

    application->setFileOpenHandler([window = mainWindow.get()](const QString& path) {
        window->showNormal();
        window->project()->openFile(path);
    });
    mainWindow->show();
    mainWindow->project()->offerRecovery();
    // One optional argument: a project file to open once the window is shown.
    const QStringList arguments = QCoreApplication::arguments();
    if (!mainWindow->project()->isQuitting() && arguments.size() >= 2 && !arguments.at(1).isEmpty()) {
        mainWindow->project()->openFile(arguments.at(1));
    }
    // A signal answered in a dialog before the main loop ran has quit already.
    const int exitCode = mainWindow->project()->isQuitting() ? 0 : application->exec();

    application->setFileOpenHandler(nullptr);
    filter->setTarget(nullptr);
    Q_CLEANUP_RESOURCE(ostrel);
    quitter.reset();
    mainWindow.reset();
    filter.reset();
    application.reset();
    model.reset();
    return exitCode;
}
