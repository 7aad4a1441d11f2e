#pragma once

namespace quorvel {

// The main window's creation event: ends this copy when another one runs, else starts the
// update check on a thread of its own.
void onMainWindowCreated();

} // namespace quorvel
