// textBetween gives a piece of the text that lies after the front marker and before the back
// marker. The input holds text, front marker and back marker separated by NUL bytes.
#include <cstdlib>

#include "text/TextBetween.h"

#include "text/GbkLiteral.h"

using namespace quorvel;

namespace {

Text nextPart(const std::uint8_t*& data, const std::uint8_t* end) {
    const std::uint8_t* start = data;
    while (data < end && *data != 0)
        ++data;
    Text part(start, data);
    if (data < end) ++data;
    return part;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* end = data + size;
    const Text text = nextPart(data, end);
    const Text front = nextPart(data, end);
    const Text back = nextPart(data, end);
    const int start = data < end ? static_cast<int>(*data) - 8 : 0;
    for (bool noCase : {false, true}) {
        const Text value = textBetween(text, front, back, start, noCase);
        if (value.empty()) continue;
        const Text frontMarker = replace(front, "#引号"_gbk, "\"");
        const int frontAt = find(text, frontMarker, start, noCase);
        if (frontAt < 1) std::abort();
        if (text.compare(frontAt - 1 + frontMarker.size(), value.size(), value) != 0) std::abort();
    }
    return 0;
}
