#include "service/SongFiles.h"

namespace quorvel {

namespace {

bool cannotStandInFileName(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\';
}

// The link's last path segment, without query or fragment.
Text lastPathSegment(const Text& link) {
    Text path = link.substr(0, link.find_first_of("?#"));
    auto scheme = path.find("://");
    if (scheme != Text::npos) path = path.substr(scheme + 3);
    auto slash = path.find('/');
    if (slash == Text::npos) return {}; // a bare host has no file name
    return path.substr(path.rfind('/') + 1);
}

} // namespace

Text safeFileName(const Text& name) {
    Text safe = name;
    for (size_t i = 0; i < safe.size(); ++i) {
        auto c = static_cast<unsigned char>(safe[i]);
        if (c >= 0x80)
            ++i; // lead byte: its trail byte may be 0x5C and is not a separator
        else if (cannotStandInFileName(c))
            safe[i] = '_';
    }
    return safe;
}

Text lyricsFilePath(const Text& directory, const Text& songName) {
    return directory + "/" + safeFileName(songName) + ".lrc.txt";
}

Text songFileName(const Text& songName, const Text& link) {
    Text segment = lastPathSegment(link);
    if (songName.empty()) return safeFileName(segment);
    auto dot = segment.rfind('.');
    Text extension = dot == Text::npos ? Text() : segment.substr(dot);
    return safeFileName(songName + extension);
}

} // namespace quorvel
