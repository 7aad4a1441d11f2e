#pragma once
// Pieces of an address. Tolerant: an address without a scheme is taken as http, nothing is
// rejected. Hosts come back in lower case; paths keep their case.
#include "text/Text.h"

namespace quorvel {

// The address with "http://" in front when it holds neither "http://" nor "https://" anywhere.
Text normaliseUrl(const Text& url);
// Whether the address starts with "https://" in any case.
bool isHttpsUrl(const Text& url);
// Whether the address starts with "http://" or "https://" in any case.
bool isWebAddress(const Text& url);
// The host in lower case, with its ":port" when keepPort is set.
Text urlHost(const Text& url, bool keepPort);
// The explicit port (its leading digits; 0 when none), else 443 for https and 80 otherwise.
int urlPort(const Text& url);
// The path with query and fragment as written, or "/".
Text urlPath(const Text& url);

} // namespace quorvel
