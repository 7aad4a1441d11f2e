#pragma once
#include <vector>

#include "service/ResolvedSong.h"
#include "text/Text.h"

namespace quorvel {

// The play-data answer for a file hash, converted to GBK with its escapes not yet decoded;
// empty when the fetch failed.
Text fetchPlayData(const Text& hash);
// Reads the link, the details and the lyrics out of a play-data answer from fetchPlayData.
ResolvedSong readPlayData(const Text& answer);
// The six lines of a resolution's summary as the result window shows them, each but the last
// ended by CR LF.
std::vector<Text> summaryLines(const ResolvedSong& song);
// Resolves one file hash into the download link and details in AppState, and shows them in the
// result window, or shows the error message. Runs on the UI thread.
void resolveLink(const Text& hash);
// The URL's body, fetched with the service's request options and converted from UTF-8 to GBK.
Text fetchServiceText(const Text& url);
// fetchServiceText followed by decodeEscapes.
Text fetchDecodedText(const Text& url);

} // namespace quorvel
