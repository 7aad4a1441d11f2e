#include "Catalogue.h"

#include <cstdio>

namespace quorvel::demo {

namespace {

std::uint64_t mix(std::uint64_t x) {
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A stable 32-digit hash for a song's file of one quality.
std::string fileHash(const std::string& name, char quality) {
    std::uint64_t a = 1469598103934665603ull, b = 1099511628211ull * 31;
    for (unsigned char c : name + quality) {
        a = (a ^ c) * 1099511628211ull;
        b = (b ^ c) * 6364136223846793005ull + 1442695040888963407ull;
    }
    char text[33];
    std::snprintf(text, sizeof text, "%016llX%016llX", static_cast<unsigned long long>(mix(a)),
                  static_cast<unsigned long long>(mix(b)));
    return text;
}

struct Entry {
    const char* singer;
    const char* title;
    const char* album;
    int durationMs;
    std::int64_t size;
    bool hasHigh;
    bool hasLossless;
    const char* lyricLines; // lines separated by "|"
};

// Lyrics are the demo's own placeholder lines.
const Entry entries[] = {
    {"周杰伦", "晴天", "叶惠美", 245000, 3923456, true, true,
     "[00:00.00]周杰伦 - 晴天|[00:29.34]演示歌词第一句|[00:32.53]演示歌词第二句"},
    {"林俊杰", "晴天", "新地球", 241000, 3856000, true, false,
     "[00:00.00]林俊杰 - 晴天|[00:20.00]演示歌词"},
    {"Taylor Swift", "Love Story", "Fearless", 235000, 3760000, true, true,
     "[00:00.00]Taylor Swift - Love Story|[00:10.00]It's a demo line|[00:15.00]Another one"},
    {"群星", "100% 晴天", "合辑", 200000, 3200000, false, false,
     "[00:00.00]群星 - 100% 晴天|[00:05.00]百分之百的演示"},
    {"五月天", "突然好想你", "后青春期的诗", 265000, 4240000, true, true,
     "[00:00.00]五月天 - 突然好想你|[00:12.00]演示歌词"},
    {"陈奕迅", "十年", "黑白灰", 240000, 3840000, true, true,
     "[00:00.00]陈奕迅 - 十年|[00:18.00]演示歌词"},
    {"Adele", "Hello", "25", 295000, 4720000, true, false,
     "[00:00.00]Adele - Hello|[00:08.00]Hello, demo"},
    {"邓紫棋", "光年之外", "光年之外", 235000, 3760000, true, true,
     "[00:00.00]邓紫棋 - 光年之外|[00:16.00]演示歌词"},
    {"Beyond", "海阔天空", "乐与怒", 326000, 5216000, true, true,
     "[00:00.00]Beyond - 海阔天空|[00:21.00]演示歌词"},
    {"Queen", "Demo Rhapsody", "A Night at the Demo", 355000, 0, true, true,
     "[00:00.00]Queen - Demo Rhapsody|[00:01.00]Is this the \"}}\" line?|[00:05.00]Or "
     "just a demo"},
    {"王菲", "红豆", "唱游", 258000, 4128000, false, true,
     "[00:00.00]王菲 - 红豆|[00:25.00]演示歌词"},
    {"周杰伦", "Mojito", "Mojito", 185000, 2960000, true, false,
     "[00:00.00]周杰伦 - Mojito|[00:11.00]麻烦给我的爱加一点 demo"},
};

std::string lyricsOf(const char* lines) {
    std::string text = "\xEF\xBB\xBF"; // the service's lyrics begin with a byte-order mark
    for (const char* c = lines; *c; ++c)
        text += *c == '|' ? std::string("\r\n") : std::string(1, *c);
    return text + "\r\n";
}

Song makeSong(const Entry& e) {
    Song song{e.singer, e.title, e.album, e.durationMs, lyricsOf(e.lyricLines), {}, {}, {}};
    const std::string name = song.fileName();
    song.standard = {fileHash(name, 'S'), e.size, 128};
    if (e.hasHigh) song.high = SongFile{fileHash(name, 'H'), e.size * 5 / 2, 320};
    if (e.hasLossless) song.lossless = SongFile{fileHash(name, 'L'), e.size * 8, 1411};
    return song;
}

} // namespace

const std::vector<Song>& catalogue() {
    static const std::vector<Song> songs = [] {
        std::vector<Song> list;
        for (const Entry& e : entries)
            list.push_back(makeSong(e));
        return list;
    }();
    return songs;
}

FileMatch findFile(const std::string& hash) {
    if (hash.empty()) return {};
    for (const Song& song : catalogue())
        for (const SongFile* file : {&song.standard, song.high ? &*song.high : nullptr,
                                     song.lossless ? &*song.lossless : nullptr})
            if (file && file->hash == hash) return {&song, file};
    return {};
}

} // namespace quorvel::demo
