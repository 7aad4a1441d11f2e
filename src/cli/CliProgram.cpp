#include "cli/CliProgram.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

#include "cli/CommandLine.h"
#include "cli/HitTable.h"
#include "cli/InterruptCatcher.h"
#include "cli/ProgressBar.h"
#include "service/Endpoints.h"
#include "service/LinkResolution.h"
#include "service/SongFiles.h"
#include "service/SongSearch.h"
#include "service/UpdateCheck.h"
#include "text/CodePage.h"
#include "text/GbkLiteral.h"
#include "web/FileDownload.h"
#include "web/WebRequest.h"

namespace quorvel {

namespace {

constexpr int exitDone = 0;
constexpr int exitNothing = 1;
constexpr int exitUsage = 2;
constexpr int exitFailure = 3;

int fail(int status, const std::string& reason) {
    std::cerr << "quorvel-cli: " << reason << '\n';
    return status;
}

int usageError(const ParsedCommandLine& parsed) {
    const std::string command = commandName(parsed.request.command);
    const std::string help = command.empty() ? "--help" : command + " --help";
    return fail(exitUsage, parsed.error + " (see 'quorvel-cli " + help + "')");
}

int noAnswer(const Text& host) {
    return fail(exitFailure, "no answer from the music service at " + gbkToUtf8(host));
}

// The hits for a UTF-8 keyword, sent as the windowed program sends its GBK keyword box.
int findHits(const std::string& keyword, std::vector<SearchHit>& hits) {
    const Text answer = fetchSearchAnswer(utf8ToGbk(keyword));
    if (answer.empty()) return noAnswer(searchHost());
    hits = searchHits(answer);
    if (hits.empty()) return fail(exitNothing, "nothing found for '" + keyword + "'");
    return exitDone;
}

int resolveHash(const Text& hash, ResolvedSong& song) {
    const Text answer = fetchPlayData(hash);
    if (answer.empty()) return noAnswer(playHost());
    song = readPlayData(answer);
    if (!song.downloadLink.empty()) return exitDone;
    std::cerr << gbkToUtf8("啊哦，出现错误了！！！"_gbk) << '\n';
    return exitNothing;
}

int writeLyrics(const std::string& path, const Text& lyrics) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(lyrics.data(), 1, lyrics.size(), file) == lyrics.size();
    if (file && std::fclose(file) != 0) written = false;
    if (written) return exitDone;
    return fail(exitFailure, "cannot write the lyrics to " + path + ": " + std::strerror(errno));
}

Text hashAt(const SearchHit& hit, Quality quality) {
    switch (quality) {
    case Quality::High:
        return hit.hqFileHash;
    case Quality::Lossless:
        return hit.sqFileHash;
    default:
        return hit.fileHash;
    }
}

// output itself, or the song's file name inside the folder output names (the current folder
// when empty).
std::string downloadTarget(const ResolvedSong& song, const std::string& output,
                           bool outputIsFolder) {
    std::string name = gbkToUtf8(songFileName(song.songName, song.downloadLink));
    if (name.empty()) name = "song";
    if (output.empty()) return name;
    if (outputIsFolder || std::filesystem::is_directory(output))
        return (std::filesystem::path(output) / name).string();
    return output;
}

int downloadSong(const ResolvedSong& song, const std::string& output, bool outputIsFolder) {
    const std::string target = downloadTarget(song, output, outputIsFolder);
    ProgressBar bar(stderr, isatty(STDERR_FILENO));
    InterruptCatcher catcher;
    const DownloadResult result = downloadFile(
        song.downloadLink, target, [&](const DownloadProgress& p) { bar.show(p); },
        catcher.interrupted());
    bar.finish();
    if (result.cancelled) return fail(catcher.exitStatus(), "download interrupted");
    if (!result.ok) return fail(exitFailure, gbkToUtf8(result.reason) + " (" + target + ")");
    std::cout << target << '\n';
    return exitDone;
}

int search(const CliRequest& request) {
    std::vector<SearchHit> hits;
    if (int status = findHits(request.argument, hits)) return status;
    std::cout << (request.tsv ? hitTsv(hits) : hitTable(hits));
    return exitDone;
}

int resolve(const CliRequest& request) {
    ResolvedSong song;
    if (int status = resolveHash(utf8ToGbk(request.argument), song)) return status;
    Text summary;
    for (const Text& line : summaryLines(song))
        summary += line;
    std::cout << gbkToUtf8(replace(summary, "\r\n", "\n")) << '\n'
              << gbkToUtf8(song.downloadLink) << '\n';
    std::cout.flush();
    if (request.lyricsFile.empty()) return exitDone;
    return writeLyrics(request.lyricsFile, song.lyricsText);
}

int download(const CliRequest& request) {
    ResolvedSong song;
    if (int status = resolveHash(utf8ToGbk(request.argument), song)) return status;
    return downloadSong(song, request.output, false);
}

int get(const CliRequest& request) {
    std::vector<SearchHit> hits;
    if (int status = findHits(request.argument, hits)) return status;
    if (static_cast<size_t>(request.pick) > hits.size())
        return fail(exitNothing, "no hit " + std::to_string(request.pick) + ": the search found " +
                                     std::to_string(hits.size()));
    ResolvedSong song;
    if (int status = resolveHash(hashAt(hits[request.pick - 1], request.quality), song))
        return status;
    return downloadSong(song, request.output, true);
}

int runCommand(const CliRequest& request) {
    switch (request.command) {
    case Command::Search:
        return search(request);
    case Command::Resolve:
        return resolve(request);
    case Command::Download:
        return download(request);
    case Command::Get:
        return get(request);
    default:
        return exitUsage;
    }
}

} // namespace

int runCli(const std::vector<std::string>& args) {
    const ParsedCommandLine parsed = parseCommandLine(args);
    const CliRequest& request = parsed.request;
    if (!parsed.error.empty()) return usageError(parsed);
    if (request.version) {
        std::cout << gbkToUtf8(currentVersion()) << '\n';
        return exitDone;
    }
    if (request.help) {
        std::cout << usageText(request.command);
        return exitDone;
    }
    GzipCodec codec; // the fetchers decode gzip bodies with it, as in the windowed program
    setSharedGzipCodec(&codec);
    const int status = runCommand(request);
    setSharedGzipCodec(nullptr);
    return status;
}

} // namespace quorvel
