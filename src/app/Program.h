#pragma once

namespace quorvel {

// The program's run once its QApplication exists: builds the global state, shows the main
// window, runs the event loop, and runs the exit clean-up once at the end, whichever way the
// program ends (window closed, another copy running, the update check). Returns the exit code.
int runProgram();

} // namespace quorvel
