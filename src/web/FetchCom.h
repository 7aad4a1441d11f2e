#pragma once
#include "web/WebRequest.h"

namespace quorvel {

// One HTTP or HTTPS request through an HTTP request object; the body, or empty Bytes.
Bytes fetchCom(WebRequest& request);

} // namespace quorvel
