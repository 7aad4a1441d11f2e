#include "app/Startup.h"

#include "app/AppHooks.h"
#include "app/SingleInstance.h"
#include "app/toolkit/Toolkit.h"

namespace quorvel {

void onMainWindowCreated() {
    if (!ensureSingleInstance(instanceMutexName)) {
        toolkit().endProgram(0); // another copy runs: end quietly
        return;
    }
    if (appHooks().checkForUpdate) toolkit().startThread(appHooks().checkForUpdate, nullptr);
}

} // namespace quorvel
