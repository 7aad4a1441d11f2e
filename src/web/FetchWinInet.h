#pragma once
#include "web/WebRequest.h"

namespace quorvel {

// One HTTP or HTTPS request through the internet-session layer; the body, or empty Bytes.
Bytes fetchWinInet(WebRequest& request);

} // namespace quorvel
