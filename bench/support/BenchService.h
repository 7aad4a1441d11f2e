#pragma once
// The demo service the service benchmarks run against, on loopback in the same process.
#include <string>

#include "DemoService.h"

namespace quorvel {

// Started on first use; answers every search with 40 hits, and the program's endpoints point
// at it.
demo::DemoService& benchService();

// The address a search for "晴" fetches.
std::string searchUrl();

// The address a resolution of hash fetches.
std::string playDataUrl(const std::string& hash);

} // namespace quorvel
