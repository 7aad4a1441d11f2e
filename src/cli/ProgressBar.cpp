#include "cli/ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

constexpr int barWidth = 20;

std::string formatted(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string bar(double fraction) {
    const int filled = static_cast<int>(fraction * barWidth);
    std::string text = "[";
    text.append(filled, '#').append(barWidth - filled, '.') += ']';
    return text;
}

std::string timeLeft(const DownloadProgress& p) {
    if (p.bytesPerSecond <= 0) return "--:-- left";
    const double seconds = static_cast<double>(p.totalBytes - p.doneBytes) / p.bytesPerSecond;
    return durationText(static_cast<std::int64_t>(std::ceil(seconds))) + " left";
}

} // namespace

std::string sizeText(std::int64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " B";
    const char* units[] = {"KB", "MB", "GB"};
    double value = static_cast<double>(bytes);
    int unit = -1;
    while (value >= 1024 && unit < 2) {
        value /= 1024;
        ++unit;
    }
    return formatted("%.1f ", value) + units[unit];
}

std::string durationText(std::int64_t seconds) {
    char text[32];
    if (seconds >= 3600)
        std::snprintf(
            text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
            static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return text;
}

std::string progressLine(const DownloadProgress& p) {
    const std::string speed = sizeText(static_cast<std::int64_t>(p.bytesPerSecond)) + "/s";
    if (p.totalBytes <= 0) return sizeText(p.doneBytes) + "  " + speed;
    const double fraction = std::min(1.0, static_cast<double>(p.doneBytes) / p.totalBytes);
    return bar(fraction) + formatted(" %3.0f%%", std::floor(fraction * 100)) + "  " +
           sizeText(p.doneBytes) + " / " + sizeText(p.totalBytes) + "  " + speed + "  " +
           timeLeft(p);
}

ProgressBar::ProgressBar(std::FILE* stream, bool drawing) : stream_(stream), drawing_(drawing) {}

void ProgressBar::show(const DownloadProgress& progress) {
    if (!drawing_) return;
    std::string line = progressLine(progress);
    const size_t width = line.size();
    if (width < drawnWidth_) line += std::string(drawnWidth_ - width, ' '); // rub out the rest
    drawnWidth_ = width;
    std::fprintf(stream_, "\r%s", line.c_str());
    std::fflush(stream_);
}

void ProgressBar::finish() {
    if (drawnWidth_ == 0) return;
    std::fputc('\n', stream_);
    std::fflush(stream_);
    drawnWidth_ = 0;
}

} // namespace quorvel
