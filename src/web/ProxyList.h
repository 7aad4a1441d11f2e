#pragma once
#include "text/Text.h"

namespace quorvel {

// The proxy server a proxy list names for one scheme, or "" for a direct connection. Entries
// are separated by spaces or ";"; "http=host:port" serves only that scheme, a bare
// "host:port" serves every scheme, and a scheme's own entry wins over a bare one.
Text proxyForScheme(const Text& proxyList, bool https);

} // namespace quorvel
