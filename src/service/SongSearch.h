#pragma once
#include <vector>

#include "text/Text.h"

namespace quorvel {

// One hit of a song search: the cleaned file name and the three file hashes (GBK).
struct SearchHit {
    Text fileName;
    Text fileHash;   // 128K
    Text hqFileHash; // HQ (320K)
    Text sqFileHash; // SQ (lossless)
};

// The song-search answer for a GBK keyword, as it came (UTF-8); empty when the fetch failed.
Text fetchSearchAnswer(const Text& keyword);
// The hits of a search answer, in its order; none when it holds no hit list.
std::vector<SearchHit> searchHits(const Text& answer);
// The search thread's body: asks the song-search endpoint for the keyword box's text and fills
// the hit list. Writes nothing once the calling thread's cancel token is cancelled.
void runSearch();

} // namespace quorvel
