#pragma once
#include "text/Text.h"

namespace quorvel {

// What a play-data answer tells of one file (GBK); downloadLink is empty when it holds no link.
struct ResolvedSong {
    Text downloadLink; // play URL, escapes decoded
    Text durationText; // minutes
    Text sizeText;     // MB, two decimals
    Text songName;
    Text albumName;
    Text albumImage;
    Text bitRate;
    Text lyricsText;
};

} // namespace quorvel
