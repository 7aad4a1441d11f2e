// The download progress line of quorvel-cli.
#include <gtest/gtest.h>

#include "cli/ProgressBar.h"

namespace quorvel {
namespace {

TEST(ProgressBarTest, progressLineShowsPercentSizeSpeedAndTimeLeft) {
    struct Case {
        DownloadProgress progress;
        std::string line;
    };
    const Case cases[] = {
        {{0, 4 << 20, 0}, "[....................]   0%  0 B / 4.0 MB  0 B/s  --:-- left"},
        {{1 << 20, 4 << 20, 512 * 1024},
         "[#####...............]  25%  1.0 MB / 4.0 MB  512.0 KB/s  0:06 left"},
        {{999, 1000, 1}, "[###################.]  99%  999 B / 1000 B  1 B/s  0:01 left"},
        {{4 << 20, 4 << 20, 1 << 20},
         "[####################] 100%  4.0 MB / 4.0 MB  1.0 MB/s  0:00 left"},
        {{100, 10000, 1}, "[....................]   1%  100 B / 9.8 KB  1 B/s  2:45:00 left"},
        {{std::int64_t{3} << 30, -1, 1536}, "3.0 GB  1.5 KB/s"}, // the size is unknown
    };
    for (const Case& c : cases)
        EXPECT_EQ(progressLine(c.progress), c.line);
}

} // namespace
} // namespace quorvel
