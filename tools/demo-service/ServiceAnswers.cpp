#include "ServiceAnswers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "Catalogue.h"

namespace quorvel::demo {

namespace {

std::string lowerAscii(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Decodes one UTF-8 sequence at s[i], moving i past it; a bad byte stands for itself.
char32_t nextCodePoint(const std::string& s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i++]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 0; k < extra && i < s.size(); ++k)
        code = (code << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return code;
}

std::string unicodeEscape(char32_t unit) {
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(unit));
    return text;
}

// A JSON string body with "\/" for slashes; asciiOnly writes every other character as \u
// escapes (surrogate pairs above the basic plane).
std::string jsonString(const std::string& s, bool asciiOnly) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            const std::size_t start = i;
            const char32_t code = nextCodePoint(s, i);
            if (!asciiOnly) {
                out.append(s, start, i - start);
            } else if (code > 0xFFFF) {
                out += unicodeEscape(0xD800 + ((code - 0x10000) >> 10));
                out += unicodeEscape(0xDC00 + ((code - 0x10000) & 0x3FF));
            } else {
                out += unicodeEscape(code);
            }
            continue;
        }
        ++i;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '/':
            out += "\\/";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// name with "<em>" and "</em>" around the first match of keyword.
std::string highlight(const std::string& name, const std::string& keyword) {
    const std::size_t at = lowerAscii(name).find(lowerAscii(keyword));
    if (keyword.empty() || at == std::string::npos) return name;
    return name.substr(0, at) + "<em>" + name.substr(at, keyword.size()) + "</em>" +
           name.substr(at + keyword.size());
}

// The service writes a percent sign of a file name as "%25".
std::string percentEscaped(const std::string& s) {
    std::string out;
    for (char c : s)
        out += c == '%' ? std::string("%25") : std::string(1, c);
    return out;
}

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string hitJson(const Song& song, const std::string& keyword, int ownerCount) {
    const std::string fileName =
        jsonString(percentEscaped(highlight(song.fileName(), keyword)), false);
    const std::string songName = jsonString(highlight(song.title, keyword), false);
    auto hash = [](const std::optional<SongFile>& f) { return f ? f->hash : std::string(); };
    auto size = [](const std::optional<SongFile>& f) { return f ? f->size : 0; };
    return "{\"SongName\":" + quoted(songName) + ",\"OwnerCount\":" + std::to_string(ownerCount) +
           ",\"MvType\":2,\"TopicRemark\":\"\",\"SQFailProcess\":4,\"Source\":\"\",\"Bitrate\":128,"
           "\"HQExtName\":\"mp3\",\"SQFileSize\":" +
           std::to_string(size(song.lossless)) +
           ",\"ResFailProcess\":4,\"SQFileHash\":" + quoted(hash(song.lossless)) +
           ",\"FileName\":" + quoted(fileName) +
           ",\"HQFileSize\":" + std::to_string(size(song.high)) +
           ",\"Privilege\":8,\"SingerName\":" + quoted(jsonString(song.singer, false)) +
           ",\"ExtName\":\"mp3\",\"AlbumName\":" + quoted(jsonString(song.album, false)) +
           ",\"Duration\":" + std::to_string(song.durationMs / 1000) +
           ",\"FileSize\":" + std::to_string(song.standard.size) +
           ",\"FileHash\":" + quoted(song.standard.hash) +
           ",\"HQFileHash\":" + quoted(hash(song.high)) + "}";
}

std::vector<const Song*> matchingSongs(const std::string& keyword) {
    std::vector<const Song*> hits;
    for (const Song& song : catalogue())
        if (lowerAscii(song.fileName()).find(lowerAscii(keyword)) != std::string::npos)
            hits.push_back(&song);
    return hits;
}

} // namespace

std::string searchAnswer(const std::string& keyword, const std::string& callback, int fillTo) {
    const std::vector<const Song*> songs = matchingSongs(keyword);
    const std::size_t count =
        songs.empty() ? 0 : std::max<std::size_t>(songs.size(), static_cast<std::size_t>(fillTo));
    std::string lists;
    for (std::size_t i = 0; i < count; ++i)
        lists +=
            (i ? "," : "") + hitJson(*songs[i % songs.size()], keyword, 1000 + static_cast<int>(i));
    return callback +
           "({\"status\":1,\"error_code\":0,\"data\":{\"page\":1,\"tab\":\"\","
           "\"correctiontype\":0,\"total\":" +
           std::to_string(count) +
           ",\"istagresult\":0,\"allowerr\":0,\"forcecorrection\":0,\"correctiontip\":\"\","
           "\"lists\":[" +
           lists + "]}})";
}

std::string playAnswer(const std::string& hash, const std::string& audioBase) {
    const FileMatch match = findFile(hash);
    if (!match.song)
        return "{\"status\":1,\"err_code\":0,\"data\":{\"hash\":\"\",\"timelength\":0,"
               "\"filesize\":0,\"audio_name\":\"\",\"play_url\":\"\",\"bitrate\":0}}";
    const Song& song = *match.song;
    auto text = [](const std::string& s) { return quoted(jsonString(s, true)); };
    return "{\"status\":1,\"err_code\":0,\"data\":{\"hash\":" + quoted(hash) +
           ",\"timelength\":" + std::to_string(song.durationMs) +
           ",\"filesize\":" + std::to_string(match.file->size) +
           ",\"audio_name\":" + text(song.fileName()) +
           ",\"have_album\":1,\"album_name\":" + text(song.album) +
           ",\"img\":" + text(audioBase + "/images/" + hash + ".jpg") +
           ",\"author_name\":" + text(song.singer) + ",\"song_name\":" + text(song.title) +
           ",\"lyrics\":" + text(song.lyrics) +
           ",\"privilege\":8,\"play_url\":" + text(audioBase + "/audio/" + hash + ".mp3") +
           ",\"authors\":[{\"author_name\":" + text(song.singer) +
           "}],\"bitrate\":" + std::to_string(match.file->bitrate) + "}}";
}

} // namespace quorvel::demo
