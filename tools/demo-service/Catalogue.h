#pragma once
// The demo service's songs. Texts are UTF-8, as the real service keeps them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::demo {

enum class Quality { Standard, High, Lossless };

struct SongFile {
    std::string hash; // 32 upper-case hexadecimal digits
    std::int64_t size = 0;
    int bitrate = 0; // kbit/s
};

struct Song {
    std::string singer;
    std::string title;
    std::string album;
    int durationMs = 0;
    std::string lyrics; // LRC lines ended by CR LF
    SongFile standard;
    std::optional<SongFile> high;
    std::optional<SongFile> lossless;

    // "singer - title", the service's FileName before highlighting.
    std::string fileName() const { return singer + " - " + title; }
};

struct FileMatch {
    const Song* song = nullptr;
    const SongFile* file = nullptr;
};

// The dozen songs, in a fixed order.
const std::vector<Song>& catalogue();
// The song and file that a hash names; song is null for an unknown hash.
FileMatch findFile(const std::string& hash);

} // namespace quorvel::demo
