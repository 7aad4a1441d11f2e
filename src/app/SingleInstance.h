#pragma once
#include <string>

#include "text/Text.h"

namespace quorvel {

// The single-instance lock's name.
inline const Text instanceMutexName = "dozidUZ:Kestrom";

// The lock file that stands for the named lock in the user's runtime directory.
std::string instanceLockPath(const Text& name);
// Takes the named lock, waiting at most 100 ms. True when this copy may run; false when another
// living copy holds it (the lock of a copy that died is free again).
bool ensureSingleInstance(const Text& name);

} // namespace quorvel
