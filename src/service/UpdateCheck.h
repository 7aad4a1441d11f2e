#pragma once
#include "text/Text.h"

namespace quorvel {

// The program's own version.
const Text& currentVersion();
// The update-check thread's body: reads the update page, reports a failed check, or announces a
// new version, offers its download address and ends the program.
void checkForUpdate();

} // namespace quorvel
