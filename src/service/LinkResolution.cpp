#include "service/LinkResolution.h"

#include <cmath>

#include "app/toolkit/Toolkit.h"
#include "service/AppState.h"
#include "service/Endpoints.h"
#include "text/CodePage.h"
#include "text/EscapeDecoding.h"
#include "text/GbkLiteral.h"
#include "text/TextBetween.h"
#include "web/FetchWinInet.h"
#include "json/JsonDocument.h"

namespace quorvel {

namespace {

Text playDataUrl(const Text& hash) {
    return concat(Text("http://"), playHost(), Text("/yy/index.php?r=play/getdata&hash="), hash);
}

// x rounded to two decimals, halves away from zero; a hair is added so that values such as
// 1.005 that the binary form holds just below the half still round up.
double roundToHundredths(double x) {
    if (x == 0) return 0;
    const double scaled = std::fabs(x) * 100 + 1e-12;
    double whole = std::floor(scaled);
    if (scaled - whole >= 0.5) whole += 1;
    return std::copysign(whole / 100, x);
}

// Reads the details into song. decodeAll reads every text decoded; otherwise only the album
// picture is, as the escape-decoded answer needs.
void readDetails(const JsonDocument& document, bool decodeAll, ResolvedSong& song) {
    auto read = [&](const char* path, bool decode) {
        return document.getValue(path, nullptr, nullptr, decode || decodeAll);
    };
    song.durationText = toText(toInt(read("data.timelength", false)) / 60000.0);
    song.sizeText = toText(roundToHundredths(toInt(read("data.filesize", false)) / 1048576.0));
    song.songName = read("data.audio_name", false);
    song.albumName = read("data.album_name", false);
    song.albumImage = read("data.img", true);
    song.bitRate = read("data.bitrate", false);
}

void storeDetails(const ResolvedSong& song) {
    AppState& state = appState();
    state.durationText = song.durationText;
    state.sizeText = song.sizeText;
    state.songName = song.songName;
    state.albumName = song.albumName;
    state.albumImage = song.albumImage;
    state.bitRate = song.bitRate;
}

void writeSummary(const ResolvedSong& song) {
    toolkit().writeText(WindowId::Result, ControlId::InfoBox, Text());
    for (const Text& line : summaryLines(song))
        toolkit().appendText(WindowId::Result, ControlId::InfoBox, line);
}

} // namespace

Text fetchServiceText(const Text& url) {
    WebRequest request;
    request.url = url;
    request.method = 0;
    request.cookies = Text(); // an empty jar: the platform's cookie store stays out of it
    return utf8BytesToText(fetchWinInet(request));
}

Text fetchDecodedText(const Text& url) {
    return decodeEscapes(fetchServiceText(url));
}

std::vector<Text> summaryLines(const ResolvedSong& song) {
    return {concat("时长："_gbk, song.durationText, Text(" min\r\n")),
            concat("大小："_gbk, song.sizeText, Text(" MB\r\n")),
            concat("歌曲名："_gbk, song.songName, Text("\r\n")),
            concat("所属专辑："_gbk, song.albumName, Text("\r\n")),
            concat("专辑图片："_gbk, song.albumImage, Text("\r\n")),
            concat("音质："_gbk, song.bitRate, Text(" k"))};
}

Text fetchPlayData(const Text& hash) {
    return fetchServiceText(playDataUrl(hash));
}

ResolvedSong readPlayData(const Text& answer) {
    // The escape decoding of fetchDecodedText, done here: the undecoded answer is the fallback's
    // source.
    const Text decoded = decodeEscapes(answer);
    JsonDocument document;
    document.parse(decoded);
    ResolvedSong song;
    song.downloadLink = document.getValue("data.play_url", nullptr, nullptr, true);
    // Decoding the whole answer can unbalance it (an escaped quote in the lyrics); the undecoded
    // answer still holds the link then, and its texts are read decoded.
    JsonDocument undecoded;
    const bool useUndecoded = song.downloadLink.empty();
    if (useUndecoded) {
        undecoded.parse(answer);
        song.downloadLink = undecoded.getValue("data.play_url", nullptr, nullptr, true);
    }
    if (song.downloadLink.empty()) return song;
    readDetails(useUndecoded ? undecoded : document, useUndecoded, song);
    song.lyricsText = textBetween(decoded, "lyrics\":\"", "\"");
    return song;
}

void resolveLink(const Text& hash) {
    const ResolvedSong song = readPlayData(fetchPlayData(hash));
    AppState& state = appState();
    state.downloadLink = song.downloadLink;
    if (state.downloadLink.empty()) {
        toolkit().messageBox("啊哦，出现错误了！！！"_gbk);
        return;
    }
    toolkit().loadWindow(WindowId::Result, WindowId::Main, false);
    storeDetails(song);
    writeSummary(song);
    state.lyricsText = song.lyricsText;
}

} // namespace quorvel
