#pragma once

namespace quorvel {

// The search thread's body: asks the song-search endpoint for the keyword box's text and fills
// the hit list. Writes nothing once the calling thread's cancel token is cancelled.
void runSearch();

} // namespace quorvel
