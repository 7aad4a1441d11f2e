#include "text/GzipCodec.h"

#include <algorithm>
#include <climits>

#include <zlib.h>

namespace quorvel {

namespace {

// zlib accepts only a gzip header and trailer with this window setting.
constexpr int gzipOnlyWindowBits = 16 + MAX_WBITS;
constexpr std::size_t firstOutputSize = 16 * 1024;

// An inflate stream that ends itself.
class Inflater {
  public:
    Inflater() { ready_ = inflateInit2(&stream_, gzipOnlyWindowBits) == Z_OK; }
    ~Inflater() {
        if (ready_) inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

  private:
    z_stream stream_{};
    bool ready_ = false;
};

} // namespace

GzipCodec::GzipCodec() : loaded_(true) {}

Bytes GzipCodec::decompress(const Bytes& body) const {
    Inflater inflater;
    if (!loaded_ || body.empty() || !inflater.ready()) return {};
    z_stream& stream = inflater.stream();
    // The input is never written; zlib's interface just lacks the const.
    stream.next_in = const_cast<Bytes::value_type*>(body.data());
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(body.size(), UINT_MAX));
    // One byte more than the limit, so that passing it is seen without writing further.
    const std::size_t outputLimit = maxOutputBytes + 1;
    Bytes out(std::min(std::max(firstOutputSize, body.size() * 4), outputLimit));
    std::size_t produced = 0;
    for (;;) {
        if (produced == out.size()) out.resize(std::min(out.size() * 2, outputLimit));
        stream.next_out = out.data() + produced;
        stream.avail_out = static_cast<uInt>(out.size() - produced);
        int status = inflate(&stream, Z_NO_FLUSH);
        produced = out.size() - stream.avail_out;
        if (produced > maxOutputBytes) return {};
        // A member ended: the next one, if any input is left, starts a fresh gzip stream.
        if (status == Z_STREAM_END && stream.avail_in > 0 && inflateReset(&stream) == Z_OK)
            continue;
        // Anything but progress ends decoding: the stream's end, a corrupt point, or input cut
        // short; what was decoded up to there is the result.
        if (status != Z_OK) break;
    }
    out.resize(produced);
    return out;
}

} // namespace quorvel
