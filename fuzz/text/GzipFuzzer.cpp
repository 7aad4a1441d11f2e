// decompress never exceeds its output limit and gives back what zlib compressed. The first
// byte chooses whether the rest is a body to decode or plain data to compress first.
#include <cstdlib>

#include "support/Gzipped.h"
#include "text/GzipCodec.h"

using namespace quorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const GzipCodec codec;
    if (size == 0) return 0;
    const Bytes rest(data + 1, data + size);
    if (data[0] & 1) {
        if (codec.decompress(rest).size() > GzipCodec::maxOutputBytes) std::abort();
    } else {
        const Bytes packed = test::gzipped(rest);
        if (packed.empty() || codec.decompress(packed) != rest) std::abort();
    }
    return 0;
}
