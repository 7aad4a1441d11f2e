// decompress never exceeds its output limit and gives back what zlib compressed. The first
// byte chooses whether the rest is a body to decode or plain data to compress first.
#include <cstdlib>

#include <zlib.h>

#include "text/GzipCodec.h"

using namespace quorvel;

namespace {

Bytes gzipped(const Bytes& plain) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        std::abort();
    Bytes out(deflateBound(&stream, plain.size()));
    stream.next_in = const_cast<Bytes::value_type*>(plain.data());
    stream.avail_in = static_cast<uInt>(plain.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) std::abort();
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const GzipCodec codec;
    if (size == 0) return 0;
    const Bytes rest(data + 1, data + size);
    if (data[0] & 1) {
        if (codec.decompress(rest).size() > GzipCodec::maxOutputBytes) std::abort();
    } else if (codec.decompress(gzipped(rest)) != rest) {
        std::abort();
    }
    return 0;
}
