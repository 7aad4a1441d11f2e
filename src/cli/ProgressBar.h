#pragma once
// The download progress line that quorvel-cli draws on standard error when it is a terminal.
#include <cstdint>
#include <cstdio>
#include <string>

#include "web/FileDownload.h"

namespace quorvel {

// A byte count for people: "512 B", "1.5 KB", "3.7 MB", "1.2 GB".
std::string sizeText(std::int64_t bytes);
// Seconds as "m:ss", or "h:mm:ss" from an hour on.
std::string durationText(std::int64_t seconds);
// "[#####.....]  45%  1.8 MB / 4.0 MB  512.0 KB/s  0:04 left"; size and speed only while the
// total is unknown.
std::string progressLine(const DownloadProgress& progress);

// Redraws one line of stream in place, when drawing is on.
class ProgressBar {
  public:
    ProgressBar(std::FILE* stream, bool drawing);
    void show(const DownloadProgress& progress);
    // Ends the line, if anything was drawn.
    void finish();

  private:
    std::FILE* stream_;
    bool drawing_;
    size_t drawnWidth_ = 0;
};

} // namespace quorvel
