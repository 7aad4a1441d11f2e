// Escape decoding of arbitrary answers: no crash, no read past the end, and never a NUL inside
// a result text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "text/EscapeDecoding.h"

using namespace quorvel;

namespace {

void requireNoNul(const Text& t) {
    if (t.find('\0') != Text::npos) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text input = textInBytes(Bytes(data, data + size));
    requireNoNul(decodeEscapes(input));
    requireNoNul(unescapeScriptLiteral(input));
    requireNoNul(decodePercentU(input));
    (void)textAfterLast(input, "%u");
    (void)hexValue(input.substr(0, 8));
    return 0;
}
