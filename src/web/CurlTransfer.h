#pragma once
// One HTTP exchange over libcurl with the rules both request layers share: only http and https,
// no header of libcurl's own beyond Host and Content-Length, texts sent as their bytes, bounded
// redirects, a size limit on the body, timeouts, and a stop as soon as the calling worker is
// cancelled.
#include <cstddef>
#include <optional>
#include <vector>

#include "text/Text.h"

namespace quorvel {

// How long a transfer waits to connect, and how long it waits while no byte moves either way.
struct TransferTimeouts {
    long connectMs = 60000;
    long idleMs = 30000;
};

// The timeouts new sessions and request objects start with; tests shorten them.
TransferTimeouts defaultTransferTimeouts();
void setDefaultTransferTimeouts(TransferTimeouts timeouts);

// A response body that grows past this fails the transfer and is dropped.
constexpr std::size_t maxResponseBytes = std::size_t{64} << 20;
// Redirects followed at most.
constexpr long maxRedirects = 10;

struct TransferRequest {
    Text verb = "GET";
    Text url;
    bool http10 = false;
    std::vector<Text> headerLines; // "Name: value", sent in this order
    std::optional<Bytes> body;     // none: no body and no Content-Length
    Text userAgent;                // empty: no User-Agent line beyond the caller's
    Text proxy;                    // host:port of an http proxy, empty for a direct connection
    Text proxyUser;
    Text proxyPassword;
    Text serverUser;
    Text serverPassword;
    bool followRedirects = true;
    bool redirectToHttp = true; // a redirect may lead to plain http; https always, nothing else
    bool sharedCookies = false; // use and fill the process-wide cookie store
    bool verifyPeer = true;
    bool verifyHost = true;
    TransferTimeouts timeouts = defaultTransferTimeouts();
};

struct TransferResponse {
    bool completed = false;
    int status = 0;
    Text headerBlock; // the final response's status line and header lines, each ending in CR LF,
                      // then the empty line
    Bytes body;       // empty unless completed
};

// Performs the exchange, blocking the calling thread.
TransferResponse performTransfer(const TransferRequest& request);

} // namespace quorvel
