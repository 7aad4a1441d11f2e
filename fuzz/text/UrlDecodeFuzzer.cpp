// urlDecode never grows its input or lets a NUL in, and undoes urlEncode.
#include <cstdlib>

#include "text/UrlCodec.h"

using namespace quorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text t = textInBytes(Bytes(data, data + size));
    const Text decoded = urlDecode(t);
    if (decoded.size() > t.size() || decoded.find('\0') != Text::npos) std::abort();
    if (urlDecode(t, true).find('\0') != Text::npos) std::abort();
    if (urlDecode(urlEncode(t)) != t || urlDecode(urlEncode(t, true)) != t) std::abort();
    return 0;
}
