#pragma once
// The answers the web tests' servers give, by request path.
#include "support/Gzipped.h"
#include "support/TestHttpServer.h"

namespace quorvel::test {

// A body of n bytes with a repeating pattern.
Bytes patternBody(std::size_t n);

constexpr std::size_t largeBodySize = 5u << 20;

// /echo, /set-cookie, /redirect, /final, /file-redirect, /loop, /status/404, /status/500,
// /empty, /big-headers, /large, /endless, /stall, /gzip, /not-gzip.
TestReply webRoute(const RecordedRequest& request);

} // namespace quorvel::test
