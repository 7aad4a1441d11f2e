// Program entry.
#include <QApplication>
#include <QTimer>

#include "app/AppHooks.h"
#include "app/Program.h"

namespace {

// Switches for tests and benchmarks: run without the update check (it reaches the network),
// and end as soon as the main window is shown.
void applyTestSwitches() {
    if (qEnvironmentVariableIsSet("QUORVEL_SKIP_UPDATE_CHECK"))
        quorvel::appHooks().checkForUpdate = nullptr;
    if (qEnvironmentVariableIsSet("QUORVEL_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); }); // runs once the loop runs
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    applyTestSwitches();
    return quorvel::runProgram();
}
