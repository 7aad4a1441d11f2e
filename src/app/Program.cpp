#include "app/Program.h"

#include <QApplication>
#include <chrono>

#include "app/QtToolkit.h"
#include "app/Startup.h"
#include "service/AppState.h"

namespace quorvel {

namespace {
// Workers get this long to notice their cancellation at program end.
constexpr std::chrono::milliseconds workerGrace{2000};
} // namespace

int runProgram() {
    createAppState();
    QtToolkit windows(onMainWindowCreated);
    installToolkit(&windows);
    windows.loadWindow(WindowId::Main, std::nullopt, false);
    int exitCode = QApplication::exec();
    windows.shutDown(workerGrace); // no handler runs any more, and the workers have stopped
    releaseAppState();
    installToolkit(nullptr);
    return exitCode;
}

} // namespace quorvel
