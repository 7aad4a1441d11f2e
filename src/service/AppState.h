#pragma once
// The program's global state: what the last link resolution found, the process-wide gzip codec,
// and the running search. Read and written on the UI thread only (the codec on any thread).
#include <memory>

#include "app/toolkit/Toolkit.h"
#include "service/ResolvedSong.h"
#include "text/GzipCodec.h"
#include "text/Text.h"

namespace quorvel {

// The texts are those of the song resolved last.
struct AppState : ResolvedSong {
    std::unique_ptr<GzipCodec> gzipCodec;
    // The cancel token of the search the search button started last.
    std::shared_ptr<CancelToken> searchThread;
};

// The one AppState of the process.
AppState& appState();
// Builds the gzip codec and hands it to the fetchers; runs once at program start.
void createAppState();
// Frees the eight texts and destroys the codec; runs once at program end (later calls do
// nothing).
void releaseAppState();

} // namespace quorvel
