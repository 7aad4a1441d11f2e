#include "service/AppState.h"

#include <atomic>

#include "web/WebRequest.h"

namespace quorvel {

namespace {
std::atomic<bool> released{false};
}

AppState& appState() {
    static AppState state;
    return state;
}

void createAppState() {
    AppState& s = appState();
    s.gzipCodec = std::make_unique<GzipCodec>();
    setSharedGzipCodec(s.gzipCodec.get());
    released = false;
}

void releaseAppState() {
    if (released.exchange(true)) return;
    AppState& s = appState();
    for (Text* t : {&s.downloadLink, &s.durationText, &s.sizeText, &s.songName, &s.albumName,
                    &s.albumImage, &s.bitRate, &s.lyricsText})
        Text().swap(*t);
    setSharedGzipCodec(nullptr);
    s.gzipCodec.reset();
}

} // namespace quorvel
