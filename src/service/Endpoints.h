#pragma once
// The addresses of the outside endpoints: build-time settings that the environment variables
// QUORVEL_SEARCH_HOST, QUORVEL_PLAY_HOST (host or host:port) and QUORVEL_UPDATE_URL (a full URL)
// override, so a test or a demo can point the program at a local service.
#include "text/Text.h"

namespace quorvel {

// The song-search host, as host or host:port.
Text searchHost();
// The play-data host, as host or host:port.
Text playHost();
// The full URL of the update page.
Text updatePageUrl();
// Where a new version is downloaded from when the update page names no usable address.
const Text& fallbackDownloadUrl();

} // namespace quorvel
