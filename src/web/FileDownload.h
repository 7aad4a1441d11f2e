#pragma once
// Streaming download of an http or https address into a file. The body goes to a ".part" file
// beside the target, which takes the target's name only once the transfer is complete; on
// failure or cancellation the ".part" file is removed and the target is left untouched.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "text/Text.h"

namespace quorvel {

struct DownloadProgress {
    std::int64_t doneBytes = 0;
    std::int64_t totalBytes = -1; // -1 while the size is unknown
    double bytesPerSecond = 0;
};

struct DownloadResult {
    bool ok = false;
    bool cancelled = false;
    Text reason; // why it failed (GBK), empty on success and on cancellation
};

// The ".part" file a download into targetPath writes first.
std::string partFilePath(const std::string& targetPath);
// Downloads url into targetPath (a file-system path). progress is called on the calling thread
// now and then; setting cancel aborts the transfer within about a second.
DownloadResult downloadFile(const Text& url, const std::string& targetPath,
                            const std::function<void(const DownloadProgress&)>& progress,
                            const std::atomic<bool>& cancel);

} // namespace quorvel
