#pragma once
// The service functions the windows call, replaceable so tests can hand in their own.
#include <functional>

#include "text/Text.h"

namespace quorvel {

struct AppHooks {
    std::function<void()> runSearch;                   // body of a search thread
    std::function<void(const Text& hash)> resolveLink; // a menu item's resolution
    std::function<void()> checkForUpdate; // body of the update-check thread; empty: none
};

// The hooks in use; they start out as the real service functions.
AppHooks& appHooks();

} // namespace quorvel
