#pragma once
// Test data in gzip form, compressed with zlib; for tests, benchmarks and fuzz targets.
#include <zlib.h>

#include "text/Text.h"

namespace quorvel::test {

// plain as one gzip member at zlib's default level; empty Bytes if zlib fails.
inline Bytes gzipped(const Bytes& plain) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    Bytes out(deflateBound(&stream, plain.size()));
    stream.next_in = const_cast<Bytes::value_type*>(plain.data());
    stream.avail_in = static_cast<uInt>(plain.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const bool finished = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return finished ? out : Bytes();
}

inline Bytes gzipped(const Text& text) {
    return gzipped(toBytes(text));
}

} // namespace quorvel::test
