// Program entry: builds the global state, shows the main window, runs the event loop, and runs
// the exit clean-up once, whichever way the program ends.
#include <QApplication>
#include <QTimer>
#include <chrono>

#include "app/AppHooks.h"
#include "app/QtToolkit.h"
#include "app/Startup.h"
#include "service/AppState.h"

namespace {

// Workers get this long to notice their cancellation at program end.
constexpr std::chrono::milliseconds workerGrace{2000};

// Switches for tests and benchmarks: run without the update check (it reaches the network),
// and end as soon as the main window is shown.
void applyTestSwitches() {
    if (qEnvironmentVariableIsSet("QUORVEL_SKIP_UPDATE_CHECK"))
        quorvel::appHooks().checkForUpdate = nullptr;
    if (qEnvironmentVariableIsSet("QUORVEL_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
}

} // namespace

int main(int argc, char** argv) {
    using namespace quorvel;
    QApplication app(argc, argv);
    createAppState();
    int exitCode = 0;
    {
        QtToolkit windows(onMainWindowCreated);
        installToolkit(&windows);
        windows.loadWindow(WindowId::Main, std::nullopt, false);
        applyTestSwitches();
        exitCode = app.exec();
        windows.shutDown(workerGrace);
        releaseAppState();
        installToolkit(nullptr);
    }
    return exitCode;
}
