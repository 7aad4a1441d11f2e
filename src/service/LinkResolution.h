#pragma once
#include "text/Text.h"

namespace quorvel {

// Resolves one file hash into the download link and details in AppState, and shows them in the
// result window, or shows the error message. Runs on the UI thread.
void resolveLink(const Text& hash);
// The URL's body, fetched with the service's request options and converted from UTF-8 to GBK.
Text fetchServiceText(const Text& url);
// fetchServiceText followed by decodeEscapes.
Text fetchDecodedText(const Text& url);

} // namespace quorvel
